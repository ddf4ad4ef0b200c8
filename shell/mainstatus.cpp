#include "shell/mainstatus.h"

#include "core/settings/uitexts.h"

void TMainStatusModel::ShowCursorPos(int x, int y)
{
    m_shown.CursorPos = true;
    m_shown.X = x;
    m_shown.Y = y;
    textCursorPos();
}

void TMainStatusModel::textCursorPos()
{
    const int x = m_shown.X, y = m_shown.Y;
    Panels[1] = QStringLiteral("X:") + QString::number(x);
    Panels[2] = QStringLiteral("Y:") + QString::number(y);
    // The parity of a sum: x + y is odd exactly when one of the two is odd.
    const bool odd = ((x & 1) ^ (y & 1)) != 0;
    Panels[3] = GetUiMessage(odd ? UiKey::String::SinglePoint : UiKey::String::DoublePoint);
}

void TMainStatusModel::ShowColorIndex(int index)
{
    m_shown.ColorIndex = true;
    m_shown.Index = index;
    textColorIndex();
}

void TMainStatusModel::textColorIndex()
{
    Panels[4] = GetUiMessage(UiKey::String::ColorIndex) + QLatin1Char(':') + QString::number(m_shown.Index);
}

void TMainStatusModel::ShowPatternSize(int cols, int rows, int cellWidth, int cellHeight)
{
    m_shown.PatternSize = true;
    m_shown.Cols = cols;
    m_shown.Rows = rows;
    m_shown.CellWidth = QString::number(cellWidth);
    m_shown.CellHeight = QString::number(cellHeight);
    textPatternSize();
}

void TMainStatusModel::ShowPatternSize(int cols, int rows, const TContext &context)
{
    m_shown.PatternSize = true;
    m_shown.Cols = cols;
    m_shown.Rows = rows;
    // A fraction shows as one (0.5, 0.25); whole sizes as whole numbers.
    m_shown.CellWidth = QString::number(context.CellWidth * context.ScaleX, 'g', 4);
    m_shown.CellHeight = QString::number(context.CellHeight * context.ScaleY, 'g', 4);
    textPatternSize();
}

void TMainStatusModel::textPatternSize()
{
    Panels[5] = GetUiMessage(UiKey::String::ColName) + QString::number(m_shown.Cols) + QLatin1Char(' ')
        + GetUiMessage(UiKey::String::RowName) + QString::number(m_shown.Rows);
    Panels[6] = GetUiMessage(UiKey::String::PatternCellHorzSize) + QLatin1Char('(') + m_shown.CellWidth
        + QLatin1Char('*') + m_shown.CellHeight + QLatin1Char(')');
}

void TMainStatusModel::Retext()
{
    if (m_shown.CursorPos)
        textCursorPos();
    if (m_shown.ColorIndex)
        textColorIndex();
    if (m_shown.PatternSize)
        textPatternSize();
}

void TMainStatusModel::SyncActiveChild(int state, int documentCount)
{
    if (state == 1) {
        DocumentActionsEnabled = true;
    } else if (state == 0 && documentCount < 2) {
        DocumentActionsEnabled = false;
        FollowUp = TFollowUp::LastDocumentClosing;
    }
}

void TMainStatusModel::PenWidth(int horzWidth, int vertWidth)
{
    PenHorzWidth = horzWidth;
    PenVertWidth = vertWidth;
}

void TMainStatusModel::ToolChanged(int toolId)
{
    PressedToolTag = ToolButtonTag(toolId);
    KeepBrowserSelection = BrowsersKeepSelection(toolId);
}

void TMainStatusModel::RefreshView(int mode, bool navigatorShown)
{
    if (mode == 0)
        FollowUp = TFollowUp::MoveNavigatorFrame;
    else if (navigatorShown)
        FollowUp = TFollowUp::ReloadNavigator;
}

void TMainStatusModel::SyncPalette(int mode)
{
    FollowUp = mode == 1 ? TFollowUp::PaletteToDocument : TFollowUp::PaletteFromDocument;
}

