#include "weave/ui/weavelayersdialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/layersequence.h"
#include "weave/ui/captionwidth.h"
#include "weave/weave.h"
#include "weave/weavedialogrules.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

TFrmLayers::TFrmLayers(TWeave &weave, QWidget *parent)
    : QDialog(parent)
    , m_weave(weave)
{
    setWindowTitle(GetUiString(UiKey::WeaveLayers::Caption));
    EdtWarp = new QLineEdit(LayerSequenceToText(weave.WarpLayers()), this);
    EdtWarp->setObjectName(QStringLiteral("EdtWarp"));
    EdtWeft = new QLineEdit(LayerSequenceToText(weave.WeftLayers()), this);
    EdtWeft->setObjectName(QStringLiteral("EdtWeft"));
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::WeaveLayers::Warp_Layers), EdtWarp);
    form->addRow(GetUiString(UiKey::WeaveLayers::Weft_Layers), EdtWeft);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
    resize(360, sizeHint().height());
}

void TFrmLayers::accept()
{
    TIntegerArray warps, wefts;
    if (!ReadLayerSequence(EdtWarp->text(), warps) || !ReadLayerSequence(EdtWeft->text(), wefts))
        return;
    m_weave.SetLayers(warps, true);
    m_weave.SetLayers(wefts, false);
    QDialog::accept();
}
