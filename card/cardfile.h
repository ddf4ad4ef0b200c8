#pragma once
// TWenBanIO: the card (纹板) container.
// The card container: the one class through which card files are read and written.
// A loaded card is also rendered as a monochrome picture (one pixel per needle, one line
// per card) so that the shell can open card files like pictures.
//
// Card rows: one row per card, eight needles per byte, the most significant bit of the
// first byte being the first needle; a row has (RowCount x ColCount + 7) / 8 bytes.

#include "core/base/document.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

#include <cstdint>

class TWenBanIO {
public:
    std::uint16_t CardCount = 0; // number of card rows
    std::uint16_t ColCount = 0; // sample-card columns (pictures saved as cards: bytes per row)
    std::uint16_t RowCount = 0; // sample-card rows, needles per column (8 for pictures)
    TMultiByteArray Card; // the card rows, shared with the caller
    std::uint8_t YKStyle = 0; // sample-card style ordinal
    std::int32_t YKWidth = 0; // size of the sample-card picture in pixels
    std::int32_t YKHeight = 0;
    std::uint16_t Reserved = 0; // kept in .OVWB files only
    TPosArray Holes; // the sample card's positioning holes
    QString Extension; // upper-case extension of the file being loaded, with the dot
    QString FileName; // full name of the file being loaded
    // Jacquard needles, which order the rows of DAT/P32 files: the sample card's for a
    // built card; for a card read from a file the count its DAT/P32 trailer states, else
    // the card's needle count.
    std::uint16_t JacquardCount = 0;
    // The needle count a VBJ128 file's trailer stated when the card is narrower than the
    // controller's 16-byte rows it is read as; 0 for any other card. A VBJ128 file written
    // from the card states it again, so that a card saved again says what was read.
    std::uint16_t StatedNeedles = 0;

    QImage Bitmap; // the rendering of a loaded card or picture

    // What the last successful load gave: a card, a weave (in Card as [warp][weft]) or
    // only a picture.
    enum TContent { NoContent, CardContent, WeaveContent, PictureContent };
    TContent Content = NoContent;

    // Bytes per card row.
    int RowBytes() const { return int((qint64(RowCount) * ColCount + 7) / 8); }

    // Every load returns false with *error (when given) saying why.

    // Stores the upper-case extension and the file name, then reads the file's bytes and
    // loads them by extension.
    bool LoadFromFile(const QString &fileName, QString *error = nullptr);
    // Reads the whole stream (from its start) and loads it by Extension.
    bool LoadFromStream(QIODevice &stream, QString *error = nullptr);
    // Loads by Extension: the own card format, the controller formats, a weave file, or
    // the XY, WV and project-file pictures. A card is then rendered into Bitmap. A failed
    // read (or an extension no reader knows) gives false, an empty Bitmap and the card and
    // counts as they were.
    bool LoadFromBytes(const QByteArray &bytes, QString *error = nullptr);

    // Renders the card as a 1-bit picture (colour 0 black, 1 white; a raised needle is
    // white): one pixel per needle, one line per card, oriented by Extension: ".EP" first
    // card on top; ".JC5" and ".QS" last card on top, each line mirrored; ".UPT" first card
    // on top; any other, last card on top. False (with an empty Bitmap) when the
    // picture would be too large or cannot be allocated.
    bool RenderCard(QString *error = nullptr);
};

// The row of an extension in the program's file-extension table, -1 when absent.
int CardExtensionIndex(const QString &ext);
