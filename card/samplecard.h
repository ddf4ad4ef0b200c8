#pragma once
// TYangkaImage: the sample card (样卡).
// The sample card: a ColCount x RowCount grid of needle positions of the jacquard
// harness, each holding a one-byte code that says what the needle is (jacquard,
// heald-rod, selvedge, shuttle, ...) or that the position is a hole or a marker.
// This is the model the card builder reads; editors draw it through their own views.
//
// Cells are indexed [column][row]. Needle n of a column-by-column count is
// column x RowCount + row. Positioning holes are always 2 x 2 blocks of code 255.

#include "core/base/document.h"
#include "core/base/gridrecords.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

enum TYKStyle : std::uint8_t {
    ys1200,
    ys144,
    ys1300,
    ys1400,
    ys1600,
    ys1700,
    ys1800,
    ys1900,
    ys2100,
    ys2200,
    ys2300,
    ys2400,
    ys2600,
    ysContinuous,
    ysOther
};
constexpr int YKStyleCount = ysOther + 1;

enum TImageOrient : std::uint8_t { ioHorizontal, ioVertical };

// Needle codes of a sample-card cell.
namespace Needle {
constexpr std::uint8_t Down = 0; // card viewer only: needle down on the shown card
constexpr std::uint8_t Up = 1; // card viewer only: needle up
constexpr std::uint8_t Jacquard = 2; // 纹针; 2 and 3 tell consecutive runs apart
constexpr std::uint8_t Jacquard2 = 3;
constexpr std::uint8_t HealdRod = 4; // 棒刀针
constexpr std::uint8_t Selvedge = 5; // 边针
constexpr std::uint8_t Shuttle = 6; // 投梭针
constexpr std::uint8_t HealdFrame = 7; // 综框针
constexpr std::uint8_t WasteSelvedge = 8; // 废边针
constexpr std::uint8_t WeftDensity = 9; // 纬密针
constexpr std::uint8_t StopMotion = 12; // 停撬针
constexpr std::uint8_t Empty = 240; // 空针
constexpr std::uint8_t MarkerColumn = 252; // the rest of a column holding lacing holes
constexpr std::uint8_t LacingHole = 253; // 穿线孔
constexpr std::uint8_t PositionHole = 255; // 定位孔
// Codes above this are holes and markers, never overwritten by needle kinds.
constexpr std::uint8_t LastNeedleCode = 250;
} // namespace Needle

class TYangkaImage {
public:
    TYangkaImage();

    // Published properties.
    QString CardFileName; // "Untitled*" when new
    std::uint16_t ColCount() const { return m_colCount; }
    std::uint16_t RowCount() const { return m_rowCount; }
    std::uint8_t MinRad() const { return m_minRad; }
    bool NeedRedraw = true;
    TImageOrient Orient = ioHorizontal; // stored and copied; drives nothing
    std::uint8_t StartFlag() const { return m_startFlag; }
    TYKStyle YKStyle() const { return m_style; }
    bool TiQianSuo = false; // early shuttle
    bool Multiple = false; // read from old files; drives nothing
    QString Rules; // card division rule, such as "1A" or "2(1A1B)"

    // A changed, non-zero value resizes the grid and makes every cell jacquard.
    void SetColCount(int value);
    void SetRowCount(int value);
    // Clamped to 1..14; the hole diameter follows (2 x MinRad).
    void SetMinRad(int value);
    // 0..3: the corner the needles start at; other values are ignored.
    void SetStartFlag(int value);
    // A new style rebuilds the grid (all jacquard, then its markers and holes); the same
    // style changes nothing, so hand edits survive.
    void SetYKStyle(TYKStyle style);

    // Fired after cell codes change; (-1, -1) after a bulk change.
    std::function<void(int col, int row)> OnYKChange;
    // Fired when the style changes.
    std::function<void()> OnStyleChange;

    // The codes, [column][row]. Writers outside this class keep its size.
    TMultiByteArray Cells;
    // The positioning holes, one (column, row) top-left corner per 2 x 2 block.
    TPosArray Holes;
    // Drawing geometry: margins in pixels, hole diameter, colours, control size.
    std::int32_t MarginLeft = 20, MarginRight = 20, MarginTop = 20, MarginBottom = 10;
    std::uint8_t HoleDiameter = 14;
    TColor BackColor = 0x008080;
    TColor LacingHoleColor = 0x0000FF;
    TColor HoleColor = 0x0000FF;
    TColor NeedleColor = 0xFFFFFF;
    std::int32_t Width = 103, Height = 142;

    std::uint8_t Cell(int col, int row) const { return Cells[col][row]; }

    // Cell operations.
    // Takes the codes (and the size) of cells, which must be rectangular and at most
    // 65535 x 65535; false otherwise.
    bool SetCells(const TMultiByteArray &cells);
    void ClearAll(); // every cell empty (240)
    void SetJacquardCount(int count); // the first count cells, column by column, jacquard; the rest empty
    bool AddPositionHole(int col, int row);
    bool RemovePositionHole(int col, int row);
    bool AddLacingHole(int col, int row);
    bool RemoveLacingHole(int col, int row);
    void SetPositionHoles(const TPosArray &points);
    // The hole list rebuilt from the cells: every 255 cell not yet covered, column by
    // column, is the top-left corner of a block.
    void RebuildHoleList();

    // Queries.
    int JacquardCount() const; // cells with code 2 or 3
    int CountCode(std::uint8_t code) const;
    // Pixel rectangle of a cell, laid out by StartFlag: 1 mirrors both axes, 2 the rows,
    // 3 the columns.
    TRect CellRect(int col, int row) const;
    // The cell under a pixel; false outside the grid. inHole tells whether it is part of a
    // positioning hole.
    bool CellAtPixel(int x, int y, int &col, int &row, bool *inHole = nullptr) const;
    // The control size: MinRad x ColCount + margins by MinRad x RowCount + margins.
    void Resize();

    // Shows one card row: every cell with a code below 250 takes its needle's bit (needle
    // column x RowCount + row, most significant bit first): 1 raised, 0 lowered.
    void ShowCardRow(const TDynamicByteArray &row);

    // Takes everything from another sample card (cells copied, not shared).
    void Assign(const TYangkaImage &other);

    // Files (.OVYK). Loading reads the current layout and the older one and ignores bytes
    // after the hole list; a damaged file (a count beyond the bytes there, a positioning
    // hole off the card) is refused and leaves this card unchanged. Every one returns false
    // with *error (when given) saying why.
    bool LoadFromFile(const QString &fileName, QString *error = nullptr);
    bool SaveToFile(const QString &fileName, QString *error = nullptr);
    bool LoadFromBytes(const QByteArray &bytes, QString *error = nullptr);
    // The current layout's bytes; false when the rule text is too long or not storable.
    bool SaveToBytes(QByteArray &bytes, QString *error = nullptr) const;

    // The grid of a style: size, marker columns, lacing and positioning holes.
    static TMultiByteArray StyleCells(TYKStyle style);

private:
    void Changed(int col, int row);
    void Fill(std::uint8_t code);
    bool ColumnHas(int col, std::uint8_t code) const;

    std::uint16_t m_colCount = 0;
    std::uint16_t m_rowCount = 0;
    std::uint8_t m_minRad = 7;
    std::uint8_t m_startFlag = 0;
    TYKStyle m_style = ys144;
};
