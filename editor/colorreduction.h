#pragma once
// TColorReduction: the colour reduction (降色) window's model.
// The used colours of one pattern grid are sorted by cell count and grouped around group
// heads, automatically by a colour difference or by hand; OK remaps every cell to its
// group's head in one undoable whole-picture step, the palette with it. Group g always
// belongs to head g (the pair at position g of Pairs), so that no colour maps past the heads.

#include "core/palette/colorreduce.h"

#include <QString>

#include <cstdint>
#include <functional>

class TPatternGrid;

enum class TReduceMode : std::uint8_t {
    Automatic = 0, // the count and the difference choose the heads and groups
    ManualReduce = 1, // heads added by picks and dropped by double clicks
    ManualCombine = 2, // colours moved between groups and the unassigned list by hand
    NotStarted = 3, // no grid yet
};

enum class TReduceApply : std::uint8_t {
    Applied,
    Cancelled, // the user kept the unassigned colours
    Refused, // no group, or no grid
    ColorsChanged, // the picture's colours changed since they were read: read again
    Failed, // the step could not be recorded; the picture is as it was
};

class TColorReduction {
public:
    // The highest colour count: entries 254 and 255 of a reduced palette are black and
    // white, so a head there would lose its colour.
    static constexpr int MaxGroupCount = 254;
    static constexpr int MaxColorLeft = 999;

    // Another grid: its colours are read and sorted, the count box takes UsedCount and the
    // automatic mode is entered. The same grid again changes nothing; null unbinds.
    void SetGrid(TPatternGrid *grid);
    TPatternGrid *Grid() const { return m_grid; }
    // The bound grid's colours read again and the current mode entered again.
    void Reload();
    // Whether the grid's palette still is the one the colours were read with.
    bool PaletteCurrent() const;

    // The two number boxes: colour count 1 .. MaxColorCount, difference 0 .. MaxColorLeft.
    // A change re-enters the current mode (not before a grid is bound).
    int ColorCount() const { return m_colorCount; }
    int ColorLeft() const { return m_colorLeft; }
    int MaxColorCount() const;
    void SetColorCount(int count);
    void SetColorLeft(int difference);

    TReduceMode Mode() const { return m_mode; }
    // Nothing without a grid.
    void EnterMode(TReduceMode mode);

    const TPalette256 &OrgPalette() const { return m_orgPalette; }
    const TPalette256 &WorkPalette() const { return m_workPalette; }
    const TPalettePairs &OrgPairs() const { return m_orgPairs; }
    const TPalettePairs &Pairs() const { return m_pairs; }
    const TTwoPaletteArray &Groups() const { return m_groups; }
    const TOnePaletteArray &Unassigned() const { return m_unassigned; }
    int UsedCount() const { return m_usedCount; }
    int GroupCount() const { return m_groupCount; }
    int MaxGroupLen() const;

    // The selection in the three colour grids; kept inside its list (-1: empty list).
    int CurGroup() const { return m_curGroup; }
    int CurMember() const { return m_curMember; }
    int CurUnassigned() const { return m_curUnassigned; }
    void SetCurGroup(int group);
    void SetCurMember(int member);
    void SetCurUnassigned(int index);

    // The moves of manual combining; each is true when something moved.
    bool MoveLeft(); // the current member to the end of the unassigned colours
    bool MoveRight(); // the current unassigned colour to the end of the current group
    bool MoveAllLeft(); // every member of the current group to the unassigned colours
    bool MoveAllRight(); // every unassigned colour into the current group
    bool ClearAll(); // every group emptied into the unassigned colours
    bool AutoAssign(); // every unassigned colour joins its nearest head's group
    // A colour picked in the pattern (manual modes): it becomes a new head with an empty
    // group, leaving the group or list it was in. False when it is a head already.
    bool PickColor(int index);
    // A head double clicked (manual modes, at least two groups): the head goes after the
    // other colours; its group's colours go to the unassigned list (manual combining) or to
    // their nearest remaining head (manual reduction).
    bool DropHead(int group);

    // OK. The used colours are compared with those sorted first: when they changed they
    // are read again and ColorsChanged says so; nothing is applied. Unassigned colours ask
    // mapRest (OK: AutoAssign; Cancel: nothing changes). Then every cell takes its group's
    // index, the palette holds the heads (254 black, 255 white), as one undoable step; the
    // colours are read again and the mode re-entered. The message says why when not Applied.
    TReduceApply Apply(const std::function<bool()> &mapRest, QString *message = nullptr);

private:
    void readGrid();
    void takeCounts(TColorCounts counts);
    void reenter();
    void formGroups();
    void clampSelection();
    bool manual() const
    {
        return m_mode == TReduceMode::ManualReduce || m_mode == TReduceMode::ManualCombine;
    }
    bool colorsUnchanged(TColorCounts &counts) const;
    void mapUncoveredColors();
    bool applyToGrid(const TColorCounts &counts, QString *message);

    TPatternGrid *m_grid = nullptr;
    TPalette256 m_orgPalette {};
    TPalette256 m_workPalette {};
    TPalettePairs m_orgPairs {};
    TPalettePairs m_pairs {};
    TTwoPaletteArray m_groups;
    TOnePaletteArray m_unassigned;
    int m_usedCount = 0;
    int m_groupCount = 0;
    int m_colorCount = 1;
    int m_colorLeft = 90;
    int m_curGroup = -1;
    int m_curMember = -1;
    int m_curUnassigned = -1;
    TReduceMode m_mode = TReduceMode::NotStarted;
};
