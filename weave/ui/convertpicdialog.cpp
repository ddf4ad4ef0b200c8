#include "weave/ui/convertpicdialog.h"

#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "weave/ui/ovwdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

TFrmConvertPic::TFrmConvertPic(QWidget *owner, const QImage &picture)
    : QDialog(owner)
    , m_picture(picture)
{
    setObjectName(QStringLiteral("FrmConvertPic"));
    setWindowTitle(GetUiString(UiKey::MainMenu::Convert_Weave));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    ShowMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ConvertHint), text);
    };
    AskWeaveFile
        = [](QWidget *parent, const QString &folder) { return TOvwDialog::GetWeaveFileName(parent, folder); };

    auto *layout = new QGridLayout(this);
    m_label = new QLabel(GetUiString(UiKey::TileWeave::Shading_Weave), this);
    layout->addWidget(m_label, 0, 0, 1, 2);
    EdtFileName = new QLineEdit(this);
    EdtFileName->setObjectName(QStringLiteral("EdtFileName"));
    EdtFileName->setMinimumWidth(280);
    layout->addWidget(EdtFileName, 1, 0);
    SbnOpenDlg = new QToolButton(this);
    SbnOpenDlg->setObjectName(QStringLiteral("SbnOpenDlg"));
    SbnOpenDlg->setText(QStringLiteral("..."));
    layout->addWidget(SbnOpenDlg, 1, 1);
    m_note = new QLabel(GetUiString(UiKey::TileWeave::Shading_Weave_Note), this);
    m_note->setWordWrap(true);
    layout->addWidget(m_note, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new QPushButton(GetUiString(UiKey::General::BtnOK), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons, 3, 0, 1, 2);

    connect(SbnOpenDlg, &QToolButton::clicked, this, [this] {
        const QString name = AskWeaveFile(this, Folders().WeaveDir);
        if (!name.isEmpty())
            EdtFileName->setText(name);
    });
    connect(Button1, &QPushButton::clicked, this, &TFrmConvertPic::accept);
    connect(Button2, &QPushButton::clicked, this, &TFrmConvertPic::reject); // Escape too

    m_specify.ReadColors(m_picture);
}

bool TFrmConvertPic::ConvertToWeave()
{
    const QString name = EdtFileName->text().trimmed();
    // An empty name would be reported as a file that does not exist, with no name in it.
    if (name.isEmpty()) {
        ShowMessage(GetUiMessage(UiKey::String::FileNameIsEmpty));
        return false;
    }
    QString error;
    if (!m_specify.LoadSelectedWeave(name, &error)) {
        ShowMessage(error);
        return false;
    }
    QImage result;
    if (!m_specify.IsShadingWeave() || !m_specify.ShadeColors(m_picture, result, &error)) {
        ShowMessage(GetUiMessage(UiKey::String::WeaveIsInCorrect));
        return false;
    }
    m_result = result;
    return true;
}

void TFrmConvertPic::accept()
{
    if (ConvertToWeave())
        QDialog::accept();
}
