// The pattern grid model: zoom arithmetic, the reduced view, loading and saving, palette
// changes and resizing.
#include "editor/patterngrid.h"

#include "card/cardfile.h"
#include "core/picture/bmpfile.h"
#include "core/picture/imageproc.h"
#include "core/picture/pcxfile.h"
#include "core/settings/sharedstate.h"
#include "shippedlanguage.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

void Show(TPatternGrid &g, const QImage &picture, int level, double warp = 1.0, double weft = 1.0)
{
    g.SetWarpDensity(warp);
    g.SetWeftDensity(weft);
    g.SetClientSize(200, 200);
    g.SetPicture(picture);
    g.ReadPaletteFromPicture();
    g.RebuildDisplayBitmap();
    g.SetZoom(level);
}

QImage Blank(int w, int h, int index = 0)
{
    QImage img = NewPicture(w, h, GreyPalette());
    img.fill(index);
    return img;
}

} // namespace

TEST(PatternGrid, CellSizeAndGridLinesPerZoomLevel)
{
    struct Case {
        int level;
        double warp, weft;
        int colWidth, rowHeight, lineWidth;
    } cases[] = {
        { 9, 1, 1, 1, 1, 0 }, { 10, 1, 1, 1, 1, 1 }, { 12, 1, 1, 3, 3, 1 }, { 24, 1, 1, 15, 15, 1 },
        { 12, 60, 30, 3, 7, 1 }, // round(4 x 2) - 1
        { 13, 30, 60, 4, 1, 1 }, // round(5 x 0.5) = 2, halves to even
        { 24, 1, 0, 16, 1, 0 }, // no weft density: rows of 1 pixel, no grid lines
        { 24, 0, 1, 16, 1, 0 }, { 5, 60, 30, 1, 1, 0 }, { 0, 1, 1, 1, 1, 0 },
        { 15, 29, 14, 6, 13, 1 }, // 7 x 29 / 14 = 14.5 exactly: 14, less the line
    };
    for (const Case &c : cases) {
        TPatternGrid g;
        Show(g, Blank(20, 20), c.level, c.warp, c.weft);
        EXPECT_EQ(g.DefaultColWidth(), c.colWidth) << "level " << c.level;
        EXPECT_EQ(g.DefaultRowHeight(), c.rowHeight) << "level " << c.level;
        EXPECT_EQ(g.GridLineWidth(), c.lineWidth) << "level " << c.level;
        if (c.level >= 9) {
            EXPECT_EQ(g.DefaultColWidth() + g.GridLineWidth(), c.level - 8);
        }
    }
}

TEST(PatternGrid, ReducedViewCountsAndCells)
{
    struct Case {
        int level;
        double warp, weft;
        double scaleX, scaleY;
        int cols, rows;
    } cases[] = {
        { 4, 1, 1, 0.5, 0.5, 50, 25 },
        { 0, 1, 1, 0.1, 0.1, 10, 5 },
        { 8, 1, 1, 0.9, 0.9, 90, 45 },
        { 4, 60, 30, 0.5, 1.0, 50, 50 },
        { 1, 60, 30, 0.2, 0.4, 20, 20 },
        { 4, 60, 0, 0.5, 0.5, 50, 25 },
        { 9, 60, 30, 1.0, 1.0, 100, 50 },
        { 12, 60, 30, 1.0, 1.0, 100, 50 },
    };
    for (const Case &c : cases) {
        TPatternGrid g;
        Show(g, Blank(100, 50), c.level, c.warp, c.weft);
        EXPECT_DOUBLE_EQ(g.ScaleX(), c.scaleX) << "level " << c.level;
        EXPECT_DOUBLE_EQ(g.ScaleY(), c.scaleY) << "level " << c.level;
        EXPECT_EQ(g.ColCount(), c.cols) << "level " << c.level;
        EXPECT_EQ(g.RowCount(), c.rows) << "level " << c.level;
    }
    // The counts are exact tenths of the picture, whatever the factors' rounding.
    {
        TPatternGrid g;
        Show(g, Blank(90, 90), 6);
        EXPECT_EQ(g.ColCount(), 63);
        EXPECT_EQ(g.RowCount(), 63);
    }
    // Extreme densities of a damaged document keep the view to a size it can lay out.
    for (const double warp : { 1e12, 1e300 }) {
        TPatternGrid g;
        Show(g, Blank(10, 65535), 8, warp, 1e-300);
        EXPECT_EQ(g.ColCount(), 9);
        EXPECT_EQ(g.RowCount(), 16 * 65535);
        QImage buffer;
        g.SetTopRow(g.Grid().MaxTopRow());
        g.Paint(buffer);
        EXPECT_EQ(buffer.pixel(0, 0), qRgb(0, 0, 0)) << "cell colour 0 of the grey palette";
    }
    // The reduced view drops rows and columns and never blends; it shows the cells that
    // resampling the picture to the reduced size keeps, the one under each cell's centre.
    TPatternGrid g;
    Show(g, MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 }, { 13, 14, 15, 16 } }), 4);
    EXPECT_EQ(PictureRows(g.ReducedBitmap()), (std::vector<std::vector<int>> { { 1, 3 }, { 9, 11 } }));
    g.SetZoom(9);
    EXPECT_TRUE(g.ReducedBitmap().isNull());
    EXPECT_EQ(g.ColCount(), 4);
    Show(g, MakePicture({ { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 } }), 2);
    EXPECT_EQ(PictureRows(g.ReducedBitmap()), (std::vector<std::vector<int>> { { 1, 4, 8 } }));
    QImage numbered = NewPicture(37, 23, GreyPalette());
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            numbered.scanLine(y)[x] = uchar((7 * x + 11 * y) % 256);
    Show(g, numbered, 5, 60, 30); // 0.6 across, 1.2 down: rows are repeated
    ASSERT_EQ(g.ColCount(), 22);
    ASSERT_EQ(g.RowCount(), 27);
    QImage resampled;
    ASSERT_TRUE(ResamplePicture(resampled, numbered, 22, 27, GreyPalette(), true));
    EXPECT_EQ(PictureRows(g.ReducedBitmap()), PictureRows(resampled));
}

