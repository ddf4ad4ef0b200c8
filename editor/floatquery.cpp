#include "editor/floatquery.h"

#include "core/base/error.h"
#include "core/base/strutils.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <algorithm>

namespace {
bool inside(const QImage &picture, const TFloatRun &r)
{
    return r.Line >= 0 && r.Line < picture.width() && r.Start >= 0 && r.Start <= r.End
        && r.End < picture.height();
}
} // namespace

void TFloatQuery::Start(TPatternGrid *grid, const TFloatMarking &marking)
{
    Restore();
    m_grid = grid;
    m_marking = marking;
    m_wholeChangesAtStart = grid ? grid->WholePictureChanges() : 0;
}

bool TFloatQuery::positionsHold() const
{
    return m_grid && m_grid->WholePictureChanges() == m_wholeChangesAtStart;
}

void TFloatQuery::Forget()
{
    m_grid = nullptr;
    m_marking = TFloatMarking();
}

void TFloatQuery::paint(int index)
{
    QImage &picture = m_grid->Picture();
    for (const TFloatRun &r : m_marking.Floats)
        if (inside(picture, r))
            for (int y = r.Start; y <= r.End; ++y)
                picture.scanLine(y)[r.Line] = std::uint8_t(index);
}

void TFloatQuery::Restore()
{
    if (positionsHold() && !m_marking.Floats.isEmpty()) {
        const int index = m_grid->TileWeaveParam().FindHigh ? m_marking.KeepIndex : m_marking.OtherIndex;
        if (index >= 0 && index <= 255)
            paint(index);
        m_grid->RebuildReducedView();
        m_grid->Repaint();
    }
    m_marking.Floats = TFloatsArray();
}

bool TFloatQuery::Apply(const QString &text, TFloatQueryRule rule, QString *error)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        Restore();
        return true;
    }
    TIntegerArray lengths;
    if (!StrToIntArray(trimmed, lengths))
        return Fail(error, GetUiMessage(UiKey::String::TileFloatTextInvalid).arg(trimmed));
    if (!positionsHold()) {
        m_marking.Floats = TFloatsArray();
        return true;
    }
    QImage &picture = m_grid->Picture();
    TLineArray cells;
    for (const TFloatRun &r : m_marking.Floats) {
        if (!inside(picture, r))
            continue;
        const bool match = rule == TFloatQueryRule::AtMost
            ? r.Length <= lengths[0]
            : std::find(lengths.begin(), lengths.end(), r.Length) != lengths.end();
        const int index = match ? m_grid->ForeIndex() : m_grid->BackIndex();
        const qsizetype from = cells.length();
        cells.setLength(from + (r.End - r.Start + 1));
        for (int y = r.Start; y <= r.End; ++y) {
            picture.scanLine(y)[r.Line] = std::uint8_t(index);
            cells[from + (y - r.Start)] = TPoint { r.Line, y };
        }
    }
    m_grid->RecordUndoStep(cells);
    m_grid->RebuildReducedView();
    m_grid->Repaint();
    m_marking.Floats = TFloatsArray();
    return true;
}
