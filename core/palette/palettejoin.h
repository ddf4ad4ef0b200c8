#pragma once
// Palette joining: two pictures get one common palette of at most 254 of their colours
// plus black (entry 254) and white (entry 255), so that they can share one 8-bit picture.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"

#include <QImage>

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
