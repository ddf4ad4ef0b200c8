#include "weave/ui/weavecombinedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/ui/captionwidth.h"
#include "weave/ui/radiogroup.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFrmWeaveCombine::TFrmWeaveCombine(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(GetUiString(UiKey::WeaveCombine::Caption));
    RadGrpPos = new TWeaveRadioGroup(QString(),
        { GetUiString(UiKey::WeaveCombine::Above), GetUiString(UiKey::WeaveCombine::Below),
            GetUiString(UiKey::WeaveCombine::Left), GetUiString(UiKey::WeaveCombine::Right),
            GetUiString(UiKey::WeaveCombine::Tile_All), GetUiString(UiKey::WeaveCombine::At_Block),
            GetUiString(UiKey::WeaveCombine::Tile_Block) },
        this);
    RadGrpPos->setObjectName(QStringLiteral("RadGrpPos"));
    RadGrpPos->SetItemIndex(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RadGrpPos);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
}

int TFrmWeaveCombine::ItemIndex() const
{
    return RadGrpPos->ItemIndex();
}
