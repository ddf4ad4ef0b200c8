#include "editor/ui/setpalettedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/titlewidth.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

// The caption keys of the two single-palette buttons by kind.
struct TKindCaptions {
    TUiMessageKey First, Second;
};
TKindCaptions kindCaptions(TPaletteChoiceKind kind)
{
    switch (kind) {
    case TPaletteChoiceKind::LeftRight:
        return { UiKey::String::CombineLeftPalette, UiKey::String::CombineRightPalette };
    case TPaletteChoiceKind::TopBottom:
        return { UiKey::String::CombineTopPalette, UiKey::String::CombineBottomPalette };
    case TPaletteChoiceKind::Paste:
        break;
    }
    return { UiKey::String::CombineOrgPicPalette, UiKey::String::CombineCopyPicPalette };
}

} // namespace

TFrmSetPalette::TFrmSetPalette(QWidget *owner, TPaletteChoiceKind kind)
    : QDialog(owner)
    , m_kind(kind)
{
    setObjectName(QStringLiteral("FrmSetPalette"));
    auto *layout = new QVBoxLayout(this);
    const std::array<std::pair<QRadioButton **, const char *>, 3> buttons { {
        { &m_combine, "RbnCombinePalette" },
        { &m_left, "RbnLeftPalette" },
        { &m_right, "RbnRightPalette" },
    } };
    for (const auto &[button, name] : buttons) {
        *button = new QRadioButton(this);
        (*button)->setObjectName(QString::fromLatin1(name));
        layout->addWidget(*button);
    }
    m_combine->setChecked(true);
    // Buttons of our own rather than standard ones: the box would give standard buttons
    // its own texts back on every language change.
    auto *box = new QDialogButtonBox(this);
    m_ok = box->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setDefault(true);
    m_cancel = box->addButton(QString(), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    ApplyLanguage();
}

void TFrmSetPalette::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::CombinePicture::Treat_Color_Palette));
    const TKindCaptions captions = kindCaptions(m_kind);
    m_combine->setText(GetUiMessage(UiKey::String::CombinePalette));
    m_left->setText(GetUiMessage(captions.First));
    m_right->setText(GetUiMessage(captions.Second));
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
    FitWidthToTitle(this);
}

void TFrmSetPalette::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QDialog::changeEvent(event);
}

TPaletteChoice TFrmSetPalette::Choice() const
{
    if (m_left->isChecked())
        return TPaletteChoice::First;
    if (m_right->isChecked())
        return TPaletteChoice::Second;
    return TPaletteChoice::Combine;
}

void TFrmSetPalette::SetChoice(TPaletteChoice choice)
{
    switch (choice) {
    case TPaletteChoice::First:
        m_left->setChecked(true);
        return;
    case TPaletteChoice::Second:
        m_right->setChecked(true);
        return;
    case TPaletteChoice::Combine:
        break;
    }
    m_combine->setChecked(true);
}

bool TDialogPaletteChoice::AskPaletteChoice(TPaletteChoiceKind kind, TPaletteChoice &choice)
{
    TFrmSetPalette dialog(m_owner, kind);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice = dialog.Choice();
    return true;
}
