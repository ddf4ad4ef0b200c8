#pragma once
// TUnitedColors: one palette for several pictures, and the multi-layer merge (多造合并).
// Pictures that are woven side by side again (the layers of a multi-layer design, the
// pictures of an interleave) must share one 8-bit picture and so one palette. Pictures that
// already share a palette keep their indexes. Otherwise every used colour keeps its exact
// red, green and blue while the union of the used colours fits 256 entries; beyond that the
// 254 most used colours are kept with black and white and every other colour moves to the
// nearest kept one.

#include "core/palette/palette.h"
#include "core/picture/imageproc.h"

#include <QImage>
#include <QList>
#include <QString>

#include <vector>

struct TUnitedColors {
    TPalette256 Palette {};
    // One map per picture from its indexes into Palette; empty when the pictures share one
    // palette and keep their indexes.
    std::vector<TIndexMap> Maps;
    // Colours used by more than one picture count once.
    int UsedColors = 0;
    // True when colours had to be dropped (moved to the nearest kept colour).
    bool Reduced = false;
};

// The common palette of the pictures' used colours, as above. With keepBlack, pure black
// counts as used although no cell may hold it (a picture that pads with black needs it).
// Used colours enter the palette in the order met (picture by picture, index by index);
// unused entries are black. When colours are dropped, the kept ones fill entries 0 to 253
// from the most used down (the first met among equals), black is 254 and white 255.
void UnitePictureColors(const QList<QImage> &pictures, TUnitedColors &united, bool keepBlack = false);

// The multi-layer merge: the layers, all of one size, woven side by side again in the
// order given: column c of layer i becomes column N * c + i of the result, N layers. One
// palette as UnitePictureColors gives it. False with a message, nothing allocated, for no
// layers, layers that are not 8-bit or differ in size, or a result wider than 65,535.
bool MergeLayerPictures(const QList<QImage> &layers, QImage &result, QString *error = nullptr);
