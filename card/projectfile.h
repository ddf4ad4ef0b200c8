#pragma once
// The pattern project file (.OVY): a whole pattern document in one file.
// Little-endian; every count is kept by the readers through its low 16 bits only, so the
// writer refuses any count above 65,535.
//
// Version 2 (written):
//   0   u16 2000, u8 1, u8 version (0, 1 or 2), u32 0
//   8   48 bytes: i32 Warps, Wefts, reserved, reserved, WeftRepeat, WarpRepeat, reserved,
//       reserved, f64 WarpDensity, f64 WeftDensity
//   56  u32 L, L bytes of the sample-card file name (GBK)
//   ..  the picture as a whole 8-bit BMP file image; the fields go on after its pixel data
//   ..  u32 C, C colours (red in the low byte)
//   ..  u32 2 x E, u32 W, E x W bytes of PickRows, E x W bytes of RegulatorRows
//   ..  u32 N1, N1 byte tables (ColorWeaves); u32 N2, N2 byte tables (TechWeaves)
//   ..  one byte table (WeftDensRows)
//   ..  4 x i32 piece layout: piece height, piece width, piece count, gap
//   ..  to the end: N1 + N2 name lines (GBK), each ended by CR LF
// A byte table is u32 rows, u32 row length, then the rows. Version 1 has no piece layout;
// version 0 neither piece layout nor names.
// Legacy (no header: bytes 2 and 3 are not 1 and 0..2): 132 bytes not read; u32 A, u32 B
// and A x B bytes of PickRows then RegulatorRows; u32 C and C colours; 4 bytes; the
// 48-byte block; u32 not used; a BMP file image of any depth; u32 K1 [u32 S1, S1 bytes of
// K1 colour-weave file names]; u32 K2 [u32 S2, S2 bytes of K2 technical-weave file
// names]. The weaves themselves are in the weave files the names give.
//
// The readers fill a plain TProjectRecord and touch nothing else; the caller applies the
// record only when the whole file was read (editor/patterngridproject.h).

#include "core/base/bytereader.h"
#include "core/base/document.h"
#include "core/base/filewrite.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// The four piece-layout values of the pattern grid, in file order: piece height, piece
// width, piece count and the magic stick's gap.
using TPieceLayout = std::array<std::int32_t, 4>;

// What a project file gives.
struct TProjectRecord {
    // Every stored field of the document record; Picture stays null (the picture is below).
    TMesh Mesh;
    QImage Picture; // 8-bit, 256 colour-table entries
    TPieceLayout PieceLayout { 1, 4, 0, 0 }; // as a new grid holds them
    bool HasPieceLayout = false; // version 2 only
    int Version = -1; // 0, 1, 2; -1 for the legacy layout
    // Legacy files: the weave files named but not found (or not readable); their slots
    // hold default weaves.
    QStringList MissingWeaves;
};

// The largest project file read: a picture of the pictures' budget with its tables.
constexpr qint64 MaxProjectFileSize = qint64(2) << 30;
// The largest count the file can hold (the readers keep 16 bits).
constexpr qint64 MaxProjectCount = 65535;

// The byte at which the picture's BMP image starts, for every layout: the full readers
// and the card codec's preview read the picture from here. False when the file is too
// short to reach it.
bool ProjectPictureOffset(const QByteArray &bytes, qint64 &offset, bool *legacy = nullptr);

// The picture's BMP image at the reader's position, as an 8-bit picture with 256
// colour-table entries; the reader then stands right after its pixel data. 8-bit bitmaps
// keep their indexes and colour table, 1- to 4-bit ones their indexes; deeper ones are
// reduced to 8 bits. Fails with a message, the reader not moved, when the image is
// damaged or its pixel data does not end where its header's file size says.
bool ReadProjectPicture(TByteReader &in, QImage &picture, QString *error = nullptr);

// The byte table: u32 rows, u32 row length, the rows (each row cut or padded with zeros
// to the length of row 0).
void WriteByteTable(QByteArray &out, const TWeaveArray &table);
// Fails, leaving table as it was, when the counts ask for more bytes than are left.
bool ReadByteTable(TByteReader &in, TWeaveArray &table);
void WriteProjectTail(QByteArray &out, const TPieceLayout &values);
bool ReadProjectTail(TByteReader &in, TPieceLayout &values);

// The version-2 bytes of a document: the record's stored fields, its picture and the
// piece layout. N1 and N2 are the slot counts the record holds, with exactly one name line
// per slot (names missing are written empty, names beyond the slots are not written).
// Fails with a message, giving nothing, when the picture is not a non-empty 8-bit picture,
// a count is above 65,535, or a name cannot be encoded in GBK or holds a line break.
bool EncodeProjectFile(const TMesh &mesh, const QImage &picture, const TPieceLayout &pieceLayout,
    QByteArray &bytes, QString *error = nullptr);
// The same bytes handed to sink in pieces, the picture straight from its rows (a streamed
// save); the same refusals, and false when sink refused a piece.
bool WriteProjectContent(const TMesh &mesh, const QImage &picture, const TPieceLayout &pieceLayout,
    const TFileSink &sink, QString *error = nullptr);

// The version readers, from offset 8, and the legacy reader, from offset 0. Each fills
// record only when the whole layout was read.
bool ReadProjectFileV0(TByteReader &in, TProjectRecord &record, QString *error = nullptr);
bool ReadProjectFileV1(TByteReader &in, TProjectRecord &record, QString *error = nullptr);
bool ReadProjectFileV2(TByteReader &in, TProjectRecord &record, QString *error = nullptr);
// weaveFolders: where the weave files the legacy layout names are looked up by base name,
// letter case ignored, in the order given (see ProjectWeaveFolders).
bool ReadProjectFileLegacy(
    TByteReader &in, const QStringList &weaveFolders, TProjectRecord &record, QString *error = nullptr);

// Chooses the reader by bytes 2 and 3: 1 and 0, 1 or 2 go to the version readers, every
// other header to the legacy reader. record is replaced only on success.
bool ReadProjectBytes(const QByteArray &bytes, const QStringList &weaveFolders, TProjectRecord &record,
    QString *error = nullptr);
// The project's own folder, then the weave folder and each of its libraries.
QStringList ProjectWeaveFolders(const QString &projectFileName);
// Reads a project file (a regular file of at most MaxProjectFileSize bytes).
bool LoadProjectFile(const QString &fileName, TProjectRecord &record, QString *error = nullptr);
// The message that lists the weave files a legacy project named but that were not found.
QString MissingWeavesMessage(const QStringList &names);
