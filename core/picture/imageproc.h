#pragma once
// Procedures that transform 8-bit pattern pictures cell by cell: mirrors and links, flips,
// quarter and free-angle rotation, warping onto a quadrilateral, resampling, cyclic shifts,
// inserting and deleting lines, the jump-start layout, splitting and interleaving, the three
// repair operations and small painting helpers.
//
// Pictures are QImage::Format_Indexed8 with 256 colour-table entries; a cell's value is its
// colour index. Column x counts from 0 at the left, row y from 0 at the top row as stored.
// No procedure reads or writes a cell outside a picture: boxes are clamped, and a procedure
// handed something that is not an 8-bit picture changes nothing and returns false.
// Where a destination is named it may be the same object as the source.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"
#include "core/picture/picturelimits.h"
#include "core/undo/undorecord.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QRegion>

#include <array>
#include <cstdint>
#include <span>

// --- Mirrors and links (whole picture, in place) -------------------------------------------
// Each returns true for an 8-bit picture.
bool MirrorLeftToRight(QImage &Bmp); // right half := mirror of the left half
bool MirrorRightToLeft(QImage &Bmp); // left half := mirror of the right half
bool MirrorTopToBottom(QImage &Bmp); // bottom half := mirror of the top half
bool MirrorBottomToTop(QImage &Bmp); // top half := mirror of the bottom half
// Exchanges the two halves so that the outer edges meet in the middle; with an odd size
// the middle line stays.
bool LinkPictureLeftRight(QImage &Bmp);
bool LinkPictureTopBottom(QImage &Bmp);

// --- Rectangle flips (Box right and bottom exclusive, clamped to the picture) --------------------
void FlipRectLeftRight(QImage &Bmp, const TRect &Box);
void FlipRectTopBottom(QImage &Bmp, const TRect &Box);

// --- Rotation ---------------------------------------------------------------------------------
// Angle in degrees: 90 turns counter-clockwise as stored (Dest cell (y, W-1-x) := Src cell
// (x, y)), -90 clockwise, 180 turns Dest itself in place (Src is not read). Any other angle
// changes nothing and returns false. For the quarter turns, reuse, when given, is a picture
// nobody else holds: when it has the turned size its cells take the result (no fresh
// picture-sized buffer) and it is left null.
bool RotatePictureQuarter(QImage &Dest, const QImage &Src, double Angle, QImage *reuse = nullptr);
// Turns Src clockwise by Angle (radians) about its centre: RotateAboutCentre with -Angle.
bool RotatePictureByAngle(QImage &Dest, const QImage &Src, TColor BackColor, double Angle);
// Turns Src counter-clockwise (as stored) by Angle (radians) about its centre into Dest.
// Quarter and half turns and angle 0 are exact; other angles map every Dest cell centre
// back to the nearest Src cell, and Dest cells that fall outside Src take the palette entry
// nearest to BackColor. Returns false (Dest unchanged) when the result would exceed
// MaxPictureSide.
bool RotateAboutCentre(QImage &Dest, const QImage &Src, TColor BackColor, double Angle);
// The corners (Left, Top), (Right, Top), (Right, Bottom), (Left, Bottom) of R turned by
// Angle (radians) about Centre.
void RotateRectCorners(const TRect &R, const TPoint &Centre, std::array<TPoint, 4> &Corners, double Angle);
// The smallest rectangle holding the first Count points (Right and Bottom inclusive);
// (0, 0, 0, 0) for no points.
void GetPointsBounds(const TPoint *Points, int Count, TRect &R);

// --- Warping ----------------------------------------------------------------------------------
// Maps the whole of Src onto the quadrilateral Corners (Src's top-left, top-right,
// bottom-right and bottom-left corner cells, in that order). Dest becomes the size of the
// corners' bounding box with Src's palette; cells outside the quadrilateral are index 0.
// Returns false (Dest unchanged) for a quadrilateral without area or a box that is too big.
bool WarpPictureToCorners(const QImage &Src, QImage &Dest, const std::array<TPoint, 4> &Corners);

// --- Size and shifts --------------------------------------------------------------------------
// Dest := a NewWidth x NewHeight picture with Palette. Stretch: the whole of Src scaled
// onto it by dropping or repeating rows and columns (never blending); otherwise Src's
// top-left part copied one to one and the cells beyond Src index 0. False for a size
// outside 1..MaxPictureSide.
bool ResamplePicture(
    QImage &Dest, const QImage &Src, int NewWidth, int NewHeight, const TPalette256 &Palette, bool Stretch);
// The source line that destination line Index shows when SrcCount lines are stretched onto
// DstCount (both at least 1): the line under the destination line's centre. This is the
// one mapping of every stretch: ResamplePicture, StretchRegionBoxToBitmap, and the views
// that resample only what they show.
int ResampleSourceLine(int Index, int SrcCount, int DstCount);
// Copies Src's cells onto Dest when both have the same size.
bool CopyBitmapIfSameSize(QImage &Dest, const QImage &Src);
// Cyclic shift: Src rows N..H-1 become Dest's first rows, rows 0..N-1 its last. Dest takes
// Src's size and palette. Returns whether 0 < N <= H - 1 (nothing happens otherwise).
bool ShiftPictureRows(QImage &Dest, const QImage &Src, int N);
bool ShiftPictureColumns(QImage &Dest, const QImage &Src, int N);
// Cyclic one-cell shift inside Box (right and bottom exclusive, clamped to the picture).
// Code 1: one row down; -1: one row up; 2: one column left over every row of the box but
// the first; any other: one column right over those rows.
void MoveRegionPixels(QImage &Bmp, const TRect &Box, int Code);

