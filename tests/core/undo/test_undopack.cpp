// Packed cell planes and the undo store's picture files: exact round trips over band and
// word edges, all-or-nothing replay of a damaged plane, and readers that refuse cut,
// lengthened and inconsistent bytes.
#include "core/palette/palette.h"
#include "core/undo/undofiles.h"
#include "core/undo/undopack.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtEndian>

#include <cstdint>

namespace {

// Every cell set from its place and a seed, in runs of 1 to 4 like point paper.
QImage filled(int w, int h, std::uint32_t seed)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            if (x % 4 == 0)
                seed = seed * 1664525u + 1013904223u;
            row[x] = std::uint8_t((seed >> 24) % (1 + (x % 4)) * 60);
        }
    }
    return img;
}

} // namespace

// The XOR of two pictures over a box, applied to the first, gives the second inside the box
// and leaves everything outside; sizes that end inside a machine word, a single row and
// several bands with a short last one.
TEST(PackedPlane, XorOverABoxTurnsOnePictureIntoTheOther)
{
    struct Case {
        const char *name;
        int w, h;
        QRect box;
    } cases[] = {
        { "one cell", 1, 1, QRect(0, 0, 1, 1) },
        { "odd width", 13, 5, QRect(0, 0, 13, 5) },
        { "inner box", 40, 30, QRect(3, 7, 29, 11) },
        { "several bands, short last", 700, 1201, QRect(0, 0, 700, 1201) },
        { "inner box over several bands", 700, 1201, QRect(5, 3, 690, 1190) },
        { "one long row", 65535, 1, QRect(0, 0, 65535, 1) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage before = filled(c.w, c.h, 1);
        QImage after = before.copy();
        const QImage other = filled(c.w, c.h, 2);
        for (int y = c.box.top(); y <= c.box.bottom(); ++y)
            for (int x = c.box.left(); x <= c.box.right(); ++x)
                after.scanLine(y)[x] = other.constScanLine(y)[x];
        const TPackedPlane plane = PackPlane(after, &before, c.box);
        ASSERT_EQ(plane.Width, c.box.width());
        ASSERT_EQ(plane.Height, c.box.height());

        QImage work = before.copy();
        QImage copy = NewPicture(c.w, c.h, GreyPalette());
        copy.fill(9);
        ASSERT_TRUE(XorPlaneInto(plane, work, c.box.topLeft(), &copy));
        EXPECT_EQ(PictureRows(work), PictureRows(after));
        EXPECT_EQ(PictureRows(copy.copy(c.box)), PictureRows(after.copy(c.box)));
        // The copy takes the box's rows and nothing beside or below them.
        int outside = 0;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                outside += !c.box.contains(x, y) && copy.constScanLine(y)[x] != 9;
        EXPECT_EQ(outside, 0);
        ASSERT_TRUE(XorPlaneInto(plane, work, c.box.topLeft()));
        EXPECT_EQ(PictureRows(work), PictureRows(before));

        // The plain cells come back through the byte form as well.
        TPackedPlane decoded;
        ASSERT_TRUE(DecodePackedPlane(EncodePackedPlane(PackPlane(after, nullptr, c.box)), 0, decoded));
        QImage zero = NewPicture(c.w, c.h, GreyPalette());
        zero.fill(0);
        ASSERT_TRUE(XorPlaneInto(decoded, zero, c.box.topLeft()));
        EXPECT_EQ(PictureRows(zero.copy(c.box)), PictureRows(after.copy(c.box)));
    }
}

// A band that does not unpack (changed or cut) leaves both pictures exactly as they were,
// however many bands were applied before it was met.
TEST(PackedPlane, DamagedBandChangesNothing)
{
    const QImage a = filled(600, 1500, 3), b = filled(600, 1500, 4);
    const TPackedPlane good = PackPlane(a, &b, a.rect());
    ASSERT_GE(good.BandCount(), 3);
    struct Case {
        const char *name;
        int band;
        bool cut;
    } cases[] = { { "first band changed", 0, false }, { "middle band changed", 1, false },
        { "last band cut", good.BandCount() - 1, true } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPackedPlane bad = good;
        QByteArray &frame = bad.Bands[std::size_t(c.band)];
        if (c.cut)
            frame.chop(5);
        else
            frame[frame.size() / 2] = char(frame[frame.size() / 2] ^ 0x5a);
        QImage work = b.copy(), copy = a.copy();
        EXPECT_FALSE(XorPlaneInto(bad, work, QPoint(0, 0), &copy));
        EXPECT_EQ(PictureRows(work), PictureRows(b));
        EXPECT_EQ(PictureRows(copy), PictureRows(a));
    }
    // A plane that does not fit where it is put is refused before anything is written.
    QImage small = b.copy(0, 0, 600, 1000);
    EXPECT_FALSE(XorPlaneInto(good, small, QPoint(0, 0)));
    EXPECT_EQ(PictureRows(small), PictureRows(b.copy(0, 0, 600, 1000)));
    QImage shifted = b.copy();
    EXPECT_FALSE(XorPlaneInto(good, shifted, QPoint(1, 0)));
    EXPECT_EQ(PictureRows(shifted), PictureRows(b));
}

// The picture file: cells and colour table exactly back; every cut, a byte more, and
// headers that promise other sizes are refused with the output left alone.
TEST(UndoPictureFile, RoundTripAndRefusals)
{
    TPalette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t(i * 3), std::uint8_t(255 - i), 0 };
    QImage picture = filled(333, 901, 5);
    SetBitmapPalette(picture, pal);
    const QByteArray bytes = EncodeUndoPicture(picture);
    QImage back;
    ASSERT_TRUE(DecodeUndoPicture(bytes, back));
    EXPECT_EQ(back, picture);
    EXPECT_EQ(back.colorTable(), picture.colorTable());

    const QImage untouched = filled(2, 2, 6);
    auto refused = [&](const QByteArray &b) {
        QImage out = untouched;
        return !DecodeUndoPicture(b, out) && out == untouched;
    };
    for (const qsizetype cut : { qsizetype(0), qsizetype(4), qsizetype(8), qsizetype(8 + 1024),
             qsizetype(8 + 1024 + 19), bytes.size() / 2, bytes.size() - 1 })
        EXPECT_TRUE(refused(bytes.left(cut))) << cut;
    EXPECT_TRUE(refused(bytes + 'x'));
    struct Patch {
        const char *name;
        qsizetype at;
        std::uint32_t value;
    } patches[] = { { "more colours than 256", 4, 257 }, { "wider", 8 + 1024 + 4, 334 },
        { "taller", 8 + 1024 + 8, 902 }, { "taller than a picture may be", 8 + 1024 + 8, 70000 },
        { "other band height", 8 + 1024 + 12, 7 } };
    for (const Patch &p : patches) {
        QByteArray b = bytes;
        qToLittleEndian(p.value, b.data() + p.at);
        EXPECT_TRUE(refused(b)) << p.name;
    }
}