TEST(PatternGrid, ZoomInAndOutStopAtTheirLimits)
{
    struct Case {
        int from;
        bool in;
        int to;
    } cases[] = { { 9, true, 12 }, { 22, true, 24 }, { 24, true, 24 }, { 9, false, 9 }, { 11, false, 9 },
        { 24, false, 21 }, { 4, false, 9 } };
    for (const Case &c : cases) {
        TPatternGrid g;
        Show(g, Blank(10, 10), c.from);
        c.in ? g.ZoomIn() : g.ZoomOut();
        EXPECT_EQ(g.ZoomLevel(), c.to) << c.from << (c.in ? " in" : " out");
        EXPECT_EQ(g.PrevZoomLevel(), c.from);
    }
    TPatternGrid g;
    Show(g, Blank(10, 10), 200);
    EXPECT_EQ(g.ZoomLevel(), 24);
}

TEST(PatternGrid, ANewPictureSetsTheCountsAtOnce)
{
    TPatternGrid g;
    Show(g, Blank(40, 30), 4);
    g.SetPicture(Blank(6, 4, 3));
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(PictureRows(g.ReducedBitmap()), (std::vector<std::vector<int>> { { 3, 3, 3 }, { 3, 3, 3 } }));
    g.SetZoom(12);
    g.SetPicture(Blank(5, 7));
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.RowCount(), 7);
    g.SetPicture(QImage());
    EXPECT_EQ(g.ColCount(), 0);
    EXPECT_EQ(g.RowCount(), 0);
}

TEST(PatternGrid, EmptyPictureHasNoCells)
{
    TPatternGrid g;
    g.SetZoom(12);
    EXPECT_EQ(g.ColCount(), 0);
    EXPECT_EQ(g.RowCount(), 0);
    QImage buffer;
    g.SetClientSize(30, 20);
    g.Paint(buffer);
    EXPECT_EQ(buffer.size(), QSize(30, 20));
    g.SetZoom(3);
    EXPECT_EQ(g.ColCount(), 0);
}

