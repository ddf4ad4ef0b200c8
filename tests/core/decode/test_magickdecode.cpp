#include "core/decode/magickdecode.h"
#include "core/picture/qtdecode.h"

#include "testutil.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

// GraphicsMagick's TIFF coder installs libtiff message handlers that abort the program
// when Qt's TIFF reader, which shares libtiff, later reports a damaged file.
TEST(MagickDecode, QtReadsADamagedTiffAfterTheLibraryReadOneWithoutAborting)
{
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&written, "tiff").write(MakePicture({ { 1, 2 }, { 3, 4 } })));
    QImage picture;
    int bits = 0;
    QString error;
    ASSERT_TRUE(DecodeWithMagick(written.data(), "TIFF", picture, bits, &error)) << error.toStdString();
    EXPECT_EQ(picture.size(), QSize(2, 2));

    const QByteArray damaged("II*\0\x08\0\0\0\xff\xff", 10);
    QImage tiff;
    EXPECT_FALSE(DecodeWithQt(damaged, "TIFF", tiff, &error));
    EXPECT_TRUE(tiff.isNull());
}
