#pragma once
// TFloatQuery: deciding the floats the picked-weave tool marked, by their length.
// The float query window (editor/ui/queryfloatwindow.h) holds one: OK gives every marked
// float of a chosen length the fore colour and the others the back colour, as one cell
// step; closing without a decision puts the floats back. It reaches the picture through
// its grid at each use, and a grid that is gone is forgotten, never written.

#include "editor/pickedtools.h"

#include <QString>

#include <cstdint>

enum class TFloatQueryRule : std::uint8_t { AtMost = 0, EqualTo = 1 };

class TFloatQuery {
public:
    // Starts a check of the floats of marking in grid; the floats of the check before, if
    // any are still marked, are put back first.
    void Start(TPatternGrid *grid, const TFloatMarking &marking);
    // The grid has gone: its floats are dropped without writing anything.
    void Forget();
    TPatternGrid *Grid() const { return m_grid; }
    const TFloatsArray &Floats() const { return m_marking.Floats; }
    const TFloatMarking &Marking() const { return m_marking; }

    // OK with the typed text. Blank: the floats are put back. Otherwise the text is a list
    // of lengths (whole numbers separated by commas): with AtMost a float matches when it is
    // no longer than the first, with EqualTo when it is one of them; matching floats take
    // the grid's fore index, the others its back index, recorded as one cell step. False,
    // with nothing changed, for a text that is not such a list. Nothing is written once
    // the cells may have moved (see Restore).
    bool Apply(const QString &text, TFloatQueryRule rule, QString *error = nullptr);
    // Closing without a decision: the floats still marked take the index they were found
    // in as the grid's settings name it now: KeepIndex when FindHigh is set, else
    // OtherIndex. Nothing is recorded. After a change that may have moved the cells (a
    // whole-picture command, a shift, an undone step, a new picture) the marked positions
    // no longer name the floats: the check is dropped and nothing is written.
    void Restore();

private:
    void paint(int index);

    // True while the grid's picture has kept its cells where they were at the start.
    bool positionsHold() const;

    TPatternGrid *m_grid = nullptr;
    TFloatMarking m_marking;
    std::uint32_t m_wholeChangesAtStart = 0;
};
