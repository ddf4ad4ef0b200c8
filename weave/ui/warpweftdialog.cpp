#include "weave/ui/warpweftdialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/numberedit.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/ui/captionwidth.h"
#include "weave/weavedialogrules.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMessageBox>
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

TFrmWarpWeft::TFrmWarpWeft(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(GetUiString(UiKey::WeaveWarpWeft::Caption));
    ShowMessage = [this](const QString &text) {
        QMessageBox::information(this, GetUiString(UiKey::WeaveWarpWeft::Message_Caption), text);
    };
    EdtWarp = sizeBox(QStringLiteral("EdtWarp"), this);
    EdtWeft = sizeBox(QStringLiteral("EdtWeft"), this);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::WeaveWarpWeft::Warps), EdtWarp);
    form->addRow(GetUiString(UiKey::WeaveWarpWeft::Wefts), EdtWeft);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
}

void TFrmWarpWeft::accept()
{
    if (!ReadTileWeaveSize(EdtWarp->text(), EdtWeft->text(), m_warps, m_wefts)) {
        ShowMessage(GetUiString(UiKey::WeaveWarpWeft::Size_Range));
        return;
    }
    QDialog::accept();
}
