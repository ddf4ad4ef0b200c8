#include "shell/scanner.h"
#include "shell/scanpicture.h"

#include "core/picture/bmpfile.h"
#include "scannertestbackend.h"
#include "testutil.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
TScanResult scanWith(TScannerTestBackend &backend, const QByteArray &options, QImage &picture, QString *error,
    const std::function<bool(int)> &progress = {})
{
    backend.SetOptions(options);
    TScanSession session;
    QList<TScanDevice> devices;
    EXPECT_TRUE(session.Devices(devices, error));
    EXPECT_EQ(devices.size(), 1);
    if (devices.isEmpty() || !session.Open(devices[0].Name, error))
        return TScanResult::Failed;
    return session.Acquire(picture, progress, error);
}
} // namespace

// Every frame form the scanner library offers comes out as the picture it stands for: grey
// at 8 and 16 bits, colour at 8 and 16 bits in one pass and in three (in any order), read in
// pieces of any size.
TEST(Scanner, EveryFrameFormBecomesThePicture)
{
    TScannerTestBackend backend;
    QImage grey8, colour8, colour16;
    QString error;
    ASSERT_EQ(scanWith(backend, "mode Gray\ndepth 8\n", grey8, &error), TScanResult::Done)
        << error.toStdString();
    ASSERT_EQ(scanWith(backend, "mode Color\ndepth 8\n", colour8, &error), TScanResult::Done)
        << error.toStdString();
    ASSERT_EQ(scanWith(backend, "mode Color\ndepth 16\n", colour16, &error), TScanResult::Done)
        << error.toStdString();
    ASSERT_EQ(grey8.size(), QSize(100, 80));
    EXPECT_EQ(grey8.format(), QImage::Format_Indexed8);
    EXPECT_EQ(grey8.colorCount(), 256);
    EXPECT_EQ(grey8.color(200), qRgb(200, 200, 200));
    ASSERT_EQ(colour8.size(), QSize(100, 80));
    EXPECT_EQ(colour8.format(), QImage::Format_RGB888);
    EXPECT_NE(colour8, colour16) << "the backend draws its 16-bit pattern otherwise";

    QImage grid8;
    ASSERT_EQ(
        scanWith(backend, "mode Gray\ndepth 8\ntest-picture \"Grid\"\n", grid8, &error), TScanResult::Done);
    const struct {
        const char *name;
        const char *options;
        const QImage &same;
    } cases[] = {
        { "grey grid at 16 bits", "mode Gray\ndepth 16\ntest-picture \"Grid\"\n", grid8 },
        { "three passes", "mode Color\ndepth 8\nthree-pass true\n", colour8 },
        { "three passes BGR", "mode Color\ndepth 8\nthree-pass true\nthree-pass-order BGR\n", colour8 },
        { "three passes at 16 bits", "mode Color\ndepth 16\nthree-pass true\n", colour16 },
        { "read in small pieces", "mode Color\ndepth 8\nread-limit true\nread-limit-size 7\n", colour8 },
    };
    for (const auto &c : cases) {
        QImage picture;
        ASSERT_EQ(scanWith(backend, c.options, picture, &error), TScanResult::Done)
            << c.name << error.toStdString();
        EXPECT_EQ(picture, c.same) << c.name;
    }
}

TEST(Scanner, OneBitGreyAndHandScannerFrames)
{
    TScannerTestBackend backend;
    QString error;
    const struct {
        const char *options;
        int value;
    } solid[] = { { "test-picture \"Solid black\"\n", 0 }, { "test-picture \"Solid white\"\n", 255 } };
    for (const auto &c : solid) {
        QImage picture;
        ASSERT_EQ(scanWith(backend, QByteArray("mode Gray\ndepth 1\n") + c.options, picture, &error),
            TScanResult::Done)
            << error.toStdString();
        ASSERT_EQ(picture.size(), QSize(100, 80));
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                ASSERT_EQ(picture.pixelIndex(x, y), c.value) << x << "," << y;
    }
    // A hand scanner says -1 lines: its picture is as long as what came.
    QImage hand;
    std::vector<int> percents;
    ASSERT_EQ(scanWith(backend, "mode Gray\ndepth 8\nresolution 50\nhand-scanner true\n", hand, &error,
                  [&](int p) {
                      percents.push_back(p);
                      return true;
                  }),
        TScanResult::Done)
        << error.toStdString();
    EXPECT_EQ(hand.width(), 216); // 11 cm at 50 dpi
    EXPECT_GT(hand.height(), 100);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.front(), -1) << "no percentage while the length is unknown";
}

