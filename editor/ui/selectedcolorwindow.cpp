#include "editor/ui/selectedcolorwindow.h"

#include "core/base/toolid.h"
#include "core/palette/palette.h"
#include "core/ui/windowframe.h"
#include "editor/patterngrid.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int RowHeight = 20;
}

TFrmSelectedColor *TFrmSelectedColor::CreateWithGrid(TPatternGrid *grid, TMode mode, QWidget *owner)
{
    auto *window = new TFrmSelectedColor(grid, mode, owner);
    if (grid)
        grid->SetDrawTool(TToolId::AbsorbColor);
    return window;
}

TFrmSelectedColor::TFrmSelectedColor(TPatternGrid *grid, TMode mode, QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_grid(grid)
    , m_mode(mode)
{
    setObjectName(QStringLiteral("FrmSelectedColor"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *buttons = new QHBoxLayout;
    m_selected = new QPushButton(this);
    m_selected->setObjectName(QStringLiteral("Selected"));
    m_selected->setCheckable(true);
    m_reset = new QPushButton(this);
    m_reset->setObjectName(QStringLiteral("Reset_Two"));
    m_execute = new QPushButton(this);
    m_execute->setObjectName(QStringLiteral("BtnApply"));
    m_copyAll = new QPushButton(this);
    m_copyAll->setObjectName(QStringLiteral("BtnCopyAll"));
    for (QPushButton *b : { m_selected, m_reset, m_execute, m_copyAll })
        buttons->addWidget(b);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("DrdSelectedColor"));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_list);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_apply = new QAction(this);
    m_apply->setObjectName(QStringLiteral("ActApply"));
    m_apply->setShortcut(QKeySequence(Qt::Key_Backspace));
    m_apply->setShortcutContext(Qt::WindowShortcut);
    addAction(m_apply);
    connect(m_apply, &QAction::triggered, this, [this] { applyFromWindow(false); });
    connect(m_execute, &QPushButton::clicked, m_apply, &QAction::trigger);
    connect(m_copyAll, &QPushButton::clicked, this, [this] { applyFromWindow(true); });
    connect(m_reset, &QPushButton::clicked, this, &TFrmSelectedColor::Reset);
    connect(m_selected, &QPushButton::toggled, this, &TFrmSelectedColor::ApplyLanguage);
    ApplyLanguage();
    // The whole window, title bar included, at the top-left of the screen: a plain move
    // would put its inside there and the title bar above the screen, out of reach.
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        MoveFrameTo(this, screen->availableGeometry().topLeft(),
            WindowFrameMargins(owner ? owner->window() : nullptr));
}

void TFrmSelectedColor::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::SelectedColor::Selected));
    m_selected->setText(GetUiString(
        m_selected->isChecked() ? UiKey::SelectedColor::Ignored : UiKey::SelectedColor::Selected));
    m_reset->setText(GetUiString(UiKey::SelectedColor::Reset_Two));
    m_execute->setText(GetUiString(UiKey::SelectedColor::Execute));
    m_copyAll->setText(
        GetUiString(m_mode == TMode::Cut ? UiKey::SelectedColor::Cut_All : UiKey::SelectedColor::Copy_All));
}

void TFrmSelectedColor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QWidget::changeEvent(event);
}

void TFrmSelectedColor::Pick(int index)
{
    if (index < 0 || index > 255)
        return;
    const auto i = std::uint8_t(index);
    m_chosen.erase(std::remove(m_chosen.begin(), m_chosen.end(), i), m_chosen.end());
    m_chosen.push_back(i);
    refreshList();
}

bool TFrmSelectedColor::SelectedDown() const
{
    return m_selected->isChecked();
}

void TFrmSelectedColor::SetSelectedDown(bool down)
{
    m_selected->setChecked(down);
}

void TFrmSelectedColor::Reset()
{
    m_chosen.clear();
    refreshList();
}

// One row per picked colour, filled with it; the window grows with the list.
void TFrmSelectedColor::refreshList()
{
    m_list->clear();
    for (std::uint8_t i : m_chosen) {
        auto *item = new QListWidgetItem(QString::number(i), m_list);
        item->setBackground(m_grid ? ToQColor(GetPaletteColor(m_grid->Palette(), i)) : QColor(Qt::white));
        item->setForeground(Qt::transparent);
        item->setSizeHint(QSize(0, RowHeight));
    }
    m_list->setFixedHeight(int(m_chosen.size()) * RowHeight + 2 * m_list->frameWidth());
    m_list->setVisible(!m_chosen.empty());
    adjustSize();
}

std::vector<std::uint8_t> TFrmSelectedColor::KeptColors() const
{
    if (!SelectedDown())
        return m_chosen;
    std::vector<std::uint8_t> kept;
    for (int i = 0; i < 256; ++i)
        if (std::find(m_chosen.begin(), m_chosen.end(), std::uint8_t(i)) == m_chosen.end())
            kept.push_back(std::uint8_t(i));
    return kept;
}

bool TFrmSelectedColor::Apply(QString *message)
{
    const std::vector<std::uint8_t> kept = KeptColors();
    if (kept.empty() || !m_grid) {
        if (message)
            *message = GetUiMessage(UiKey::String::NothingLeftToCopy);
        return false;
    }
    TPatternGrid &grid = *m_grid;
    grid.DropFloatingObjects();
    if (grid.GetRegionHandle().isEmpty() || !grid.Copy(kept, true)) {
        if (message)
            *message = GetUiMessage(UiKey::String::NothingLeftToCopy);
        return false;
    }
    if (m_mode == TMode::Cut) {
        grid.ClearColorsInSelection(kept);
        grid.RecordPictureRectStep();
        grid.RebuildReducedView();
        grid.PasteFromClipboard({ 0, 0 }, false);
    }
    Q_EMIT applied();
    close();
    return true;
}

bool TFrmSelectedColor::ApplyAll(QString *message)
{
    // Without a selection, copying all copies the floating text: the grid's copy takes the
    // selection first, then the floating text, which dropping would stamp instead.
    if (m_mode == TMode::Copy && m_grid && m_grid->GetRegionHandle().isEmpty() && m_grid->HasFloatingText()) {
        if (!m_grid->Copy())
            return false;
        Q_EMIT applied();
        close();
        return true;
    }
    m_chosen.clear();
    refreshList();
    SetSelectedDown(true);
    return Apply(message);
}

void TFrmSelectedColor::applyFromWindow(bool all)
{
    QString message;
    if (!(all ? ApplyAll(&message) : Apply(&message)) && !message.isEmpty())
        QMessageBox::information(this, windowTitle(), message);
}
