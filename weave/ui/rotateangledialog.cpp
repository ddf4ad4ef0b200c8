#include "weave/ui/rotateangledialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/ui/captionwidth.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

TFrmRotateAngle::TFrmRotateAngle(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(GetUiString(UiKey::WeaveRotate::Caption));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({ GetUiString(UiKey::WeaveRotate::Angle_0), GetUiString(UiKey::WeaveRotate::Angle_90),
        GetUiString(UiKey::WeaveRotate::Angle_180), GetUiString(UiKey::WeaveRotate::Angle_270) });
    ComboBox1->setCurrentIndex(0);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::WeaveRotate::Angle), ComboBox1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
}

int TFrmRotateAngle::ItemIndex() const
{
    return ComboBox1->currentIndex();
}
