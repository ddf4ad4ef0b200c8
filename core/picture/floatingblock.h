#pragma once
// TFloatingBlock: the floating picture's clipboard block ("CF_BMP") and its shape entry.
// The block carries a floating picture between documents and program instances: its
// untransformed picture as a whole 8-bit bitmap file, then (little-endian) the nine handle
// points, the angle (IEEE double, radians), position, centre, frame and bounds (points are
// two 32-bit integers, rectangles four: Left, Top, Right, Bottom inclusive), the key colour
// (32 bits), the colour-filter byte, the count n (32 bits) and n kept indexes, the count m
// (32 bits) and m kept colours (32 bits each).
//
// Beside it travels the picture's shape: an 8-bit bitmap of the picture's size whose cells
// are 1 where the picture is opaque and 0 outside the selection's shape. A block without
// one takes its shape from the key colour.
//
// Both come from any process: the readers check every field before use and fail with a
// message, leaving the caller's record untouched.
#include "core/base/document.h"
#include "core/base/geometry.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The clipboard format of the shape entry; its MIME type is ClipboardMimeType of it.
inline const char *const CF_BMP_Shape = "CF_BMP_Shape";

// The largest distance of a frame coordinate from cell (0, 0) that a block may hold: twice
// the largest pattern side, so that a frame moved anywhere over a pattern stays far from
// the 32-bit limits.
constexpr std::int32_t MaxFloatingCoordinate = 131070;

struct TFloatingBlock {
    QImage Companion; // 8-bit, 256 colour-table entries
    std::array<TPoint, 9> HandlePoints {};
    double Angle = 0;
    TPoint Position;
    TPoint Centre;
    TRect SelRect; // Right and Bottom inclusive
    TRect Bounds; // Right and Bottom inclusive
    TColor KeyColor = 0;
    bool ColorFilter = false;
    std::vector<std::uint8_t> KeptIndexes; // ascending
    std::vector<TColor> KeptColors;
};

// The bytes of the block; empty when the companion is not an 8-bit picture.
QByteArray EncodeFloatingBlock(const TFloatingBlock &block);
// Reads a block. It must hold an 8-bit bitmap of 1 to 65,535 cells a side with every pixel
// present, every fixed field, a finite angle, a frame of 1 to 65,535 cells a side whose
// turned picture fits the picture limits, points within +-MaxFloatingCoordinate, a filter
// byte of 0 or 1 and both kept lists (0 to 256 entries) whole. Bytes after the lists are
// ignored. False with a message otherwise; block is then unchanged.
bool DecodeFloatingBlock(const QByteArray &bytes, TFloatingBlock &block, QString *error = nullptr);

// The shape entry of an 8-bit mask (cells 0 or 1); empty for a null mask.
QByteArray EncodeFloatingShape(const QImage &mask);
// Reads a shape entry for a picture of the given size: an 8-bit bitmap of that size whose
// cells are all 0 or 1. False with a message otherwise (mask unchanged).
bool DecodeFloatingShape(const QByteArray &bytes, QSize size, QImage &mask, QString *error = nullptr);

// A mask of the given size with every cell opaque (1), or null when it cannot be made.
QImage NewOpaqueMask(int width, int height);

// The size of the picture that RotatePictureByAngle makes of a width x height picture
// turned by angle (radians), as 64-bit numbers so that no size overflows.
void TurnedPictureSize(qint64 width, qint64 height, double angle, qint64 &turnedWidth, qint64 &turnedHeight);
// True when a frame of width x height cells turned by angle makes a picture of at most
// MaxPictureSide cells a side whose picture and mask fit the memory budget; otherwise
// false with a message naming the size.
bool CheckTurnedPictureSize(qint64 width, qint64 height, double angle, QString *error = nullptr);
