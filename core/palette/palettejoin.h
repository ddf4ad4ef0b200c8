#pragma once
// Palette joining: two pictures get one common palette of at most 254 of their colours
// plus black (entry 254) and white (entry 255), so that they can share one 8-bit picture.

#include "core/base/geometry.h"
#include "core/base/gridrecords.h"
#include "core/palette/palette.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Chooses how many of the colours of A and of B are kept when together they hold more
// than 254, walking both count lists (each sorted, largest first): a colour of B is kept
// while it is more used than the next colour of A and ranks within 254, a tie going to A;
// when a colour of B is used no more than any colour of A and A holds at most 254, A keeps
// all its colours and B the rest of the 254. When one list is empty the other keeps up to
// 254 colours.
void ChooseJoinColours(const std::vector<std::int64_t> &countsA, const std::vector<std::int64_t> &countsB,
    int &keepA, int &keepB);

// The common palette of the used colours of A and B. A colour used by both is kept once.
// When more than 254 colours remain, the most used ones are kept (ChooseJoinColours);
// cells of dropped colours later move to the nearest kept colour. Palette holds A's kept
// colours, then B's, black in the unused entries, black at 254 and white at 255; Pairs is
// its pair list and Count the number of kept colours plus the two fixed ones.
void JointPalette(const QImage &a, const QImage &b, TPalettePairs &pairs, int &count, TPalette256 &palette);

// JointPalette, then both pictures take that palette, every cell moving to its nearest colour.
void MergeTwoPicturePalettes(QImage &a, QImage &b);

// Makes Dest a new 8-bit picture of SizeRect's width and height with Palette, every cell 0,
// and copies A at RectA's top-left and B at RectB's top-left, each clipped to its rectangle
// and to Dest. False, and Dest unchanged, when the size is not 1 to 65535 on each side.
bool ComposeJoin(QImage &dest, const TPalette256 &palette, const TRect &sizeRect, const QImage &b,
    const QImage &a, const TRect &rectA, const TRect &rectB);

// The arrangement of two pictures for linking: A and B take one joint palette
// (MergeTwoPicturePalettes) and are composed into Dest, A left of B when Direction is 1,
// A above B otherwise (LayoutLeftRight, LayoutTopBottom); cells that neither covers hold
// index 0. RectA and RectB receive the places of the two pictures in Dest. False, with
// nothing changed, when a picture is not 8-bit or the result would exceed 65535 on a side.
bool MergePalettesForLink(QImage &a, QImage &b, int direction, QImage &dest, TRect &rectA, TRect &rectB);

// --- Joins of two pictures into one ------------------------------------------------------
// Direction 1 puts A left of B, direction 0 A above B. The pictures themselves never
// change: each join works on copies and makes Dest a new 8-bit picture. A result over 65535
// cells on a side is refused with a message before anything is allocated; so is a picture
// that is not 8-bit. Dest is unchanged whenever the result is false.

// The two pictures side by side with one palette of their used colours (two pictures of
// the same palette keep their indexes and that palette); A loses Offset columns (rows) at
// the seam, held to 0 .. its width (height) - 1. Both pictures start at the top (left).
bool UnitePicturePalettes(
    const QImage &a, const QImage &b, int direction, int offset, QImage &dest, QString *error = nullptr);
// The same arrangement with one picture taking the other's palette, each of its cells moved
// to the nearest colour: B takes A's palette when keepA, otherwise A takes B's. A stays first.
bool UnitePalettesByChoice(const QImage &a, const QImage &b, int direction, int offset, bool keepA,
    QImage &dest, QString *error = nullptr);

// A guide line: two points of one picture in that picture's own cells.
using TGuideLine = std::array<TPoint, 2>;

// The two pictures joined where their guide lines meet, with one palette as in
// UnitePicturePalettes. Top-bottom: A keeps its rows above the row of its line's first
// point, B its rows from the row of its line's first point down, and B is shifted so that
// the two first points meet; left-right is the twin with columns. Cells neither covers are
// index 0. A first point outside its picture is refused.
bool JoinPicturesAlongLines(const QImage &a, const QImage &b, int direction, const TGuideLine &lineA,
    const TGuideLine &lineB, QImage &dest, QString *error = nullptr);

// The join along two guide lines drawn over two scans of one design: Points holds exactly
// four points, the first two a line on A, the last two a line on B, each in its picture's
// own cells. Each line's points are ordered along the seam (left to right for top-bottom,
// top to bottom for left-right); B is turned about its centre by the smaller angle between
// the lines (at most a quarter turn either way) so that its line runs as A's does, its
// points are turned with it, and the pictures are joined by JoinPicturesAlongLines. With
// any other number of points nothing happens: false without a message.
bool AutoLinkByLines(const QImage &a, const QImage &b, int direction, const std::vector<TPoint> &points,
    QImage &dest, QString *error = nullptr);
// The turn AutoLinkByLines gives B (radians, RotateAboutCentre's sense), and where a cell of
// a W x H picture lands when the picture is turned by it. Both for the window that shows
// the guide lines and for the tests.
double GuideLinesTurn(int direction, TGuideLine lineA, TGuideLine lineB);
TPoint TurnedCell(TPoint cell, QSize size, double angle);
