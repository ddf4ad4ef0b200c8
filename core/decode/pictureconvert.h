#pragma once
// Turning pictures of more than 8 bits per pixel into 8-bit palette pictures, and the
// guarantee of a pure white and a pure black entry in an 8-bit picture's palette.

#include "core/picture/picturecells.h"

#include <QImage>

// Nothing when Src is empty or already 8-bit (Format_Indexed8). Otherwise Dest becomes
// the 8-bit version of Src with a palette of at most 256 colours: pixels are grouped
// into colour cells (the top four bits of each channel), the 256 most frequent cells
// become the palette in order of frequency (unused entries hold (7, 7, 7)), and the
// pixels of less frequent cells take the nearest palette colour.
// Large pictures are counted and mapped in bands of rows on several threads; the
// result does not depend on the number of threads.
void ConvertPictureTo8Bit(const QImage &src, QImage &dest);

// ConvertPictureTo8Bit followed by EnsureBlackAndWhite, with the same result, in one
// pass over the pixels: the loader's path for true-colour pictures.
void ConvertPictureTo8BitWithBlackAndWhite(const QImage &src, QImage &dest);

// ConvertPictureTo8BitWithBlackAndWhite, with the same result, for a Format_RGB32
// picture whose cells are `cells` (4 x width bytes a row) and that no other QImage
// shares: the 8-bit cells are written over the 32-bit ones, and the memory, shrunk to
// them, becomes dest's (cells is left empty, src null). So the conversion needs no
// memory beyond the picture's own. Nothing happens when src is not such a picture.
void ConvertPictureTo8BitInPlace(QImage &src, TPictureCells &cells, QImage &dest);

// For an 8-bit picture whose palette lacks pure white or pure black: a missing white
// goes into entry 255; a missing black into entry 255 unless that entry is now white,
// else into entry 254. The cells of the overwritten entries move to the entry nearest
// to their old colour; every other cell keeps its index. Nothing happens when both
// colours are present or the picture is not 8-bit.
void EnsureBlackAndWhite(QImage &bmp);