TEST(Scanner, FailuresAndCancelLeaveThePictureAlone)
{
    TScannerTestBackend backend;
    const QImage before(3, 3, QImage::Format_Indexed8);
    const struct {
        const char *name;
        const char *options;
        std::function<bool(int)> progress;
        TScanResult result;
    } cases[] = {
        { "read error", "read-status-code \"SANE_STATUS_IO_ERROR\"\n", {}, TScanResult::Failed },
        { "jammed", "read-status-code \"SANE_STATUS_JAMMED\"\n", {}, TScanResult::Failed },
        { "colour at one bit", "mode Color\ndepth 1\n", {}, TScanResult::Failed },
        { "cancelled at once", "", [](int) { return false; }, TScanResult::Cancelled },
        { "cancelled half-way", "read-limit true\nread-limit-size 100\n", [](int p) { return p < 50; },
            TScanResult::Cancelled },
    };
    for (const auto &c : cases) {
        QImage picture = before;
        QString error;
        EXPECT_EQ(scanWith(backend, c.options, picture, &error, c.progress), c.result) << c.name;
        EXPECT_EQ(picture, before) << c.name;
        EXPECT_EQ(error.isEmpty(), c.result != TScanResult::Failed) << c.name << error.toStdString();
    }
    // The device was closed and the library ended every time: a new session scans.
    QImage picture;
    QString error;
    EXPECT_EQ(scanWith(backend, "", picture, &error), TScanResult::Done) << error.toStdString();
}

TEST(Scanner, NoScannerIsNoError)
{
    TScannerTestBackend backend;
    backend.SetDevices("# none\n");
    TScanSession session;
    QList<TScanDevice> devices { TScanDevice {} };
    QString error;
    EXPECT_TRUE(session.Devices(devices, &error)) << error.toStdString();
    EXPECT_TRUE(devices.isEmpty());
    QImage picture;
    EXPECT_EQ(session.Acquire(picture, {}, &error), TScanResult::Failed) << "no device opened";
}

// The picture assembly on its own: frames the scanner announces wrongly or cuts short.
TEST(ScanPicture, RefusesFramesItCannotTake)
{
    const struct {
        const char *name;
        TScanFrameParams params;
        qsizetype bytes; // fed before the frame ends
        bool begins;
        bool ends;
    } cases[] = {
        { "complete grey", { TScanFrame::Gray, true, 4, 4, 3, 8 }, 12, true, true },
        { "padded lines", { TScanFrame::Gray, true, 8, 4, 3, 8 }, 24, true, true },
        { "short by a line", { TScanFrame::Gray, true, 4, 4, 3, 8 }, 8, true, false },
        { "short by a byte", { TScanFrame::Gray, true, 4, 4, 3, 8 }, 11, true, false },
        { "one line too many", { TScanFrame::Gray, true, 4, 4, 3, 8 }, 16, true, false },
        { "unknown length, nothing", { TScanFrame::Gray, true, 4, 4, -1, 8 }, 0, true, false },
        { "unknown length, two lines", { TScanFrame::Gray, true, 4, 4, -1, 8 }, 9, true, true },
        { "depth 4", { TScanFrame::Gray, true, 2, 4, 3, 4 }, 0, false, false },
        { "colour depth 1", { TScanFrame::Rgb, true, 2, 4, 3, 1 }, 0, false, false },
        { "lines shorter than pixels", { TScanFrame::Rgb, true, 11, 4, 3, 8 }, 0, false, false },
        { "no pixels", { TScanFrame::Gray, true, 0, 0, 3, 8 }, 0, false, false },
        { "beyond the budget", { TScanFrame::Rgb, true, 3 * 60000, 60000, 60000, 8 }, 0, false, false },
        { "beyond a side", { TScanFrame::Gray, true, 70000, 70000, 2, 8 }, 0, false, false },
    };
    for (const auto &c : cases) {
        TScanPicture picture;
        QString error;
        ASSERT_EQ(picture.BeginFrame(c.params, &error), c.begins) << c.name;
        if (!c.begins) {
            EXPECT_FALSE(error.isEmpty()) << c.name;
            continue;
        }
        const QByteArray bytes(c.bytes, '\x40');
        const bool appended = picture.Append(bytes.constData(), bytes.size(), &error);
        EXPECT_EQ(appended && picture.EndFrame(&error), c.ends) << c.name;
        EXPECT_EQ(picture.Picture().isNull(), !c.ends) << c.name;
        EXPECT_EQ(error.isEmpty(), c.ends) << c.name;
    }
}

