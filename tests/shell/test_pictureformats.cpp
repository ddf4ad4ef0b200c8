// The picture-format list: order, descriptions, lookups, aliases and the drop test.
#include "core/settings/sharedstate.h"
#include "shell/pictureformats.h"

#include <gtest/gtest.h>

namespace {

class PictureFormatList : public ::testing::Test {
protected:
    void SetUp() override { RegisterPictureFormats(); }
    void TearDown() override { UnregisterPictureFormats(); }
};

} // namespace

TEST_F(PictureFormatList, WholeTableInOrder)
{
    const char *expected[] = { "EP", "JC5", "QS", "OVY", "OVWB", "OVW", "GRD", "WB", "XY", "WV", "UPT", "DAT",
        "P32", "bmp", "ico", "wmf", "emf", "jfif", "jpg", "jpe", "jpeg", "rle", "dib", "win", "vst", "vda",
        "tga", "icb", "tiff", "tif", "fax", "eps", "pcx", "pcc", "scr", "rpf", "rla", "sgi", "rgba", "rgb",
        "bw", "psd", "pdd", "ppm", "pgm", "pbm", "cel", "pic", "pcd", "cut", "psp", "png" };
    const QList<TPictureFormat> &list = PictureFormats();
    ASSERT_EQ(list.size(), 52);
    for (int i = 0; i < 52; ++i) {
        EXPECT_EQ(list[i].Extension, QLatin1String(expected[i])) << i;
        EXPECT_TRUE(list[i].Individual.isEmpty());
        EXPECT_EQ(list[i].InGlobalList, i >= 21) << i;
        EXPECT_EQ(list[i].PictureClass == &TWenBanIOClass, i < 13) << i;
    }
    EXPECT_EQ(list[3].Common, QString::fromUtf8("意匠文件"));
    EXPECT_EQ(list[4].Common, "Windows bitmaps");
    EXPECT_EQ(list[22].Common, "Device independant Windows bitmaps");
    EXPECT_EQ(list[26].Common, ""); // tga: an alias of "win"
    EXPECT_EQ(list[23].Common, "Truevision images");
    EXPECT_EQ(list[15].Kinds, PkVector);
    EXPECT_EQ(list[50].Kinds, PkRaster | PkLayered | PkMultiImage);

    // Registering again at start-up does not duplicate anything; exit empties the list.
    RegisterPictureFormats();
    EXPECT_EQ(PictureFormats().size(), 52);
    UnregisterPictureFormats();
    EXPECT_TRUE(PictureFormats().isEmpty());
    EXPECT_EQ(PictureClassForExtension("png"), nullptr);
    EXPECT_FALSE(Hooks().PictureClassLookup);
}

TEST_F(PictureFormatList, LookupIgnoresLetterCase)
{
    struct Case {
        const char *ext;
        const TPictureClass *cls;
    };
    const Case cases[] = {
        { "ovy", &TWenBanIOClass },
        { "OVY", &TWenBanIOClass },
        { "Ovy", &TWenBanIOClass },
        { ".ovwb", &TWenBanIOClass },
        { "tga", &TargaClass },
        { "ICB", &TargaClass },
        { "Jpe", &JpegClass },
        { "rgba", &SgiClass },
        { "bw", &SgiClass },
        { "pdd", &PhotoshopClass },
        { "PBM", &PortablePixmapClass },
        { "dib", &BitmapClass },
        { "fax", &TiffClass },
        { "scr", &PcxClass },
        { "psp", &PaintshopProClass },
        { "emf", &EnhancedMetafileClass },
        { "WMF", &MetafileClass },
        { "xyz", nullptr },
        { "", nullptr },
        { "jpgx", nullptr },
        { "j", nullptr },
    };
    for (const Case &c : cases)
        EXPECT_EQ(PictureClassForExtension(c.ext), c.cls) << c.ext;
    // The loader's hook goes through the same list.
    ASSERT_TRUE(Hooks().PictureClassLookup);
    EXPECT_EQ(Hooks().PictureClassLookup("Tif"), &TiffClass);
    // GIF comes from the library's own list, beside the table.
    EXPECT_EQ(PictureClassForExtension("gif"), nullptr);
    EXPECT_EQ(Hooks().PictureClassLookup("GIF"), &GifClass);
    EXPECT_EQ(Hooks().PictureClassLookup("xyz"), nullptr);
}

TEST_F(PictureFormatList, EveryEntryNamesItsDecoder)
{
    for (const TPictureFormat &f : PictureFormats()) {
        ASSERT_NE(f.PictureClass, nullptr) << f.Extension.toStdString();
        const TPictureDecoder d = f.PictureClass->Decoder;
        if (d == TPictureDecoder::Qt || d == TPictureDecoder::Magick) {
            EXPECT_GT(qstrlen(f.PictureClass->Format), 0u) << f.Extension.toStdString();
        }
    }
    // The formats no library here reads stay listed with no decoder.
    EXPECT_EQ(AutodeskClass.Decoder, TPictureDecoder::None);
    EXPECT_EQ(PaintshopProClass.Decoder, TPictureDecoder::None);
    EXPECT_EQ(EnhancedMetafileClass.Decoder, TPictureDecoder::None);
}

TEST_F(PictureFormatList, RegisterAndUnregister)
{
    static const TPictureClass extra { "extra", TPictureDecoder::None, "", {} };
    RegisterFileFormat("png", "other", "", PkRaster, false, false, &extra);
    EXPECT_EQ(PictureClassForExtension("png"), &PngClass); // the first entry wins
    RegisterFileFormat("png", "other", "", PkRaster, true, false, &extra);
    EXPECT_EQ(PictureClassForExtension("PNG"), &extra); // replaced
    UnregisterFileFormat("", &extra);
    EXPECT_EQ(PictureClassForExtension("png"), nullptr);
    UnregisterFileFormat("tga", &TargaClass);
    EXPECT_EQ(PictureClassForExtension("tga"), nullptr);
    EXPECT_EQ(PictureClassForExtension("win"), &TargaClass);
    UnregisterFileFormat("", &TWenBanIOClass);
    EXPECT_EQ(PictureClassForExtension("EP"), nullptr);
    EXPECT_EQ(PictureFormats().size(), 52 - 2 - 13);
}

TEST(PictureOpenFilter, DropTest)
{
    EXPECT_TRUE(OpenPictureFilter.startsWith(QString::fromUtf8("所有支持文件格式|*.BMP;*.JPG;")));
    EXPECT_TRUE(OpenPictureFilter.endsWith("|PEJ(*.P32)|*.P32"));
    struct Case {
        const char *name;
        bool accepted;
    };
    const Case cases[] = {
        { "/p/a.bmp", true },
        { "/p/a.Jc5", true },
        { "/p/a.ovy", true },
        { "/p/a.P32", true },
        { "/p/a.tif", true },
        { "/p/a.OVWB", false }, // listed in the format list but not in the filter
        { "/p/a.tiff", false },
        { "/p/a.J", false }, // a prefix of a listed extension
        { "/p/a.OV", false },
        { "/p/a.txt", false },
        { "/p/noext", false },
        { "/p/a.", false },
        { "/p/x.bmp/a.gif", false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsOpenableDroppedFile(c.name), c.accepted) << c.name;
}
