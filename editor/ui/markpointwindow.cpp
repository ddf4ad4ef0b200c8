#include "editor/ui/markpointwindow.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const char *const ModeNames[] = { "Del_Single_Point", "Search_Isolated_Point", "Search_Float", "Add_Point" };

// A count from 1 to 99 changed by its arrows only: the number cannot be typed.
QSpinBox *newCountBox(QWidget *parent, const char *name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(TMarkPointOptions::MinCount, TMarkPointOptions::MaxCount);
    box->setValue(1);
    if (auto *edit = box->findChild<QLineEdit *>()) {
        edit->setReadOnly(true);
        edit->setMaxLength(2);
    }
    return box;
}

} // namespace

TFrmMarkPoint::TFrmMarkPoint(QWidget *parent)
    : QWidget(parent,
        Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmMarkPoint"));
    m_showMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildModes());
    layout->addWidget(buildCounts());
    m_floatWay = buildRadioGroup("Float_Way", 2, m_floatWayItems);
    m_addWarps = buildRadioGroup("Select_Add_Point_Warps", 3, m_addWarpsItems);
    m_addWay = buildRadioGroup("Set_Add_Point_Way", 3, m_addWayItems);
    layout->addWidget(m_floatWay);
    layout->addWidget(m_addWarps);
    layout->addWidget(m_addWay);
    m_priorityUp = new QCheckBox(this);
    m_priorityUp->setObjectName(QStringLiteral("Priority_Add_Point_On_Top_Way"));
    layout->addWidget(m_priorityUp);

    auto *buttons = new QHBoxLayout;
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] { Run(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::hide);

    ApplyLanguage();
    m_modes[0]->setChecked(true);
    applyModeState();
    adjustSize();
}

TFrmMarkPoint::~TFrmMarkPoint() = default;

QWidget *TFrmMarkPoint::buildModes()
{
    auto *box = new QWidget(this);
    auto *row = new QGridLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto *group = new QButtonGroup(box);
    for (int i = 0; i < 4; ++i) {
        m_modes[std::size_t(i)] = new QRadioButton(box);
        m_modes[std::size_t(i)]->setObjectName(QLatin1String(ModeNames[i]));
        group->addButton(m_modes[std::size_t(i)], i);
        row->addWidget(m_modes[std::size_t(i)], i / 2, i % 2);
        connect(m_modes[std::size_t(i)], &QRadioButton::clicked, this,
            [this, i] { modeClicked(TMarkPointMode(i)); });
    }
    return box;
}

QGroupBox *TFrmMarkPoint::buildCounts()
{
    m_pointOption = new QGroupBox(this);
    m_pointOption->setObjectName(QStringLiteral("Point_Option"));
    auto *grid = new QGridLayout(m_pointOption);
    m_pointLabel = new QLabel(m_pointOption);
    m_pointLabel->setObjectName(QStringLiteral("Input_Single_Point_Count"));
    m_pointCount = newCountBox(m_pointOption, "RxPointCount");
    m_fillLabel = new QLabel(m_pointOption);
    m_fillLabel->setObjectName(QStringLiteral("Add_Point_Count"));
    m_fillCount = newCountBox(m_pointOption, "RxFillPointCount");
    m_pointLabel->setBuddy(m_pointCount);
    m_fillLabel->setBuddy(m_fillCount);
    grid->addWidget(m_pointLabel, 0, 0);
    grid->addWidget(m_pointCount, 0, 1);
    grid->addWidget(m_fillLabel, 1, 0);
    grid->addWidget(m_fillCount, 1, 1);
    return m_pointOption;
}

QGroupBox *TFrmMarkPoint::buildRadioGroup(const char *name, int items, std::array<QRadioButton *, 3> &buttons)
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QLatin1String(name));
    auto *row = new QHBoxLayout(box);
    for (int i = 0; i < items; ++i) {
        buttons[std::size_t(i)] = new QRadioButton(box);
        row->addWidget(buttons[std::size_t(i)]);
    }
    buttons[0]->setChecked(true);
    return box;
}