TEST(ScanPicture, ThreePassesMustMatchTheFirst)
{
    TScanPicture picture;
    QString error;
    ASSERT_TRUE(picture.BeginFrame({ TScanFrame::Red, false, 2, 2, 1, 8 }, &error));
    ASSERT_TRUE(picture.Append("\x10\x20", 2, &error));
    ASSERT_TRUE(picture.EndFrame(&error));
    EXPECT_TRUE(picture.Picture().isNull()) << "not a picture before its three passes";
    EXPECT_EQ(picture.Percent(), 33);
    EXPECT_FALSE(picture.BeginFrame({ TScanFrame::Green, false, 3, 3, 1, 8 }, &error)) << "another width";
    EXPECT_FALSE(picture.BeginFrame({ TScanFrame::Gray, false, 2, 2, 1, 8 }, &error)) << "not a pass";
    ASSERT_TRUE(picture.BeginFrame({ TScanFrame::Blue, false, 2, 2, 1, 8 }, &error));
    ASSERT_TRUE(picture.Append("\x30\x40", 2, &error));
    ASSERT_TRUE(picture.EndFrame(&error));
    ASSERT_TRUE(picture.BeginFrame({ TScanFrame::Green, true, 2, 2, 1, 8 }, &error));
    ASSERT_TRUE(picture.Append("\x50\x60", 2, &error));
    ASSERT_TRUE(picture.EndFrame(&error));
    const QImage image = picture.Picture();
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0x10, 0x50, 0x30));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0x20, 0x60, 0x40));
    EXPECT_EQ(picture.Percent(), 100);
}

// Sixteen-bit samples come in the host's byte order; the picture keeps their high byte.
TEST(ScanPicture, SixteenBitSamplesGiveTheirHighByte)
{
    const quint16 samples[] = { 0x1234, 0xff01, 0x00ff };
    TScanPicture picture;
    QString error;
    ASSERT_TRUE(picture.BeginFrame({ TScanFrame::Rgb, true, 6, 1, 1, 16 }, &error));
    ASSERT_TRUE(picture.Append(reinterpret_cast<const char *>(samples), 6, &error));
    ASSERT_TRUE(picture.EndFrame(&error));
    EXPECT_EQ(picture.Picture().pixel(0, 0), qRgb(0x12, 0xff, 0x00));
}

// The scan file: 8-bit grey as an 8-bit bitmap, colour as a 24-bit one, read back exactly.
TEST(ScanBitmap, GreyAndColourRoundTrip)
{
    QTemporaryDir dir;
    QImage grey(5, 3, QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(i, i, i);
    grey.setColorTable(table);
    QImage colour(5, 3, QImage::Format_RGB888);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            grey.setPixel(x, y, uint(40 * y + x));
            colour.setPixel(x, y, qRgb(50 * x, 70 * y, 11 * x + y));
        }
    const QString greyFile = dir.filePath("grey.bmp"), colourFile = dir.filePath("colour.bmp");
    ASSERT_TRUE(WriteScanBitmap(grey, greyFile));
    ASSERT_TRUE(WriteScanBitmap(colour, colourFile));
    QImage back;
    ASSERT_TRUE(LoadBmp8File(greyFile, back));
    EXPECT_EQ(back, grey);
    const QByteArray bytes = ReadAll(colourFile);
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(quint8(bytes[28]), 24) << "24 bits a pixel";
    EXPECT_EQ(QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB888), colour);

    QString error;
    EXPECT_FALSE(WriteScanBitmap(colour, dir.filePath("no/such/folder/x.bmp"), &error));
    EXPECT_FALSE(error.isEmpty());
}