TEST(PatternGrid, LoadTakesPictureAndPaletteAndAFailedLoadChangesNothing)
{
    QTemporaryDir dir;
    TPalette256 pal = GreyPalette();
    pal[7] = { 200, 10, 10, 0 };
    const QString good = dir.filePath("good.bmp");
    ASSERT_TRUE(SaveBmp8File(MakePicture({ { 7, 1, 2 }, { 3, 4, 5 } }, pal), good));

    TPatternGrid g;
    g.SetZoom(12);
    g.SetForeColorIndex(4);
    g.SetBackColorIndex(5);
    ASSERT_TRUE(g.LoadPictureFile(good));
    EXPECT_EQ(PictureRows(g.Picture()), (std::vector<std::vector<int>> { { 7, 1, 2 }, { 3, 4, 5 } }));
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
    EXPECT_EQ(g.Palette()[7], pal[7]);
    EXPECT_EQ(g.DisplayPalette(), g.Palette());
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.ForeIndex(), 0);
    EXPECT_EQ(g.BackIndex(), 0);
    // The pens take their colours from the new palette.
    EXPECT_EQ(g.ForeColor(), PlainColor(pal[0]));
    EXPECT_EQ(g.BackColor(), PlainColor(pal[0]));
    EXPECT_EQ(g.RepeatInfo().UnitWidth, 3);

    const QByteArray bytes = ReadAll(good);
    struct Bad {
        const char *name;
        QByteArray content;
    } bad[] = {
        { "missing.bmp", {} },
        { "short.bmp", bytes.left(60) },
        { "empty.bmp", QByteArray() },
        { "noise.png", QByteArray("\x89PNG\r\n\x1a\nrubbish", 16) },
    };
    for (const Bad &b : bad) {
        const QString path = dir.filePath(b.name);
        if (QString(b.name) != "missing.bmp") {
            ASSERT_TRUE(WriteAll(path, b.content));
        }
        g.SetForeColorIndex(2);
        QString error;
        EXPECT_FALSE(g.LoadPictureFile(path, &error)) << b.name;
        EXPECT_FALSE(error.isEmpty()) << b.name;
        EXPECT_EQ(PictureRows(g.Picture()), (std::vector<std::vector<int>> { { 7, 1, 2 }, { 3, 4, 5 } }))
            << b.name;
        EXPECT_EQ(g.Palette()[7], pal[7]);
        EXPECT_EQ(g.ColCount(), 3);
        EXPECT_EQ(g.ForeIndex(), 2);
    }
}

TEST(PatternGrid, SaveWritesBmpAndRefusesUnknownTypes)
{
    QTemporaryDir dir;
    TPatternGrid g;
    Show(g, MakePicture({ { 1, 2 }, { 3, 250 } }), 9);
    const QString bmp = dir.filePath("out.BMP");
    ASSERT_TRUE(g.SaveToFile(bmp));
    QImage back;
    ASSERT_TRUE(LoadBmp8File(bmp, back));
    EXPECT_EQ(PictureRows(back), PictureRows(g.Picture()));
    const QString pcx = dir.filePath("out.pcx");
    ASSERT_TRUE(g.SaveToFile(pcx));
    QImage fromPcx;
    ASSERT_TRUE(DecodePcx8(ReadAll(pcx), fromPcx));
    EXPECT_EQ(PictureRows(fromPcx), PictureRows(g.Picture()));
    // A weave file: cells of the back colour are empty.
    TPatternGrid w;
    Show(w, MakePicture({ { 0, 5 }, { 5, 0 } }), 9);
    const QString ovw = dir.filePath("out.ovw");
    ASSERT_TRUE(w.SaveToFile(ovw));
    TWenBanIO io;
    ASSERT_TRUE(io.LoadFromFile(ovw));
    ASSERT_EQ(io.Content, TWenBanIO::WeaveContent);
    EXPECT_EQ(io.Card[0][0], 0);
    EXPECT_EQ(io.Card[1][0], 1);
    EXPECT_EQ(io.Card[0][1], 1);
    EXPECT_EQ(io.Card[1][1], 0);
    QString error;
    EXPECT_FALSE(g.SaveToFile(dir.filePath("out.xyz"), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("out.xyz")));
}

// A pattern saved as a QS card whose needle count is not 144 is written, and the caller
// gets the warning to show; a 144-needle card or another card type gives none.
TEST(PatternGrid, SaveAsQSReturnsTheNeedleWarning)
{
    const TShippedLanguageScope chinese(TShippedLanguage::SimplifiedChinese); // the texts read below
    QTemporaryDir dir;
    const struct {
        int width;
        const char *file;
        bool warned;
    } cases[] = {
        { 2, "two.QS", true },
        { 144, "full.qs", false },
        { 137, "pad.QS", false }, // 18 bytes a row: 144 needles
        { 2, "two.EP", false },
    };
    for (const auto &c : cases) {
        TPatternGrid g;
        Show(g, MakePicture({ std::vector<int>(std::size_t(c.width), 1) }), 9);
        QStringList warnings;
        QString error;
        ASSERT_TRUE(g.SaveToFile(dir.filePath(c.file), &warnings, &error)) << error.toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(c.file))) << c.file;
        EXPECT_EQ(
            warnings, c.warned ? QStringList { QString::fromUtf8("纹针数不等于 144 ! ") } : QStringList())
            << c.file;
    }
}

