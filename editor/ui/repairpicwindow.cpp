#include "editor/ui/repairpicwindow.h"

#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/ui/toolwindowkeys.h"
#include "editor/patterngrid.h"

#include <QAction>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>

namespace {
namespace Texts = UiKey::RemoveAssortedPoint;

QAction *newAction(QWidget *owner, const char *name, const QString &text)
{
    auto *action = new QAction(text, owner);
    action->setObjectName(QLatin1String(name));
    owner->addAction(action);
    return action;
}
} // namespace

TFrmRepairPic::TFrmRepairPic(TPatternGrid *grid, QObject *gridOwner, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_grid(grid)
    , m_gridOwner(gridOwner)
    , m_hasOwner(gridOwner != nullptr)
{
    setObjectName(QStringLiteral("FrmRepairPic"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GetUiString(Texts::Repair_Caption));
    SetHelpKey(this, THelpContext::RepairPicture);
    // The window's picture is the document's: it goes with the document.
    if (gridOwner)
        connect(gridOwner, &QObject::destroyed, this, &QWidget::close);

    auto *functions = new QGroupBox(GetUiString(Texts::Function_Hint), this);
    functions->setObjectName(QStringLiteral("RgpFunction"));
    auto *row = new QHBoxLayout(functions);
    m_function = new QButtonGroup(this);
    const std::array<QString, 3> items { GetUiString(Texts::Clear_Mottle), GetUiString(Texts::Repair),
        GetUiString(Texts::Clear_Thorn) };
    for (int i = 0; i < int(items.size()); ++i) {
        auto *button = new QRadioButton(items[std::size_t(i)], functions);
        button->setObjectName(QStringLiteral("RgpFunctionItem%1").arg(i));
        m_function->addButton(button, i);
        row->addWidget(button);
    }
    m_function->button(0)->setChecked(true);

    m_distance = new QSpinBox(this);
    m_distance->setObjectName(QStringLiteral("RdtDistance"));
    m_distance->setRange(MinRepairDistance, MaxRepairDistance);
    m_distance->setValue(2);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(Texts::Distance), m_distance);

    QAction *start = newAction(this, "ActStart", GetUiString(Texts::Start));
    QAction *clearMottle = newAction(this, "ActClearMottle", GetUiString(Texts::Clear_Mottle));
    QAction *repair = newAction(this, "ActRepair", GetUiString(Texts::Repair));
    QAction *clearThorn = newAction(this, "ActClearThorn", GetUiString(Texts::Clear_Thorn));
    QAction *closeAction = newAction(this, "ActClose", GetUiString(UiKey::General::BtnClose));
    closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(start, &QAction::triggered, this, [this] { Start(); });
    connect(clearMottle, &QAction::triggered, this, [this] { run(TRepairFunction::ClearMottle); });
    connect(repair, &QAction::triggered, this, [this] { run(TRepairFunction::Repair); });
    connect(clearThorn, &QAction::triggered, this, [this] { run(TRepairFunction::ClearThorn); });
    connect(closeAction, &QAction::triggered, this, &QWidget::close);

    auto *ok = new QPushButton(start->text(), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, start, &QAction::trigger);
    auto *close = new QPushButton(closeAction->text(), this);
    close->setObjectName(QStringLiteral("BtnClose"));
    connect(close, &QPushButton::clicked, closeAction, &QAction::trigger);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(functions);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

// A grid whose document closed is none.
TPatternGrid *TFrmRepairPic::Grid() const
{
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

TRepairFunction TFrmRepairPic::Function() const
{
    return TRepairFunction(std::max(0, m_function->checkedId()));
}

void TFrmRepairPic::SetFunction(TRepairFunction function)
{
    if (QAbstractButton *button = m_function->button(int(function)))
        button->setChecked(true);
}

int TFrmRepairPic::Distance() const
{
    return m_distance->value();
}

void TFrmRepairPic::SetDistance(int distance)
{
    m_distance->setValue(distance);
}

bool TFrmRepairPic::Start()
{
    return run(Function());
}

bool TFrmRepairPic::run(TRepairFunction function)
{
    TPatternGrid *grid = Grid();
    if (!grid)
        return false;
    RunPictureRepair(*grid, function, Distance());
    Q_EMIT applied();
    return true;
}

// Escape closes the window, whichever control has the focus; Enter starts.
void TFrmRepairPic::keyPressEvent(QKeyEvent *event)
{
    if (!HandleToolWindowKey(*this, *event, [this] { Start(); }))
        QWidget::keyPressEvent(event);
}