// --- Inserting and deleting lines ---------------------------------------------------------------
// Inserts Count rows (Rows) or columns of colour Value before line Pos (from 0; Pos equal
// to the height or width appends). The new cells take the first palette entry showing
// Value, else the nearest one (the grid passes its back colour). Work is the caller's
// scratch picture: afterwards it has the new size. False (nothing changed) when Pos is
// outside 0..size, Count < 1 or the result would exceed MaxPictureSide.
bool InsertPictureLines(QImage &Bmp, QImage &Work, int Pos, TColor Value, bool Rows, int Count);
// Removes Count rows (Rows) or columns starting with line number Pos counted from 1.
// Work loses the same lines when it has Bmp's size (otherwise it becomes a copy of the
// result). False (nothing changed) when the lines are not all inside the picture, Count < 1
// or every line would go. Value is not used.
bool DeletePictureLines(QImage &Bmp, QImage &Work, int Pos, TColor Value, bool Rows, int Count);

// --- Layout -------------------------------------------------------------------------------------
// Jump-start layout of Src into Dest (which takes Src's size; Dest's own colour table is kept
// when it is an 8-bit picture).
bool JumpStartPicture(QImage &Dest, const QImage &Src);
// Count pictures, each (W - 1) div Count + 1 wide: Src column x goes to column x div Count
// of piece x mod Count.
bool SplitPicture(TBmpArray &Pieces, int Count, const QImage &Src);
// Interleaves Count side-by-side pieces of Src, PieceWidth wide and Gap apart, column by
// column into a new Count x PieceWidth by Height picture with Palette; cells whose source
// lies outside Src are index 0.
bool CopyPicturePart(QImage &Dest, const QImage &Src, const TPalette256 &Palette, int Count, int Gap,
    int PieceWidth, int Height);
// A translation of colour indexes: index v of a picture becomes Map[v].
using TIndexMap = std::array<std::uint8_t, 256>;
// Weaves the columns of equally sized pictures side by side again: column c of picture i
// becomes column Count * c + i of a new picture with Palette, Count being the number of
// pictures. With Maps (one per picture) every index goes through its picture's map on the
// way; without, indexes are copied. False, Dest unchanged, for no pictures, a picture that
// is not 8-bit or differs in size from the first, a wrong number of maps, or a result wider
// than MaxPictureSide (checked before anything is allocated).
bool InterleavePictureColumns(QImage &Dest, const QList<QImage> &Pictures, const TPalette256 &Palette,
    std::span<const TIndexMap> Maps = {});

// --- Repairs ------------------------------------------------------------------------------------
// Colours are compared by red, green and blue through the picture's palette, so two indexes
// of equal colour count as one colour. A cell is given a colour as the first palette entry
// holding it. Cells are visited row by row from the top, left to right, and a cell changed
// earlier counts with its new colour. The progress gauge is stepped once per row. Changed
// cells are appended to Points.
//
// A cell of colour A with exactly 3 of its 4 neighbours of colour B becomes B.
void ClearThorns(QImage &Bmp, TColor ColorB, TColor ColorA, TLineArray &Points);
// Closes gaps of up to Distance - 1 cells between two cells of Color along rows, columns
// and diagonals. Cells that already show Color keep their index.
void RepairPicture(QImage &Bmp, TColor Color, int Distance, TLineArray *Points = nullptr);
// A cell of colour A becomes B when IsMottle holds for it.
void ClearMottle(QImage &Bmp, TColor ColorA, TColor ColorB, TLineArray &Points, int MaxSize);
// P is not of colour B, at least 2 cells of its 3 x 3 block are of colour B, and none of the
// 8 runs of P's colour from P outward (at most 6 steps) is longer than MaxSize.
bool IsMottle(const QImage &Bmp, TColor ColorB, const TPoint &P, int MaxSize);

// --- Painting helpers ---------------------------------------------------------------------------
// Palette-relative colour of a cell; -1 for a cell outside the picture.
TColor GetPixelColor(const QImage &Bmp, const TPalette256 &Palette, int X, int Y);
// Fills the cells of Rgn with Color (on an 8-bit picture: the palette entry nearest to it).
void FillRegionWithColor(QImage &Canvas, const QRegion &Rgn, TColor Color);
// For every listed cell inside both pictures, Dest cell := Src cell.
void CopyListedPixels(QImage &Dest, const QImage &Src, const TILineArray &Points);
// R (Right and Bottom exclusive) shrunk by one cell on every side: its outline in Color,
// its inside white.
void DrawRectFrame(QImage &Canvas, const TRect &R, TColor Color);
// The same helpers with a colour index instead of a colour, for edits that must write the
// index the user chose: with two palette entries of one colour, the colour-taking helpers
// would write the first of them. They change only 8-bit pictures and only cells inside them.
void FillRegionWithIndex(QImage &Canvas, const QRegion &Rgn, std::uint8_t Index);
// Every listed cell inside the picture := Index.
void SetListedPixels(QImage &Canvas, std::span<const TPoint> Points, std::uint8_t Index);
// As DrawRectFrame: the outline of R shrunk by one cell in FrameIndex, its inside InsideIndex.
void DrawRectFrameWithIndex(
    QImage &Canvas, const TRect &R, std::uint8_t FrameIndex, std::uint8_t InsideIndex);
// Draws Bmp at (X, Y) leaving out every pixel whose colour is TransparentColor; the
// painter's state is restored afterwards.
void DrawBitmapTransparent(QPainter &DC, int X, int Y, TColor TransparentColor, const QImage &Bmp);
