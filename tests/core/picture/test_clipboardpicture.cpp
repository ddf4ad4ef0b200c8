// The program's own 8-bit clipboard picture: read only when the block is a sound bitmap.
#include "core/picture/bmpfile.h"
#include "core/picture/clipboardpicture.h"
#include "core/settings/sharedstate.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

void offer(const QByteArray &block)
{
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(CF_256Bitmap), block);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace

TEST(ClipboardPicture, ReadsOnlySoundBlocks)
{
    EXPECT_EQ(ClipboardMimeType(CF_256Bitmap), "application/x-dorwen-cad-CF_256Bitmap");
    TPalette256 pal = GreyPalette();
    pal[4] = pal[9];
    const QImage source = MakePicture({ { 4, 9, 0 }, { 255, 1, 4 } }, pal);
    const QByteArray block = EncodeBmp8(source);

    offer(block);
    QImage pic = MakePicture({ { 7 } });
    ASSERT_TRUE(PastePictureFromClipboard(pic));
    EXPECT_EQ(PictureRows(pic), PictureRows(source));
    EXPECT_EQ(pic.colorTable(), source.colorTable());

    // Damaged, truncated and foreign blocks, and an empty clipboard, leave the picture alone.
    QByteArray hostile = block;
    hostile[18] = char(0xFF); // width far beyond the rows there
    hostile[19] = char(0xFF);
    for (const QByteArray &bad : { block.left(block.size() - 1), hostile, QByteArray("BM"), QByteArray() }) {
        offer(bad);
        QImage kept = MakePicture({ { 7 } });
        EXPECT_FALSE(PastePictureFromClipboard(kept));
        EXPECT_EQ(PictureRows(kept), (std::vector<std::vector<int>> { { 7 } }));
        QString error;
        EXPECT_FALSE(DecodeClipboardPicture(bad, kept, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    QGuiApplication::clipboard()->clear();
    QImage kept = MakePicture({ { 7 } });
    EXPECT_FALSE(PastePictureFromClipboard(kept));
    EXPECT_EQ(PictureRows(kept), (std::vector<std::vector<int>> { { 7 } }));
}