int TMainStatusModel::GrossStartField(int col, int row, bool onWarps, bool deleteMode)
{
    return (onWarps ? col : row) + (deleteMode ? 1 : 0);
}

void TMainStatusModel::UndoState(int undoCount, int redoCount, bool hasDocument)
{
    if (!hasDocument)
        return;
    UndoEnabled = undoCount >= 1;
    RedoEnabled = redoCount >= 1;
}

void TMainStatusModel::EditState(int flags, int cutState)
{
    CopyEnabled = (flags & 1) != 0;
    PasteEnabled = (flags & 2) != 0;
    CutEnabled = cutState == 1;
}

void TMainStatusModel::ZoomState(int level)
{
    ZoomInEnabled = level != 24;
    ZoomOutEnabled = level != 9;
}

void TMainStatusModel::RepeatState(int flags)
{
    RepeatEnabled = RepeatBorderEnabled = flags >= 1;
    RepeatChecked = flags > 0 && (flags & 1) == 0;
    RepeatBorderChecked = flags > 0 && (flags & 2) == 0;
}

void TMainStatusModel::RepeatReset()
{
    RepeatChecked = RepeatBorderChecked = false;
}

void TMainStatusModel::EnableMainForm(int enable)
{
    MainFormEnabled = enable == 1;
}

void TMainStatusModel::PatternMergeState(int state)
{
    PatternMergeEnabled = state >= 2;
}

TMainStatusModel::TColorPickEffect TMainStatusModel::ColorPicked(int kind)
{
    if (kind == 4)
        BackColorLocked = true;
    else if (kind == 3)
        BackColorLocked = false;
    TColorPickEffect effect;
    effect.ToBackColor = BackColorLocked;
    effect.SetPaletteCurrent = !BackColorLocked && (kind == 2 || kind == 3);
    return effect;
}

bool TMainStatusModel::PasteOffered(bool hasDocument, bool clipboardHasPicture, int zoomLevel)
{
    return hasDocument && clipboardHasPicture && zoomLevel >= 9;
}

int TMainStatusModel::ToolButtonTag(int toolId)
{
    return toolId == 35 ? 34 : toolId;
}

bool TMainStatusModel::BrowsersKeepSelection(int toolId)
{
    return toolId == 39 || toolId == 40;
}

bool TMainStatusModel::Handle(const TMessageEvent &event, bool hasDocument)
{
    TContext context;
    context.HasDocument = hasDocument;
    context.DocumentCount = hasDocument ? 1 : 0;
    return Handle(event, context);
}

bool TMainStatusModel::Handle(const TMessageEvent &event, const TContext &context)
{
    const bool hasDocument = context.HasDocument;
    const int w = int(event.WParam), l = int(event.LParam);
    FollowUp = TFollowUp::None;
    switch (event.Message()) {
    case WM_SHOWPATTERNSIZE:
        ShowPatternSize(w, l, context);
        return true;
    case WM_SYNCACTIVECHILD:
        SyncActiveChild(w, context.DocumentCount);
        return true;
    case WM_PENWIDTH:
        PenWidth(w, l);
        return true;
    case WM_TOOLCHANGED:
        ToolChanged(context.ToolId);
        return true;
    case WM_REFRESHVIEW:
        RefreshView(w, context.NavigatorShown);
        return true;
    case WM_SYNCPALETTE:
        SyncPalette(w);
        return true;
    case WM_SHOWCURSORPOS:
        ShowCursorPos(w, l);
        return true;
    case WM_SHOWCOLORINDEX:
        ShowColorIndex(w);
        return true;
    case WM_UNDOSTATE:
        UndoState(w, l, hasDocument);
        return true;
    case WM_EDITSTATE:
        EditState(w, l);
        return true;
    case WM_ZOOMSTATE:
        ZoomState(w);
        return true;
    case WM_REPEATSTATE:
        RepeatState(w);
        return true;
    case WM_REPEATRESET:
        RepeatReset();
        return true;
    case WM_ENABLEMAINFORM:
        EnableMainForm(w);
        return true;
    case WM_PATTERNMERGESTATE:
        PatternMergeState(w);
        return true;
    default:
        return false;
    }
}
