// The tile-weave window's tiling, without the window.
#include "editor/weavetiling.h"

#include "core/base/error.h"
#include "core/base/strutils.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <algorithm>
#include <vector>

bool AddTileColor(TTileColorList &list, const TPalette256 &palette, int index)
{
    if (index < 0 || index > 255)
        return false;
    if (std::any_of(list.begin(), list.end(), [&](const TTileColorEntry &e) { return e.Index == index; }))
        return false;
    TTileColorEntry entry;
    entry.Index = std::uint8_t(index);
    entry.Color = palette[index];
    list.append(entry);
    return true;
}

TFloatMargins TileMargins(const TTilePatternParam &param)
{
    TFloatMargins m;
    m.Top = param.IsTopLeft;
    m.Bottom = param.IsBottomLeft;
    m.Left = param.IsLeftLeft;
    m.Right = param.IsRightLeft;
    m.TopLength = param.TopLength;
    m.BottomLength = param.BottomLength;
    m.LeftLength = param.LeftLength;
    m.RightLength = param.RightLength;
    return m;
}

bool IsTileWeaveEmpty(const TWeaveArray &weave)
{
    return weave.isEmpty() || weave[0].isEmpty();
}

bool ParseFloatLengths(const QString &text, TIntegerArray &lengths, QString *error)
{
    TIntegerArray parsed;
    if (!StrToIntArray(text, parsed))
        return Fail(error, GetUiMessage(UiKey::String::TileFloatTextInvalid).arg(text));
    lengths = parsed;
    return true;
}

bool TileWeaveOverColors(TPatternGrid &grid, const TWeaveArray &weave, const TTileColorList &colors,
    const TTileWeaveParam &param, TTileFloatRule rule, QString *error)
{
    if (colors.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::TileNoColorChosen));
    if (IsTileWeaveEmpty(weave))
        return Fail(error, GetUiMessage(UiKey::String::TileNoWeaveChosen));
    // Every text is read first, so that a bad one leaves the picture untouched.
    std::vector<TIntegerArray> lengths(std::size_t(colors.size()));
    for (qsizetype i = 0; i < colors.size(); ++i) {
        const QString text = colors[i].FloatText.trimmed().isEmpty() ? QString::number(param.FloatLength)
                                                                     : colors[i].FloatText;
        if (!ParseFloatLengths(text, lengths[std::size_t(i)], error))
            return false;
    }
    const int black = grid.AddBlackToPalette();
    if (black < 0)
        return Fail(error, GetUiMessage(UiKey::String::TileNoEntryForBlack));

    TFloatScan scan;
    scan.Margins = TileMargins(param);
    scan.Weave = weave;
    QImage &picture = grid.Picture();
    TLineArray cells;
    for (qsizetype i = 0; i < colors.size(); ++i) {
        scan.ColorIndex = colors[i].Index;
        const qsizetype from = cells.length();
        if (rule == TTileFloatRule::LessThan)
            FindLongFloats(picture, grid.Palette(), scan, param.FloatLength, cells);
        else
            FindFloatsOfLengths(picture, grid.Palette(), scan, lengths[std::size_t(i)], cells);
        for (qsizetype k = from; k < cells.length(); ++k)
            picture.scanLine(cells[k].Y)[cells[k].X] = std::uint8_t(black);
    }
    grid.RecordUndoStep(cells);
    grid.RebuildReducedView();
    grid.Repaint();
    return true;
}

void StoreTileWeaveParam(const TTileWeaveParam &param, TPatternGrid *grid)
{
    StartSettings().TileWeaveParam = param;
    WriteTileWeaveParam(param);
    if (grid)
        grid->SetTileWeaveParam(param);
}
