#pragma once
// Packed cell planes: a box of 8-bit cells (or the XOR of two pictures over a box) kept as
// zstd frames, one frame per band of rows. Point paper packs very well, and a band can be
// packed and unpacked on its own, so that large areas use all cores and no buffer the
// size of the box is ever made.

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QRect>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct TPackedPlane {
    int Width = 0; // cells per row
    int Height = 0; // rows
    int RowsPerBand = 0;
    std::vector<QByteArray> Bands; // zstd frames with checksums, top band first

    int BandCount() const { return int(Bands.size()); }
    // Bytes kept for the cells (the frames).
    std::size_t PackedBytes() const;
};

// Packs the cells of a inside box (which must lie inside a); with b given (same size as
// a), the XOR of a and b instead. Both pictures are 8-bit.
TPackedPlane PackPlane(const QImage &a, const QImage *b, const QRect &box);

// Unpacks every band; apply(firstRow, rows, cells) gets the rows of one band (rows x Width
// cells, row after row) and may run on several threads at once for different bands, so it
// must write only those rows. False when a band is damaged: bandsDone then lists which
// bands were applied, so that the caller can take them back.
bool UnpackPlane(const TPackedPlane &plane,
    const std::function<void(int firstRow, int rows, const std::uint8_t *cells)> &apply,
    std::vector<bool> *bandsDone = nullptr);

// XORs the plane into dest at box.topLeft() (rows and columns of the box); with copyTo, the
// resulting rows of the box are copied there as well (same size as dest). All or nothing:
// on a damaged band dest and copyTo are left as they were and false is returned.
bool XorPlaneInto(const TPackedPlane &plane, QImage &dest, const QPoint &at, QImage *copyTo = nullptr);

// The plane as bytes (width, height, rows per band, band sizes, bands) and back; the reader
// refuses anything that does not add up, leaving plane untouched.
QByteArray EncodePackedPlane(const TPackedPlane &plane);
bool DecodePackedPlane(const QByteArray &bytes, qsizetype offset, TPackedPlane &plane);
// The same bytes handed to sink piece by piece (no buffer of the whole plane); false when
// sink refused a piece.
bool WritePackedPlane(const TPackedPlane &plane, const std::function<bool(const char *, qint64)> &sink);
// The same form read from in, from its position to its very end (a random-access device:
// a file or a buffer), a band at a time; the same checks as DecodePackedPlane.
bool ReadPackedPlane(QIODevice &in, TPackedPlane &plane);
