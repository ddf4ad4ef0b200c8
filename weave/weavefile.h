#pragma once
// The weave (组织) file (.OVW).
// The weave file (.OVW): one weave, little-endian, no padding (padding other tools add
// after the cells is ignored when reading).
//   0     1    length of the header text: 240
//   1   239    header text: the format sentence, the maker's notice, blanks
//   240   4    Int32 W, number of warps
//   244   4    Int32 H, number of wefts
//   248 W*H    cells warp by warp (the H bytes of warp 0 first), 1 or 0
// The header text is 240 characters of which only the first 239 are stored.

#include "core/base/document.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

constexpr int WeaveFileHeaderSize = 240;
constexpr int WeaveFileDataOffset = 248;
// The longest weave file: 65535 warps of 65535 wefts.
constexpr qint64 MaxWeaveFileSize = WeaveFileDataOffset + qint64(65535) * 65535;

// The file's bytes for a weave: a cell is stored as 1 when it equals 1, else 0.
QByteArray WeaveFileBytes(const TWeaveArray &cells);

// Writes the weave file atomically. An empty weave (no warps) writes nothing and fails.
bool WriteWeaveFile(const QString &fileName, const TWeaveArray &cells, QString *error = nullptr);

// Reads a weave file's bytes. The header must name the format (".OVW ", "by KDV&PNH",
// "Beta 1.01"), the sizes must be 0 to 65535 and the file must hold the cells they say;
// bytes after the cells are ignored.
// Cells are taken as stored (values other than 0 and 1 are kept). On failure cells is
// unchanged and *error says why.
bool ReadWeaveBytes(const QByteArray &bytes, TWeaveArray &cells, QString *error = nullptr);
// The same from a device, read from position 0.
bool ReadWeaveStream(QIODevice &stream, TWeaveArray &cells, QString *error = nullptr);
bool LoadWeaveFile(const QString &fileName, TWeaveArray &cells, QString *error = nullptr);
