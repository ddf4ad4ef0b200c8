#pragma once
// TMarkPointOptions: finding and treating short runs of the fore colour (找孤立点, 补充点).
// The point window's work on a pattern grid, without the window: isolated single points
// painted over with the colour around them, isolated runs or runs of one float length
// marked in a new marker colour, and runs along the warps lengthened by a number of cells.
// A run is a float of the fore colour: consecutive cells down a column (along a warp) or
// along a row (along a weft). Every change is one cell step in the grid's undo history; a
// marking mode records the new marker colour as a palette step before it.

#include <QImage>
#include <QString>

#include <cstdint>

class TPatternGrid;

enum class TMarkPointMode : std::uint8_t {
    DelSinglePoint, // isolated single cells take the colour around them
    SearchIsolatedPoint, // isolated runs of N cells down the warps are marked
    SearchFloat, // every run of N cells (along warps or wefts) is marked
    AddPoint, // runs of N cells down the warps are lengthened by M cells
};

// Along which threads SearchFloat looks.
enum class TFloatWay : std::uint8_t { Warps, Wefts };

// Which warps receive points. Warps count from 1 at the left, so the odd warps are the
// columns 0, 2, 4, ...
enum class TAddPointWarps : std::uint8_t { OddWarps, EvenWarps, AllWarps };

// Where the cells are added: above the run, below it, or decided per run.
enum class TAddPointWay : std::uint8_t { Up, Down, Automatic };

struct TMarkPointOptions {
    static constexpr int MinCount = 1;
    static constexpr int MaxCount = 99;

    TMarkPointMode Mode = TMarkPointMode::DelSinglePoint;
    int PointCount = 1; // N: the run length looked for (DelSinglePoint always takes 1)
    int FillPointCount = 1; // M: the cells added to each run
    TFloatWay FloatWay = TFloatWay::Warps;
    TAddPointWarps AddWarps = TAddPointWarps::OddWarps;
    TAddPointWay AddWay = TAddPointWay::Up;
    bool PriorityUp = false; // automatic: above wins when both sides are free
};

// What one run of the point window did.
struct TMarkPointReport {
    int Runs = 0; // runs found
    int ChangedCells = 0; // cells the step holds (before protected cells are put back)
    int MarkerIndex = -1; // the marker colour's entry, -1 when none was made
};

// The index cell (column, row) takes when an isolated point is painted over: that of the
// cells left and right of it when both exist and agree; otherwise that of the cell below,
// or of the cell above in the last row; its own in a picture of one row.
int NeighbourColor(const QImage &picture, int column, int row);

// Runs the chosen mode on the grid's picture with the grid's fore index as the run colour
// and its back index as the free colour of automatic adding. Runs lie wholly inside the
// picture and nothing beyond its edge is painted. Without a run nothing changes and nothing
// is recorded. A marking mode refuses, with a message and nothing changed, when the palette
// has no free entry for the marker colour. After adding, the repeat unit's size is sent to
// the main window as the pattern size. Counts outside 1 .. 99 are held to that range.
bool MarkPoints(TPatternGrid &grid, const TMarkPointOptions &options, TMarkPointReport *report = nullptr,
    QString *error = nullptr);
