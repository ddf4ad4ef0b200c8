#include "weave/ui/newweavedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/numberedit.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/ui/captionwidth.h"
#include "weave/weavedialogrules.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace {

constexpr int InitialSide = 8;

TNumricEdit *sizeBox(const QString &name, QWidget *parent)
{
    auto *box = new TNumricEdit(parent);
    box->setObjectName(name);
    box->SetNumStyle(TNumStyle::nsInt);
    box->SetIntValue(InitialSide);
    return box;
}

} // namespace

TFrmNewWeave::TFrmNewWeave(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(GetUiString(UiKey::TileWeave::New_Weave));
    m_weave.SetCells(MakeWeaveArray(InitialSide, InitialSide), false);

    EdtPWWarp = sizeBox(QStringLiteral("EdtPWWarp"), this);
    EdtPWWeft = sizeBox(QStringLiteral("EdtPWWeft"), this);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::EditPattern::Warp), EdtPWWarp);
    form->addRow(GetUiString(UiKey::EditPattern::Weft), EdtPWWeft);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
}

// A size outside 1 to 1500, a blank or anything not a whole number keeps the dialog open.
void TFrmNewWeave::accept()
{
    int warps = 0, wefts = 0;
    if (!ReadNewWeaveSize(EdtPWWarp->text(), EdtPWWeft->text(), warps, wefts))
        return;
    m_weave.SetCells(MakeWeaveArray(warps, wefts), false);
    QDialog::accept();
}
