#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"

#include "testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {
// Points ConfigIniPath at a private file for one test.
struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override { Folders().ConfigIniPath = dir.filePath("Config.Ini"); }
    void put(const QByteArray &bytes) { ASSERT_TRUE(WriteAll(Folders().ConfigIniPath, bytes)); }
    QByteArray get() const { return ReadAll(Folders().ConfigIniPath); }
};
} // namespace

TEST_F(SettingsFixture, DefaultsWithoutAFile)
{
    EXPECT_EQ(ReadDefaultWarps(), 128);
    EXPECT_EQ(ReadMaxBakDataSize(), 100);
    EXPECT_DOUBLE_EQ(StartSettings().MaxBakDataSize, 100.0);
    EXPECT_TRUE(ReadRemoveOddWarp());
    EXPECT_EQ(ReadColorLeft(), 90);
    EXPECT_EQ(ReadFlashFrequence(), 500);
    EXPECT_EQ(StartSettings().FlashFrequence, 500);
    EXPECT_EQ(ReadFlashTime(), 5);
    EXPECT_DOUBLE_EQ(StartSettings().FlashTime, 5.0);
    EXPECT_EQ(ReadAutoReduceColorCount(), 200);
    EXPECT_EQ(ReadMaxRecentFile(), 5);
    EXPECT_FALSE(ReadAutoOpenRecentFile());
    EXPECT_EQ(ReadMaxUndoCount(), 100);
    EXPECT_EQ(StartSettings().MaxUndoCount, 100);
    EXPECT_EQ(ReadLanguageIndex(), 0);

    TGrossOption gross;
    gross.Warp = -1;
    ReadGrossOption(gross);
    EXPECT_EQ(gross.Warp, 200);
    EXPECT_EQ(gross.Weft, 200);
    EXPECT_DOUBLE_EQ(gross.WarpDensity, 120.0);
    EXPECT_DOUBLE_EQ(gross.WeftDensity, 60.0);
    EXPECT_EQ(gross.CompartLineColor, 0);
    EXPECT_EQ(gross.GridLineColor, 0xC0C0C0);
    EXPECT_FALSE(gross.ExistLine);
    EXPECT_EQ(gross.GridRowCount, 8);
    EXPECT_EQ(gross.GridColCount, 8);
    EXPECT_EQ(gross.SpaceCount, 12);

    TPageOption page { 1, 2, 3, 4 };
    ReadPageOption(page);
    EXPECT_EQ(page, (TPageOption { 20.0, 20.0, 20.0, 20.0 }));

    // Every group reader fills every field with its default, whatever the record held.
    TCircleInfo circle { 9, 9, 9, 9, 9, 9, true, true, false, 9, 9, 9, true };
    ReadCircleInfo(circle);
    EXPECT_EQ(circle, (TCircleInfo { 1, 1, 7, 7, 3, 3, false, false, true, 8, 8, 4, false }));
    TRectangleInfo rect { 9, 9, 9, 9, true, true, 9, 9, true };
    ReadRectangleInfo(rect);
    EXPECT_EQ(rect, (TRectangleInfo { 1, 1, 1, 1, false, false, 8, 8, false }));
    TBeeLineInfo line { 9, 9, 9, 9 };
    ReadBeeLineInfo(line);
    EXPECT_EQ(line, (TBeeLineInfo { 1, 1, 7, 7 }));
    TPasteInfo paste { 9, 9 };
    ReadPasteInfo(paste);
    EXPECT_EQ(paste, (TPasteInfo { 1, 1 }));
    TCopyAreaInfo copy { 9, 9, 9, 9 };
    ReadCopyAreaInfo(copy);
    EXPECT_EQ(copy, (TCopyAreaInfo { 1, 1, 8, 8 }));
    TCursorStyleOption cursor { 9, true, true, false };
    ReadCursorStyle(cursor);
    EXPECT_EQ(cursor, (TCursorStyleOption { 1, false, false, true }));
    TSprayOption spray { 9, 9 };
    ReadSprayOption(spray);
    EXPECT_EQ(spray, (TSprayOption { 25, 80 }));
    TModiGrossOption modi { true, true, 9, 9 };
    ReadModiGrossOption(modi);
    EXPECT_EQ(modi, (TModiGrossOption { false, false, 1, 1 }));
    TBordureOption bord { false, false, false, false, 9, 9, 9, 9, false, 9, 9 };
    ReadBordureOption(bord);
    EXPECT_EQ(bord, (TBordureOption { true, true, true, true, 1, 1, 1, 1, true, 1, 1 }));
    TRotateOption rot { 45.0, true };
    ReadRotateOption(rot);
    EXPECT_EQ(rot, (TRotateOption { 0.0, false }));
    bool protect = false;
    ReadCheckOption(protect);
    EXPECT_TRUE(protect);
    TTileWeaveParam tile;
    tile.FindHigh = false;
    tile.LeftLength = 9;
    ReadTileWeaveParam(tile);
    EXPECT_EQ(tile, TTileWeaveParam {});
    EXPECT_TRUE(tile.FindHigh);

    TNeedleMasks masks {};
    EXPECT_EQ(ReadNeedleTable(masks, "Pick"), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(masks[i], 1u << i);
    TColorTable colors {};
    ReadColorTable(colors, "ColorTable");
    EXPECT_EQ(colors, DefaultColorTable());
    EXPECT_EQ(colors[5], std::int32_t(0x80000001u));
    EXPECT_EQ(colors[13], std::int32_t(0x80000018u));
    EXPECT_EQ(colors[0], 0xFFFFFF);
    EXPECT_EQ(colors[16], 0x800000);
    EXPECT_FALSE(QFile::exists(Folders().ConfigIniPath)) << "reading never creates the file";
}

TEST_F(SettingsFixture, ClampsOnReadAndWrite)
{
    struct Case {
        const char *key;
        const char *stored;
        std::int32_t (*read)();
        std::int32_t expected;
    } cases[] = {
        { "MaxUndoCount", "0", ReadMaxUndoCount, 1 },
        { "MaxUndoCount", "5000", ReadMaxUndoCount, 999 },
        { "MaxUndoCount", "-7", ReadMaxUndoCount, 1 },
        { "MaxUndoCount", "999", ReadMaxUndoCount, 999 },
        { "MaxUndoCount", "x", ReadMaxUndoCount, 100 },
        { "AutoReduceColorCount", "300", ReadAutoReduceColorCount, 256 },
        { "AutoReduceColorCount", "0", ReadAutoReduceColorCount, 1 },
        { "AutoReduceColorCount", "256", ReadAutoReduceColorCount, 256 },
        { "AutoReduceColorCount", "0x20", ReadAutoReduceColorCount, 32 },
    };
    for (const Case &c : cases) {
        put(QByteArray("[Main]\n") + c.key + "=" + c.stored + "\n");
        EXPECT_EQ(c.read(), c.expected) << c.key << "=" << c.stored;
    }
    ReadAutoReduceColorCount();
    EXPECT_EQ(StartSettings().AutoReduceColorCount, 32);

    QFile::remove(Folders().ConfigIniPath);
    WriteMaxUndoCount(0);
    EXPECT_EQ(StartSettings().MaxUndoCount, 1);
    WriteAutoReduceColorCount(1000);
    EXPECT_EQ(StartSettings().AutoReduceColorCount, 256);
    EXPECT_EQ(get(), QByteArray("[Main]\nMaxUndoCount=1\nAutoReduceColorCount=256\n"));
}

TEST_F(SettingsFixture, MainKeysRoundTripAndSetTheirGlobals)
{
    WriteDefaultWarps(2400);
    WriteMaxBakDataSize(30);
    EXPECT_DOUBLE_EQ(StartSettings().MaxBakDataSize, 30.0);
    WriteRemoveOddWarp(false);
    WriteColorLeft(12);
    WriteFlashFrequence(250);
    EXPECT_EQ(StartSettings().FlashFrequence, 250);
    WriteFlashTime(3);
    EXPECT_DOUBLE_EQ(StartSettings().FlashTime, 3.0);
    WriteMaxRecentFile(9);
    WriteAutoOpenRecentFile(true);
    WriteLanguageIndex(2);
    StartSettings().MaxBakDataSize = 0;
    StartSettings().FlashFrequence = 0;
    StartSettings().FlashTime = 0;
    EXPECT_EQ(ReadDefaultWarps(), 2400);
    EXPECT_EQ(ReadMaxBakDataSize(), 30);
    EXPECT_DOUBLE_EQ(StartSettings().MaxBakDataSize, 30.0);
    EXPECT_FALSE(ReadRemoveOddWarp());
    EXPECT_EQ(ReadColorLeft(), 12);
    EXPECT_EQ(ReadFlashFrequence(), 250);
    EXPECT_EQ(StartSettings().FlashFrequence, 250);
    EXPECT_EQ(ReadFlashTime(), 3);
    EXPECT_DOUBLE_EQ(StartSettings().FlashTime, 3.0);
    EXPECT_EQ(ReadMaxRecentFile(), 9);
    EXPECT_TRUE(ReadAutoOpenRecentFile());
    EXPECT_EQ(ReadLanguageIndex(), 2);
    EXPECT_EQ(get(),
        QByteArray("[Main]\nDefaultWarps=2400\nMaxBakDataSize=30\nRemoveOddWarp=0\nColorLeft=12\n"
                   "FlashFrequence=250\nFlashTime=3\nMaxRecentFile=9\nAutoOpenRecentFile=1\n"
                   "[Language]\nLanuage=2\n"));
}

TEST_F(SettingsFixture, GroupsRoundTripWithExactKeys)
{
    TGrossOption gross;
    gross.Warp = 320;
    gross.Weft = 640;
    gross.WarpDensity = 100.5;
    gross.WeftDensity = 40;
    gross.Reserved = 3.0;
    gross.CompartLineColor = 0x0000FF;
    gross.GridLineColor = std::int32_t(0x80000018u); // a system colour: stored signed
    gross.ExistLine = true;
    gross.GridRowCount = 4;
    gross.GridColCount = 6;
    gross.SpaceCount = 10;
    WriteGrossOption(gross);
    EXPECT_EQ(get(),
        QByteArray("[GrossOption]\nWarp=320\nWeft=640\nWarpDensity=100.5\nWeftDensity=40\n"
                   "CompartLineColor=255\nGridLineColor=-2147483624\nExistLine=1\n"
                   "GridRowCount=4\nGridColCount=6\nSpaceCount=10\n"));
    TGrossOption back;
    back.Reserved = 3.0;
    ReadGrossOption(back);
    EXPECT_EQ(back, gross);

    QFile::remove(Folders().ConfigIniPath);
    TTileWeaveParam tile;
    tile.IsLeftLeft = true;
    tile.LeftLength = 3;
    tile.BottomLength = 2;
    tile.FloatLength = 7;
    tile.ChangeColorHint = true;
    tile.FindHigh = false;
    WriteTileWeaveParam(tile);
    EXPECT_EQ(get(),
        QByteArray("[TileWeaveParam]\nIsLeftLeft=1\nIsRightLeft=0\nIsTopLeft=0\nIsBottomLeft=0\n"
                   "LeftLength=3\nRightLength=1\nTopLength=1\nBottomLength=2\nFloatLength=7\n"
                   "ChangeColorHint=1\nFindHigh=0\n"));
    TTileWeaveParam tileBack;
    ReadTileWeaveParam(tileBack);
    EXPECT_EQ(tileBack.FloatLength, 0) << "written only";
    EXPECT_FALSE(tileBack.ChangeColorHint) << "written only";
    tile.FloatLength = 0;
    tile.ChangeColorHint = false;
    EXPECT_EQ(tileBack, tile);

    TTilePatternParam pattern;
    pattern.IsTopLeft = true;
    pattern.TopLength = 5;
    pattern.FloatLength = 4;
    WriteTilePatternParam(pattern);
    EXPECT_TRUE(
        get().contains("[TilePatternParam]\nIsLeftLeft=0\nIsRightLeft=0\nIsTopLeft=1\nIsBottomLeft=0\n"
                       "LeftLength=1\nRightLength=1\nTopLength=5\nBottomLength=1\nFloatLength=4\n"));
    TTilePatternParam patternBack;
    ReadTilePatternParam(patternBack);
    pattern.FloatLength = 0;
    EXPECT_EQ(patternBack, pattern);

    TPageOption page { 12.5, 10, 7.25, 30 };
    WritePageOption(page);
    TPageOption pageBack;
    ReadPageOption(pageBack);
    EXPECT_EQ(pageBack, page);

    const TCircleInfo circle { 2, 3, 4, 5, 6, 7, true, true, false, 11, 12, 13, true };
    WriteCircleInfo(circle);
    TCircleInfo circleBack;
    ReadCircleInfo(circleBack);
    EXPECT_EQ(circleBack, circle);
    const TBordureOption bord { false, true, false, true, 2, 3, 4, 5, false, 6, 7 };
    WriteBordureOption(bord);
    TBordureOption bordBack;
    ReadBordureOption(bordBack);
    EXPECT_EQ(bordBack, bord);
    const TRotateOption rot { -12.75, true };
    WriteRotateOption(rot);
    TRotateOption rotBack;
    ReadRotateOption(rotBack);
    EXPECT_EQ(rotBack, rot);
    WriteCheckOption(false);
    bool protect = true;
    ReadCheckOption(protect);
    EXPECT_FALSE(protect);
    const TCursorStyleOption cursor { 3, true, false, false };
    WriteCursorStyle(cursor);
    TCursorStyleOption cursorBack;
    ReadCursorStyle(cursorBack);
    EXPECT_EQ(cursorBack, cursor);
    const TModiGrossOption modi { true, false, 5, 9 };
    WriteModiGrossOption(modi);
    TModiGrossOption modiBack;
    ReadModiGrossOption(modiBack);
    EXPECT_EQ(modiBack, modi);
}

TEST_F(SettingsFixture, FloatsAcceptCommaAndUnreadableGiveDefaults)
{
    put("[GrossOption]\nWarpDensity=88,5\nWeftDensity=lots\nWarp=0x40\nWeft=2e2\n");
    TGrossOption gross;
    ReadGrossOption(gross);
    EXPECT_DOUBLE_EQ(gross.WarpDensity, 88.5);
    EXPECT_DOUBLE_EQ(gross.WeftDensity, 60.0);
    EXPECT_EQ(gross.Warp, 64);
    EXPECT_EQ(gross.Weft, 200);
}

TEST_F(SettingsFixture, NeedleAndColourTables)
{
    put("[Pick]\nTotalNumber=4\n");
    TNeedleMasks masks {};
    EXPECT_EQ(ReadNeedleTable(masks, "Pick"), 4);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(masks[i], 1u << i);

    // A value that is not a number takes its default; the rest of the table is kept.
    put("[WeftDens]\nTotalNumber=3\nNumber0=7\nNumber1=oops\nNumber2=-1\nNumber15=0x3\n"
        "[ColorTable]\nColor0=12\nColor1=red\nColor16=-2147483647\n");
    EXPECT_EQ(ReadNeedleTable(masks, "WeftDens"), 3);
    EXPECT_EQ(masks[0], 7u);
    EXPECT_EQ(masks[1], 2u);
    EXPECT_EQ(masks[2], 0xFFFFFFFFu);
    EXPECT_EQ(masks[3], 8u);
    EXPECT_EQ(masks[15], 3u);
    TColorTable colors {};
    ReadColorTable(colors, "ColorTable");
    EXPECT_EQ(colors[0], 12);
    EXPECT_EQ(colors[1], DefaultColorTable()[1]);
    EXPECT_EQ(colors[2], DefaultColorTable()[2]);
    EXPECT_EQ(colors[16], std::int32_t(0x80000001u));

    // The needle count is held to 1..16; a count that is no number is the default 16.
    const struct {
        const char *stored;
        std::int32_t count;
    } counts[]
        = { { "0", 1 }, { "-3", 1 }, { "17", 16 }, { "99999", 16 }, { "x", 16 }, { "16", 16 }, { "1", 1 } };
    for (const auto &c : counts) {
        put(QByteArray("[Pick]\nTotalNumber=") + c.stored + "\n");
        EXPECT_EQ(ReadNeedleTable(masks, "Pick"), c.count) << c.stored;
    }

    QFile::remove(Folders().ConfigIniPath);
    TNeedleMasks out {};
    for (int i = 0; i < 16; ++i)
        out[i] = std::uint32_t(i * 3);
    out[15] = 0x80000000u;
    WriteNeedleTable(out, 5, "Pick");
    TNeedleMasks in {};
    EXPECT_EQ(ReadNeedleTable(in, "Pick"), 5);
    EXPECT_EQ(in, out);
    EXPECT_TRUE(get().startsWith("[Pick]\nTotalNumber=5\nNumber0=0\nNumber1=3\n"));
    EXPECT_TRUE(get().contains("Number15=-2147483648\n"));

    WriteColorTable(DefaultColorTable(), "ColorTable");
    EXPECT_TRUE(get().contains("[ColorTable]\nColor0=16777215\nColor1=16711680\n"));
    EXPECT_TRUE(get().contains("Color5=-2147483647\n"));
    TColorTable back {};
    ReadColorTable(back, "ColorTable");
    EXPECT_EQ(back, DefaultColorTable());
}

TEST(SettingsStartUp, SharedStateAndMainWindowReadTheirSettings)
{
    QTemporaryDir exe;
    ASSERT_TRUE(WriteAll(exe.filePath("Config.Ini"),
        "[Main]\nMaxBakDataSize=42\nFlashFrequence=300\nFlashTime=2\nMaxUndoCount=5000\n"
        "AutoReduceColorCount=64\n[TileWeaveParam]\nIsTopLeft=1\nTopLength=4\nFindHigh=0\n"
        "FloatLength=9\n[SprayOption]\nRadius=40\n[GrossOption]\nWarp=512\nWeftDensity=33,5\n[PageOption]"
        "\nLeftMargin=5\n"
        "[Pick]\nNumber0=9\n[WeftDens]\nNumber1=bad\nNumber2=5\n[ColorTable]\nColor3=77\n"));
    ASSERT_TRUE(InitSharedState(exe.path())); // portable: the file next to the program
    EXPECT_DOUBLE_EQ(StartSettings().MaxBakDataSize, 42.0);
    EXPECT_EQ(StartSettings().FlashFrequence, 300);
    EXPECT_DOUBLE_EQ(StartSettings().FlashTime, 2.0);
    EXPECT_TRUE(StartSettings().TileWeaveParam.IsTopLeft);
    EXPECT_EQ(StartSettings().TileWeaveParam.TopLength, 4);
    EXPECT_FALSE(StartSettings().TileWeaveParam.FindHigh);
    EXPECT_EQ(StartSettings().TileWeaveParam.FloatLength, 0);

    ReadMainWindowSettings();
    EXPECT_EQ(StartSettings().GrossOption.Warp, 512);
    EXPECT_EQ(StartSettings().GrossOption.Weft, 200);
    EXPECT_DOUBLE_EQ(StartSettings().GrossOption.WeftDensity, 33.5);
    EXPECT_DOUBLE_EQ(StartSettings().PageOption.LeftMargin, 5.0);
    EXPECT_EQ(StartSettings().SprayOption, (TSprayOption { 40, 80 }));
    EXPECT_DOUBLE_EQ(StartSettings().PageOption.TopMargin, 20.0);
    EXPECT_EQ(StartSettings().MaxUndoCount, 999);
    EXPECT_EQ(StartSettings().AutoReduceColorCount, 64);
    EXPECT_EQ(CardTables().PickTable[0], 9u);
    EXPECT_EQ(CardTables().PickTable[1], 2u);
    EXPECT_EQ(CardTables().WeftDensTable[1], 2u);
    EXPECT_EQ(CardTables().WeftDensTable[2], 5u);
    EXPECT_EQ(CardTables().ColorTable[3], 77);
    EXPECT_EQ(CardTables().ColorTable[4], DefaultColorTable()[4]);
}

// Each routine parses the file once for all its keys, and a writer of several keys replaces
// the file once.
TEST_F(SettingsFixture, ARoutineParsesTheFileOnceAndWritesItOnce)
{
    put("; kept\n[Main]\nMaxUndoCount=50\n[GrossOption]\nWarp=300\nWeft=400\n[PageOption]\nTopMargin=5\n"
        "[Pick]\nTotalNumber=4\n[ColorTable]\nColor2=9\n[CircleInfo]\nRadius=6\n");
    struct Case {
        const char *name;
        std::function<void()> read, write;
    } cases[] = {
        { "GrossOption",
            [] {
                TGrossOption o;
                ReadGrossOption(o);
                EXPECT_EQ(o.Warp, 300);
            },
            [] { WriteGrossOption(TGrossOption {}); } },
        { "PageOption",
            [] {
                TPageOption o;
                ReadPageOption(o);
                EXPECT_EQ(o.TopMargin, 5.0);
            },
            [] { WritePageOption(TPageOption {}); } },
        { "CircleInfo",
            [] {
                TCircleInfo o;
                ReadCircleInfo(o);
                EXPECT_EQ(o.Radius, 6);
            },
            [] { WriteCircleInfo(TCircleInfo {}); } },
        { "TileWeaveParam",
            [] {
                TTileWeaveParam o;
                ReadTileWeaveParam(o);
            },
            [] { WriteTileWeaveParam(TTileWeaveParam {}); } },
        { "BordureOption",
            [] {
                TBordureOption o;
                ReadBordureOption(o);
            },
            [] { WriteBordureOption(TBordureOption {}); } },
        { "Pick",
            [] {
                TNeedleMasks m {};
                EXPECT_EQ(ReadNeedleTable(m, "Pick"), 4);
            },
            [] { WriteNeedleTable(TNeedleMasks {}, 16, "Pick"); } },
        { "ColorTable",
            [] {
                TColorTable c {};
                ReadColorTable(c, "ColorTable");
                EXPECT_EQ(c[2], 9);
            },
            [] { WriteColorTable(DefaultColorTable(), "ColorTable"); } },
    };
    for (const Case &c : cases) {
        const IniCounts reading;
        c.read();
        EXPECT_EQ(reading.parsed(), 1u) << c.name;
        EXPECT_EQ(reading.saved(), 0u) << c.name;
        const IniCounts writing;
        c.write();
        EXPECT_LE(writing.parsed(), 1u) << c.name;
        EXPECT_EQ(writing.saved(), 1u) << c.name;
    }
    EXPECT_TRUE(get().startsWith("; kept\n[Main]\nMaxUndoCount=50\n[GrossOption]\nWarp=200\nWeft=200\n"));
    EXPECT_TRUE(get().contains("[CircleInfo]\nRadius=4\n"));
}

// A settings file beyond the size bound (one line of 10 MB) reads as no file, quickly, and
// is never written over; one just within it is parsed once per routine.
TEST_F(SettingsFixture, LargeConfigIni)
{
    QByteArray big("[GrossOption]\nWarp=512\n; ");
    big.append(QByteArray(10 * 1024 * 1024, 'x'));
    big.append("\n[Main]\nDefaultWarps=64\n");
    put(big);
    const IniCounts counts;
    TGrossOption gross;
    ReadGrossOption(gross);
    EXPECT_EQ(gross.Warp, 200);
    EXPECT_EQ(ReadDefaultWarps(), 128);
    TNeedleMasks masks {};
    EXPECT_EQ(ReadNeedleTable(masks, "Pick"), 16);
    WriteGrossOption(gross);
    WriteDefaultWarps(99);
    AddRecentFile("/p/a.ovy");
    EXPECT_EQ(counts.parsed(), 0u);
    EXPECT_EQ(counts.saved(), 0u);
    EXPECT_EQ(get(), big);

    big.resize(7 * 1024 * 1024);
    big.append("\n[Main]\nDefaultWarps=64\n");
    put(big);
    const IniCounts within;
    ReadGrossOption(gross);
    EXPECT_EQ(gross.Warp, 512);
    EXPECT_EQ(ReadDefaultWarps(), 64);
    EXPECT_EQ(within.parsed(), 2u);
}

// Values that would do harm are bounded when read: below the range (zero or negative) they
// take the default, above it they are clamped; the recent-list length is clamped to 1..10.
TEST_F(SettingsFixture, OutOfRangeValuesAreBoundedWhenRead)
{
    struct Case {
        const char *key, *stored;
        std::int32_t (*read)();
        std::int32_t expected;
    } cases[] = {
        { "MaxBakDataSize", "0", ReadMaxBakDataSize, 100 },
        { "MaxBakDataSize", "-20", ReadMaxBakDataSize, 100 },
        { "MaxBakDataSize", "1", ReadMaxBakDataSize, 1 },
        { "MaxBakDataSize", "1048576", ReadMaxBakDataSize, 1048576 },
        { "MaxBakDataSize", "2000000000", ReadMaxBakDataSize, 1048576 },
        { "FlashFrequence", "0", ReadFlashFrequence, 500 },
        { "FlashFrequence", "-100", ReadFlashFrequence, 500 },
        { "FlashFrequence", "49", ReadFlashFrequence, 500 },
        { "FlashFrequence", "50", ReadFlashFrequence, 50 },
        { "FlashFrequence", "5000", ReadFlashFrequence, 5000 },
        { "FlashFrequence", "86400000", ReadFlashFrequence, 5000 },
        { "FlashTime", "0", ReadFlashTime, 5 },
        { "FlashTime", "-1", ReadFlashTime, 5 },
        { "FlashTime", "1", ReadFlashTime, 1 },
        { "FlashTime", "60", ReadFlashTime, 60 },
        { "FlashTime", "3600", ReadFlashTime, 60 },
        { "MaxRecentFile", "-4", ReadMaxRecentFile, 1 },
        { "MaxRecentFile", "0", ReadMaxRecentFile, 1 },
        { "MaxRecentFile", "10", ReadMaxRecentFile, 10 },
        { "MaxRecentFile", "100000", ReadMaxRecentFile, 10 },
        { "MaxRecentFile", "x", ReadMaxRecentFile, 5 },
        { "DefaultWarps", "0", ReadDefaultWarps, 128 },
        { "DefaultWarps", "-128", ReadDefaultWarps, 128 },
        { "DefaultWarps", "2400", ReadDefaultWarps, 2400 },
        { "DefaultWarps", "65535", ReadDefaultWarps, 65535 },
        { "DefaultWarps", "70000", ReadDefaultWarps, 65535 },
    };
    for (const Case &c : cases) {
        put(QByteArray("[Main]\n") + c.key + "=" + c.stored + "\n");
        EXPECT_EQ(c.read(), c.expected) << c.key << "=" << c.stored;
    }
    put("[Main]\nMaxBakDataSize=0\nFlashFrequence=0\nFlashTime=-2\n");
    ReadMaxBakDataSize();
    ReadFlashFrequence();
    ReadFlashTime();
    EXPECT_DOUBLE_EQ(StartSettings().MaxBakDataSize, 100.0);
    EXPECT_EQ(StartSettings().FlashFrequence, 500);
    EXPECT_DOUBLE_EQ(StartSettings().FlashTime, 5.0);

    struct Margin {
        const char *key, *stored;
        double TPageOption::*field;
        double expected;
    } margins[] = {
        { "LeftMargin", "-1", &TPageOption::LeftMargin, 20.0 },
        { "TopMargin", "0", &TPageOption::TopMargin, 0.0 },
        { "RightMargin", "12,5", &TPageOption::RightMargin, 12.5 },
        { "BottomMargin", "100", &TPageOption::BottomMargin, 100.0 },
        { "BottomMargin", "1e6", &TPageOption::BottomMargin, 100.0 },
        { "LeftMargin", "-0.5", &TPageOption::LeftMargin, 20.0 },
    };
    for (const Margin &m : margins) {
        put(QByteArray("[PageOption]\n") + m.key + "=" + m.stored + "\n");
        TPageOption page;
        ReadPageOption(page);
        EXPECT_DOUBLE_EQ(page.*m.field, m.expected) << m.key << "=" << m.stored;
    }

    // The spray values, as the spray dialog bounds them.
    struct Spray {
        const char *stored;
        TSprayOption expected;
    } sprays[] = {
        { "Radius=0\nPointCount=-3\n", { 1, 1 } },
        { "Radius=500\nPointCount=900\n", { 500, 900 } },
        { "Radius=501\nPointCount=901\n", { 500, 900 } },
        { "Radius=2000000000\nPointCount=-2000000000\n", { 500, 1 } },
        { "Radius=7\nPointCount=x\n", { 7, 80 } },
    };
    for (const Spray &s : sprays) {
        put(QByteArray("[SprayOption]\n") + s.stored);
        TSprayOption spray;
        ReadSprayOption(spray);
        EXPECT_EQ(spray, s.expected) << s.stored;
    }

    // The writers that set a global hold it, and the file, to the same range.
    QFile::remove(Folders().ConfigIniPath);
    WriteMaxBakDataSize(0);
    WriteFlashFrequence(1);
    WriteFlashTime(100000);
    EXPECT_DOUBLE_EQ(StartSettings().MaxBakDataSize, 100.0);
    EXPECT_EQ(StartSettings().FlashFrequence, 500);
    EXPECT_DOUBLE_EQ(StartSettings().FlashTime, 60.0);
    EXPECT_EQ(get(), QByteArray("[Main]\nMaxBakDataSize=100\nFlashFrequence=500\nFlashTime=60\n"));

    QFile::remove(Folders().ConfigIniPath);
    ReadMaxBakDataSize();
    ReadFlashFrequence();
    ReadFlashTime();
}

// A FIFO or a device named Config.Ini reads as a missing file: start-up gets the defaults
// without waiting on it, and writes leave it as it is.
TEST_F(SettingsFixture, NonRegularConfigIniReadsAsDefaults)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Folders().ConfigIniPath).constData(), 0600), 0);
    TGrossOption gross;
    gross.Warp = 1;
    std::int32_t warps = 0;
    QStringList recent { "x" };
    EXPECT_TRUE(ReturnsWithoutBlockingOn(Folders().ConfigIniPath, [&] {
        ReadGrossOption(gross);
        warps = ReadDefaultWarps();
        recent = ReadRecentFileList();
        WriteDefaultWarps(7);
        AddRecentFile("/p/a.ovy");
    }));
    EXPECT_EQ(gross.Warp, 200);
    EXPECT_EQ(warps, 128);
    EXPECT_TRUE(recent.isEmpty());
    struct stat st { };
    ASSERT_EQ(::lstat(QFile::encodeName(Folders().ConfigIniPath).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO is not written over";

    QFile::remove(Folders().ConfigIniPath);
    ASSERT_TRUE(QFile::link("/dev/zero", Folders().ConfigIniPath));
    EXPECT_EQ(ReadDefaultWarps(), 128);
    WriteDefaultWarps(7);
    EXPECT_EQ(QFile::symLinkTarget(Folders().ConfigIniPath), "/dev/zero");
}

// The recent-file count is stored within the 1 to 10 the settings dialog offers, whatever a
// caller hands in, so that the file never holds a count the list would read differently.
TEST_F(SettingsFixture, RecentFileCountIsBoundedWhenWritten)
{
    const struct {
        std::int32_t given;
        const char *stored;
    } cases[] = { { 0, "1" }, { -3, "1" }, { 11, "10" }, { 999, "10" }, { 7, "7" } };
    for (const auto &c : cases) {
        QFile::remove(Folders().ConfigIniPath);
        WriteMaxRecentFile(c.given);
        EXPECT_EQ(get(), QByteArray("[Main]\nMaxRecentFile=") + c.stored + "\n") << c.given;
    }
}
