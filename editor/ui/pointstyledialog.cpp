#include "editor/ui/pointstyledialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/ui/okcancelbuttons.h"
#include "core/ui/titlewidth.h"
#include "editor/patterngrid.h"

#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmSetPointStyle::TFrmSetPointStyle(TPatternGrid &grid, QWidget *parent)
    : QDialog(parent)
    , m_grid(grid)
{
    setObjectName(QStringLiteral("FrmSetPointStyle"));
    setWindowTitle(GetUiString(UiKey::SetPointStyle::Set_Single_Or_Double_Starting_Point));
    SetHelpKey(this, THelpContext::PointStyle);
    auto *layout = new QVBoxLayout(this);
    const std::array<std::pair<const char *, QString>, 3> items { {
        { "All_Valid", GetUiString(UiKey::SetPointStyle::All_Valid) },
        { "Single_Starting_Point_Valid", GetUiString(UiKey::SetPointStyle::Single_Starting_Point_Valid) },
        { "Double_Starting_Point_Valid", GetUiString(UiKey::SetPointStyle::Double_Starting_Point_Valid) },
    } };
    for (std::size_t i = 0; i < items.size(); ++i) {
        m_buttons[i] = new QRadioButton(items[i].second, this);
        m_buttons[i]->setObjectName(QLatin1String(items[i].first));
        layout->addWidget(m_buttons[i]);
    }
    layout->addWidget(NewOkCancelButtons(this));
    SetStyle(StyleOf(grid.PointStyle()));
    FitWidthToTitle(this);
}

std::array<std::uint8_t, 3> TFrmSetPointStyle::FlagsOf(TStyle style)
{
    switch (style) {
    case SingleValid:
        return { 1, 0, 0 };
    case DoubleValid:
        return { 0, 1, 0 };
    case AllValid:
        break;
    }
    return { 0, 0, 1 };
}

// A filter flag wins over the all-valid flag: it is what the recorder acts on.
TFrmSetPointStyle::TStyle TFrmSetPointStyle::StyleOf(const std::array<std::uint8_t, 3> &flags)
{
    if (flags[0])
        return SingleValid;
    if (flags[1])
        return DoubleValid;
    return AllValid;
}

TFrmSetPointStyle::TStyle TFrmSetPointStyle::Style() const
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->isChecked())
            return TStyle(i);
    return AllValid;
}

void TFrmSetPointStyle::SetStyle(TStyle style)
{
    m_buttons[std::size_t(style)]->setChecked(true);
}

void TFrmSetPointStyle::accept()
{
    m_grid.SetPointStyle(FlagsOf(Style()));
    QDialog::accept();
}