// The file is written piece by piece and read band by band: its bytes are exactly the
// encoded form, it reads back exactly, and a file cut short or one byte longer is refused
// with the picture left alone (the reader stops at the file's end, not at a size it trusts).
TEST(UndoPictureFile, StreamedFileMatchesTheEncodedFormAndRefusesCutOrLongerFiles)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("step.tmp");
    const QImage picture = filled(1001, 700, 9); // several bands, the last one short
    QString error;
    ASSERT_TRUE(WriteUndoPicture(picture, name, &error)) << error.toStdString();
    const QByteArray bytes = ReadAll(name);
    EXPECT_EQ(bytes, EncodeUndoPicture(picture));
    QImage back;
    ASSERT_TRUE(ReadUndoPicture(name, back, &error)) << error.toStdString();
    EXPECT_EQ(back, picture);
    EXPECT_EQ(back.colorTable(), picture.colorTable());

    const QImage untouched = filled(3, 3, 1);
    for (const QByteArray &b : { bytes.left(bytes.size() - 1), bytes.left(1500), bytes + "x" }) {
        ASSERT_TRUE(WriteAll(name, b));
        QImage out = untouched;
        error.clear();
        EXPECT_FALSE(ReadUndoPicture(name, out, &error)) << b.size();
        EXPECT_EQ(out, untouched);
        EXPECT_TRUE(error.contains(name)) << error.toStdString();
    }
}