TEST(PatternGrid, AddBlackToPalette)
{
    // The palette step keeps its files in the private temporary folder.
    ASSERT_TRUE(InitSharedState());
    // Black present: its index (the lowest among equals).
    {
        TPatternGrid g;
        TPalette256 pal = GreyPalette();
        pal[0] = { 1, 1, 1, 0 };
        pal[9] = { 0, 0, 0, 0 };
        pal[12] = { 0, 0, 0, 0 };
        Show(g, MakePicture({ { 1, 2 } }, pal), 9);
        EXPECT_EQ(g.AddBlackToPalette(), 9);
        EXPECT_FALSE(g.Modified());
    }
    // No black: the first entry no cell uses becomes black, in the pictures too.
    {
        TPatternGrid g;
        TPalette256 pal = GreyPalette();
        pal[0] = { 5, 5, 5, 0 };
        Show(g, MakePicture({ { 0, 1 }, { 3, 2 } }, pal), 9);
        EXPECT_EQ(g.AddBlackToPalette(), 4);
        EXPECT_EQ(g.Palette()[4], (TPaletteEntry { 0, 0, 0, 0 }));
        EXPECT_EQ(g.DisplayPalette(), g.Palette());
        EXPECT_EQ(g.Picture().color(4), qRgb(0, 0, 0));
        EXPECT_EQ(g.RefBitmap().color(4), qRgb(0, 0, 0));
        EXPECT_TRUE(g.Modified());
        // The palette step undoes the change and redoes it.
        ASSERT_EQ(g.UndoStore().UndoCount(), 1);
        ASSERT_TRUE(g.UndoStore().Undo());
        EXPECT_EQ(g.Palette()[4], (TPaletteEntry { 4, 4, 4, 0 }));
        EXPECT_EQ(g.Picture().color(4), qRgb(4, 4, 4));
        ASSERT_TRUE(g.UndoStore().Redo());
        EXPECT_EQ(g.Palette()[4], (TPaletteEntry { 0, 0, 0, 0 }));
    }
    // No black and every entry in use: nothing changes.
    {
        TPatternGrid g;
        TPalette256 pal = GreyPalette();
        pal[0] = { 5, 5, 5, 0 };
        QImage full = NewPicture(256, 1, pal);
        for (int x = 0; x < 256; ++x)
            full.scanLine(0)[x] = uchar(x);
        Show(g, full, 9);
        EXPECT_EQ(g.AddBlackToPalette(), -1);
        EXPECT_EQ(g.Palette(), pal);
        EXPECT_FALSE(g.Modified());
        std::uint8_t index = 77;
        g.GetBackColorEntry(index);
        EXPECT_EQ(index, 77);
    }
}

TEST(PatternGrid, ResizingAddsCellsInTheBackColour)
{
    TPatternGrid g;
    Show(g, MakePicture({ { 1, 2 }, { 3, 4 } }), 9);
    g.SetBackColorIndex(9);
    g.SetColCount(3);
    g.SetRowCount(3);
    const std::vector<std::vector<int>> want { { 1, 2, 9 }, { 3, 4, 9 }, { 9, 9, 9 } };
    EXPECT_EQ(PictureRows(g.Picture()), want);
    EXPECT_EQ(PictureRows(g.RefBitmap()), want);
    g.SetRowCount(1);
    EXPECT_EQ(PictureRows(g.Picture()), (std::vector<std::vector<int>> { { 1, 2, 9 } }));
    g.SetColCount(100000);
    EXPECT_EQ(g.Picture().width(), 65535);
    // Below level 9 the counts stay those of the reduced view.
    Show(g, Blank(4, 4), 4);
    g.SetColCount(8);
    g.SetRowCount(6);
    EXPECT_EQ(g.Picture().size(), QSize(8, 6));
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.ReducedBitmap().size(), QSize(4, 3));
}

TEST(PatternGrid, ColourIndicesAndColourSet)
{
    TPatternGrid g;
    TPalette256 pal = GreyPalette();
    pal[3] = { 10, 20, 30, 0 };
    Show(g, MakePicture({ { 0 } }, pal), 9);
    g.SetForeColorIndex(3);
    EXPECT_EQ(g.ForeColor(), PlainColor(pal[3]));
    EXPECT_EQ(g.TextIndex(), 3);
    g.SetTextColorIndex(5);
    EXPECT_EQ(g.ForeIndex(), 5);
    g.IncludeColorIndex(7);
    g.IncludeColorIndex(300);
    g.IncludeColorIndex(-1);
    EXPECT_EQ(g.ColorSet().count(), 1u);
    g.ExcludeColorIndex(7);
    EXPECT_TRUE(g.ColorSet().none());
}

