#include "editor/ui/bordurewindow.h"

#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/ui/toolwindowkeys.h"
#include "editor/patterngrid.h"
#include "editor/ui/colorswatch.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// The names of the side controls, in the order of TFrmBordure's sides.
const char *const kCheckNames[] = { "Left_Bordure", "Right_Bordure", "Top_Bordure", "Bottom_Bordure" };
const char *const kLengthNames[] = { "RdtLeftLength", "RdtRightLength", "RdtTopLength", "RdtBottomLength" };
// The images by tag and their labels.
const char *const kImageNames[] = { "ImgBorderColor", "ImgBackgroud", "ImgForeGround" };
const char *const kLabelNames[] = { "Bordure_Color", "At", "Bordure_Hint" };
} // namespace

TFrmBordure::TFrmBordure(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmBordure"));
    setAttribute(Qt::WA_DeleteOnClose);
    SetHelpKey(this, THelpContext::Bordure);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildSides());
    layout->addWidget(buildColors());
    m_reset = new QPushButton(this);
    m_reset->setObjectName(QStringLiteral("Reset"));
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : { m_reset, m_ok, m_cancel })
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_reset, &QPushButton::clicked, this, &TFrmBordure::Reset);
    connect(m_ok, &QPushButton::clicked, this, &TFrmBordure::Ok);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);

    ReadBordureOption(m_option);
    const bool on[]
        = { m_option.LeftBordure, m_option.RightBordure, m_option.TopBordure, m_option.BottomBordure };
    const int length[]
        = { m_option.LeftLength, m_option.RightLength, m_option.TopLength, m_option.BottomLength };
    for (int i = 0; i < 4; ++i) {
        m_sides[i].Check->setChecked(on[i]);
        m_sides[i].Length->setValue(length[i]);
    }
    ApplyLanguage();
    ImgBorderColorClick(BorderTarget);
}

QGroupBox *TFrmBordure::buildSides()
{
    m_style = new QGroupBox(this);
    m_style->setObjectName(QStringLiteral("Bordure_Style"));
    auto *grid = new QGridLayout(m_style);
    for (int i = 0; i < 4; ++i) {
        TSideControls &s = m_sides[i];
        s.Check = new QCheckBox(m_style);
        s.Check->setObjectName(QString::fromLatin1(kCheckNames[i]));
        // Lengths of 0 draw nothing on the side; the pattern's widest extent is the most
        // that can matter.
        s.Length = new QSpinBox(m_style);
        s.Length->setObjectName(QString::fromLatin1(kLengthNames[i]));
        s.Length->setRange(0, 65535);
        grid->addWidget(s.Check, i / 2, (i % 2) * 2);
        grid->addWidget(s.Length, i / 2, (i % 2) * 2 + 1);
    }
    return m_style;
}

QWidget *TFrmBordure::buildColors()
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    // Read as a sentence: border colour ... at (background) ... around (foreground).
    for (int tag : { BorderTarget, BackgroundTarget, ForegroundTarget }) {
        m_labels[tag] = new QLabel(box);
        m_labels[tag]->setObjectName(QString::fromLatin1(kLabelNames[tag]));
        m_swatches[tag] = new TColorSwatch(QString::fromLatin1(kImageNames[tag]), box);
        row->addWidget(m_labels[tag]);
        row->addWidget(m_swatches[tag]);
        connect(m_swatches[tag], &TColorSwatch::clicked, this,
            [this, tag] { ImgBorderColorClick(TColorTarget(tag)); });
    }
    return box;
}

void TFrmBordure::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::General::Option));
    const QString section = QStringLiteral("Bordure");
    m_style->setTitle(GetUiString(section, m_style->objectName()));
    for (const TSideControls &s : m_sides)
        s.Check->setText(GetUiString(section, s.Check->objectName()));
    for (QLabel *label : m_labels)
        label->setText(GetUiString(section, label->objectName()));
    m_reset->setText(GetUiString(section, m_reset->objectName()));
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

void TFrmBordure::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    m_grid = grid;
    m_gridOwner = gridOwner;
    m_hasOwner = gridOwner != nullptr;
    showColors();
}

TPatternGrid *TFrmBordure::Grid() const
{
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

// Each image shows its index's colour in the palette of the grid worked on now.
void TFrmBordure::showColors()
{
    const TPatternGrid *grid = Grid();
    const std::uint8_t index[] = { m_colors.Border, m_colors.Background, m_colors.Foreground };
    for (int tag = 0; tag < 3; ++tag) {
        QColor color = Qt::black;
        if (grid) {
            const TPaletteEntry &e = grid->Palette()[index[tag]];
            color = QColor(e.Red, e.Green, e.Blue);
        }
        m_swatches[tag]->SetColor(color);
        m_swatches[tag]->SetTarget(tag == m_colorTarget);
    }
}

void TFrmBordure::ImgBorderColorClick(TColorTarget target)
{
    m_colorTarget = target;
    showColors();
}

void TFrmBordure::ColorPicked(int index)
{
    const auto value = std::uint8_t(index & 0xFF);
    switch (m_colorTarget) {
    case BorderTarget:
        m_colors.Border = value;
        break;
    case BackgroundTarget:
        m_colors.Background = value;
        break;
    case ForegroundTarget:
        m_colors.Foreground = value;
        break;
    }
    showColors();
}

TBordureOption TFrmBordure::Option() const
{
    TBordureOption o = m_option;
    o.LeftBordure = m_sides[0].Check->isChecked();
    o.RightBordure = m_sides[1].Check->isChecked();
    o.TopBordure = m_sides[2].Check->isChecked();
    o.BottomBordure = m_sides[3].Check->isChecked();
    o.LeftLength = m_sides[0].Length->value();
    o.RightLength = m_sides[1].Length->value();
    o.TopLength = m_sides[2].Length->value();
    o.BottomLength = m_sides[3].Length->value();
    return o;
}

void TFrmBordure::Reset()
{
    m_colors = TBordureColors();
    ImgBorderColorClick(BorderTarget);
}

void TFrmBordure::Ok()
{
    TPatternGrid *grid = Grid();
    if (!grid)
        return;
    // The grid's picture objects are taken anew at each OK: the grid replaces them.
    ApplyBordureToGrid(*grid, Option(), m_colors);
    Q_EMIT applied();
}

void TFrmBordure::closeEvent(QCloseEvent *event)
{
    WriteBordureOption(Option());
    QWidget::closeEvent(event);
}

void TFrmBordure::keyPressEvent(QKeyEvent *event)
{
    if (!HandleToolWindowKey(*this, *m_ok, *event))
        QWidget::keyPressEvent(event);
}

void TFrmBordure::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QWidget::changeEvent(event);
}