void TFrmMarkPoint::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::General::Option));
    const QString section = QStringLiteral("SearchOrAddPoint");
    for (QRadioButton *b : m_modes)
        b->setText(GetUiString(section, b->objectName()));
    for (QWidget *w : std::initializer_list<QWidget *> { m_pointOption, m_floatWay, m_addWarps, m_addWay })
        static_cast<QGroupBox *>(w)->setTitle(GetUiString(section, w->objectName()));
    m_priorityUp->setText(GetUiString(UiKey::SearchOrAddPoint::Priority_Add_Point_On_Top_Way));
    m_fillLabel->setText(GetUiString(UiKey::SearchOrAddPoint::Add_Point_Count));
    m_floatWayItems[0]->setText(GetUiString(UiKey::SearchOrAddPoint::Warp_Way));
    m_floatWayItems[1]->setText(GetUiString(UiKey::SearchOrAddPoint::Weft_Way));
    m_addWarpsItems[0]->setText(GetUiString(UiKey::SearchOrAddPoint::Odd_Warps));
    m_addWarpsItems[1]->setText(GetUiString(UiKey::SearchOrAddPoint::Even_Warps));
    m_addWarpsItems[2]->setText(GetUiString(UiKey::SearchOrAddPoint::All_Hint));
    m_addWayItems[0]->setText(GetUiString(UiKey::SearchOrAddPoint::Top_Hint));
    m_addWayItems[1]->setText(GetUiString(UiKey::SearchOrAddPoint::Bottom_Hint));
    m_addWayItems[2]->setText(GetUiString(UiKey::SearchOrAddPoint::Auto_Hint));
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
    applyPointLabel();
}

// The run-length label names what is looked for once a mode has been clicked; before, it
// keeps its own text.
void TFrmMarkPoint::applyPointLabel()
{
    if (!m_modeClicked)
        m_pointLabel->setText(GetUiString(UiKey::SearchOrAddPoint::Input_Single_Point_Count));
    else if (mode() == TMarkPointMode::SearchFloat)
        m_pointLabel->setText(GetUiString(UiKey::SearchOrAddPoint::Input_Float_Length));
    else
        m_pointLabel->setText(GetUiString(UiKey::SearchOrAddPoint::Input_Isolated_Point_Count));
}

void TFrmMarkPoint::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QWidget::changeEvent(event);
}

void TFrmMarkPoint::modeClicked(TMarkPointMode)
{
    m_modeClicked = true;
    applyModeState();
    applyPointLabel();
}

// Only the choices the mode reads are enabled; deleting single points looks for runs of 1.
void TFrmMarkPoint::applyModeState()
{
    const TMarkPointMode m = mode();
    const bool single = m == TMarkPointMode::DelSinglePoint;
    if (single)
        m_pointCount->setValue(1);
    m_pointLabel->setEnabled(!single);
    m_pointCount->setEnabled(!single);
    const bool adding = m == TMarkPointMode::AddPoint;
    for (QWidget *w :
        std::initializer_list<QWidget *> { m_fillLabel, m_fillCount, m_addWarps, m_addWay, m_priorityUp })
        w->setEnabled(adding);
    m_floatWay->setEnabled(m == TMarkPointMode::SearchFloat);
}

TMarkPointMode TFrmMarkPoint::mode() const
{
    for (std::size_t i = 0; i < m_modes.size(); ++i)
        if (m_modes[i]->isChecked())
            return TMarkPointMode(i);
    return TMarkPointMode::DelSinglePoint;
}

int TFrmMarkPoint::checkedItem(const std::array<QRadioButton *, 3> &buttons)
{
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] && buttons[i]->isChecked())
            return int(i);
    return 0;
}

TMarkPointOptions TFrmMarkPoint::Options() const
{
    TMarkPointOptions o;
    o.Mode = mode();
    o.PointCount = m_pointCount->value();
    o.FillPointCount = m_fillCount->value();
    o.FloatWay = TFloatWay(checkedItem(m_floatWayItems));
    o.AddWarps = TAddPointWarps(checkedItem(m_addWarpsItems));
    o.AddWay = TAddPointWay(checkedItem(m_addWayItems));
    o.PriorityUp = m_priorityUp->isChecked();
    return o;
}

void TFrmMarkPoint::SetOptions(const TMarkPointOptions &o)
{
    m_modes[std::size_t(o.Mode)]->setChecked(true);
    m_pointCount->setValue(o.PointCount);
    m_fillCount->setValue(o.FillPointCount);
    m_floatWayItems[std::size_t(o.FloatWay)]->setChecked(true);
    m_addWarpsItems[std::size_t(o.AddWarps)]->setChecked(true);
    m_addWayItems[std::size_t(o.AddWay)]->setChecked(true);
    m_priorityUp->setChecked(o.PriorityUp);
    modeClicked(o.Mode);
}

void TFrmMarkPoint::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    m_grid = grid;
    m_gridOwner = gridOwner;
    m_hasOwner = gridOwner != nullptr;
}

TPatternGrid *TFrmMarkPoint::Grid() const
{
    // The grid ends with its owner.
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

bool TFrmMarkPoint::Run()
{
    TPatternGrid *grid = Grid();
    if (!grid)
        return false;
    TMarkPointReport report;
    QString error;
    if (!MarkPoints(*grid, Options(), &report, &error)) {
        m_showMessage(error);
        return false;
    }
    if (report.ChangedCells > 0)
        Q_EMIT pointsMarked();
    return true;
}