TEST(PatternGrid, CyclicShiftsOfTheWholePicture)
{
    struct Case {
        bool rows;
        int count;
        std::vector<std::vector<int>> want;
    } cases[] = {
        { true, 1, { { 4, 5, 6 }, { 7, 8, 9 }, { 1, 2, 3 } } },
        { true, 2, { { 7, 8, 9 }, { 1, 2, 3 }, { 4, 5, 6 } } },
        { false, 1, { { 2, 3, 1 }, { 5, 6, 4 }, { 8, 9, 7 } } },
        { false, 3, { { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } } }, // out of range: unchanged
        { true, -1, { { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } } },
    };
    for (const Case &c : cases) {
        TPatternGrid g;
        Show(g, MakePicture({ { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } }), 9);
        g.RebuildDisplayBitmap();
        c.rows ? g.ShiftPictureVert(c.count) : g.ShiftPictureHorz(c.count);
        EXPECT_EQ(PictureRows(g.Picture()), c.want) << c.rows << " " << c.count;
        EXPECT_EQ(PictureRows(g.RefBitmap()), c.want);
    }
}

// Zooming out, resizing or replacing the picture shrinks the counts under the current
// cell; it is pulled back inside every time.
TEST(PatternGrid, CountChangesKeepTheCurrentCellInside)
{
    struct Case {
        const char *what;
        void (*change)(TPatternGrid &);
        int cols, rows;
    } cases[] = {
        { "zoom 0", [](TPatternGrid &g) { g.SetZoom(0); }, 20, 5 },
        { "narrower", [](TPatternGrid &g) { g.SetColCount(100); }, 100, 50 },
        { "shorter", [](TPatternGrid &g) { g.SetRowCount(10); }, 200, 10 },
        { "smaller picture", [](TPatternGrid &g) { g.SetPicture(Blank(30, 3)); }, 30, 3 },
        { "no picture", [](TPatternGrid &g) { g.SetPicture(QImage()); }, 0, 0 },
    };
    for (const Case &c : cases) {
        TPatternGrid g;
        Show(g, Blank(200, 50), 12);
        g.Grid().SetCurrentCell(150, 45);
        c.change(g);
        ASSERT_EQ(g.ColCount(), c.cols) << c.what;
        ASSERT_EQ(g.RowCount(), c.rows) << c.what;
        EXPECT_LT(g.Grid().Col(), std::max(1, c.cols)) << c.what;
        EXPECT_LT(g.Grid().Row(), std::max(1, c.rows)) << c.what;
        EXPECT_LT(g.Grid().Anchor().X, std::max(1, c.cols)) << c.what;
        EXPECT_LT(g.Grid().Anchor().Y, std::max(1, c.rows)) << c.what;
    }
}

// The setters keep what belongs together: an index with its palette colour, a level
// with its cell sizes and factors.
TEST(PatternGrid, SettersKeepTheStateTogether)
{
    TPatternGrid g;
    TPalette256 pal = GreyPalette();
    pal[7] = TPaletteEntry { 10, 20, 30, 0 };
    Show(g, Blank(8, 8), 12);
    g.SetPalette(pal);
    g.SetForeColorIndex(7);
    EXPECT_EQ(g.ForeIndex(), 7);
    EXPECT_EQ(g.ForeColor(), PlainColor(pal[7]));
    EXPECT_EQ(g.TextIndex(), 7);
    g.SetBackColorIndex(7);
    EXPECT_EQ(g.BackColor(), PlainColor(pal[7]));
    g.SetForeColorIndex(300); // ignored
    EXPECT_EQ(g.ForeIndex(), 7);

    g.SetZoom(4);
    EXPECT_EQ(g.ZoomLevel(), 4);
    EXPECT_DOUBLE_EQ(g.ScaleX(), 0.5);
    EXPECT_EQ(g.DefaultColWidth(), 1);
    g.SetZoom(100);
    EXPECT_EQ(g.ZoomLevel(), TPatternGrid::MaxZoomLevel);
    EXPECT_EQ(g.DefaultColWidth(), 15);
    EXPECT_DOUBLE_EQ(g.ScaleX(), 1.0);
}
