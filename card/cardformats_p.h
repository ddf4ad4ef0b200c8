#pragma once
// TCardRead: internal entry points of the controller card (纹板) codecs.
// Internal entry points of the controller card codecs (one source file per format family),
// dispatched by cardformats.cpp. Readers fill a TCardRead that is copied into the
// TWenBanIO only when the whole read succeeded.

#include "card/cardbytes.h"

#include <QByteArray>
#include <QString>

struct TCardRead {
    TMultiByteArray Card;
    int ColCount = 0;
    int RowCount = 0;
    bool HasReserved = false; // UPT keeps the card count in the codec's reserved field too
    std::uint16_t Reserved = 0;
    // GRD and WB mark the column of every positioning hole (the row is not kept: row 0).
    bool HasHoles = false;
    TPosArray Holes;
    // The jacquard needles the file states (a DAT/P32 trailer), or the needle count a
    // header states when RowCount x ColCount cannot give it (QS); -1: RowCount x ColCount.
    int JacquardCount = -1;
    // A VBJ128 trailer's needle count when it is below the 128 of the rows read; else 0.
    int StatedNeedles = 0;
};

// Checks a reader's counts: at most 65,535 cards, rows of at least one byte when there are
// cards, and n rows that take `span` bytes each, one every `stride` bytes from `start`,
// lying inside a file of `size` bytes. Then sizes out.Card to n zeroed rows of rowLength
// bytes (span when not given; never more than span).
bool PrepareCardRows(TCardRead &out, qint64 size, qint64 start, qint64 n, qint64 stride, qint64 span,
    const char *format, QString *error, qint64 rowLength = -1);

bool ReadEPFile(const QByteArray &bytes, TCardRead &out, QString *error);
bool ReadQSFile(const QByteArray &bytes, TCardRead &out, QString *error);
bool ReadUPTFile(const QByteArray &bytes, TCardRead &out, QString *error);
bool ReadGRDFile(const QByteArray &bytes, TCardRead &out, QString *error);
bool ReadWBFile(const QByteArray &bytes, TCardRead &out, QString *error);
bool ReadDatFile(const QByteArray &bytes, TCardRead &out, QString *error);
// ext: the upper-case extension of fileName; further part files are found next to fileName.
bool ReadJC5File(
    const QByteArray &bytes, const QString &fileName, const QString &ext, TCardRead &out, QString *error);
