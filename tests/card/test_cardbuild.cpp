#include "card/cardbuild.h"
#include "card/needlemap.h"

#include "cardtestutil.h"
#include "shippedlanguage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

using Rows = std::vector<std::vector<int>>;

const TPalette256 BlackWhite = PaletteOf({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
constexpr int B = 0; // black cell: jacquard needles lowered
constexpr int W = 1; // white cell: raised

// Builds with the diagonal tables; the rows, or {} when refused.
Rows Build(const TMesh &mesh, const TYangkaImage &card, int corner = ScanBottomLeft,
    TCardBuildResult *out = nullptr, TNeedleMaskTable pick = Diagonal())
{
    TMultiByteArray result;
    TCardBuildResult r;
    const bool ok = BuildCardData(mesh, card, corner, result, r, TCardProgress(), pick, Diagonal());
    if (out)
        *out = r;
    return ok ? CardBytes(result) : Rows { { -1 } };
}

} // namespace

// Needles 0-3 jacquard, 4 shuttle, 5 empty, 6 lacing hole, 7 waste selvedge; a 2 x 2
// picture, top row white-black, bottom row black-white.
TEST(CardBuild, PlainCardAndScanCorners)
{
    QImage pic = MakePicture({ { W, B }, { B, W } }, BlackWhite);
    const TMesh mesh = CardDoc(pic);
    const TYangkaImage card = ColumnCard({ 2, 2, 2, 2, 6, 240, 253, 8 });
    // Card 1 of corner 0 is the bottom row: jacquard 0101 (the design repeats across the
    // four needles), shuttle 1, lacing 1, waste selvedge 1 on card 1 and 0 on card 2.
    const struct {
        int corner;
        Rows want;
    } cases[] = {
        { ScanBottomLeft, { { 0x5B }, { 0xAA } } }, { ScanBottomRight, { { 0xAB }, { 0x5A } } },
        { ScanTopLeft, { { 0xAB }, { 0x5A } } }, { ScanTopRight, { { 0x5B }, { 0xAA } } },
        { 7, { { 0xAB }, { 0x5A } } }, // any other corner reads like top-left
    };
    for (const auto &c : cases)
        EXPECT_EQ(Build(mesh, card, c.corner), c.want) << c.corner;
}

TEST(CardBuild, ColourWeaveUsesTheUnmirroredColumn)
{
    // One white row of 4 columns; the white weave is 2 warps x 1 weft: (1), (0).
    QImage pic = MakePicture({ { W, W, W, W } }, BlackWhite);
    TMesh mesh = CardDoc(pic);
    TWeaveArray weave = MakeWeaveArray(2, 1);
    weave[0][0] = 1;
    mesh.ColorWeaves[0] = weave;
    const TYangkaImage card = ColumnCard({ 2, 2, 2, 2, 240, 240, 240, 240 });
    EXPECT_EQ(Build(mesh, card, ScanBottomLeft), (Rows { { 0xA0 } }));
    EXPECT_EQ(Build(mesh, card, ScanBottomRight), (Rows { { 0xA0 } }));

    // A weave of 1 warp x 2 wefts alternates with the row counter, anchored at its last weft.
    QImage two = MakePicture({ { W }, { W }, { W } }, BlackWhite);
    TMesh tall = CardDoc(two);
    TWeaveArray column = MakeWeaveArray(1, 2);
    column[0][1] = 1; // last weft: the first card in scan order
    tall.ColorWeaves[0] = column;
    EXPECT_EQ(Build(tall, ColumnCard({ 2, 240, 240, 240, 240, 240, 240, 240 })),
        (Rows { { 0x80 }, { 0x00 }, { 0x80 } }));
}

TEST(CardBuild, EarlyShuttleMovesShuttleAndStopMotionOneCardBack)
{
    // Needle 0 jacquard, 1 and 2 shuttle, 3 stop motion. Cards bottom-up: rows 2, 1, 0
    // with shuttle numbers 3, 1, 2 and stop-motion values 0, 1, 1.
    QImage pic = MakePicture({ { W }, { W }, { W } }, BlackWhite);
    TMesh mesh = CardDoc(pic);
    mesh.PickRows[0][0] = 2;
    mesh.PickRows[0][1] = 1;
    mesh.PickRows[0][2] = 3;
    mesh.RegulatorRows[0][0] = 1;
    mesh.RegulatorRows[0][1] = 1;
    mesh.RegulatorRows[0][2] = 0;
    TNeedleMaskTable pick {};
    pick[0] = 0b01;
    pick[1] = 0b10;
    pick[2] = 0b11;
    TYangkaImage card = ColumnCard({ 2, 6, 6, 12, 240, 240, 240, 240 });
    EXPECT_EQ(Build(mesh, card, ScanBottomLeft, nullptr, pick), (Rows { { 0xF0 }, { 0xC0 }, { 0xA0 } }));
    card.TiQianSuo = true;
    EXPECT_EQ(Build(mesh, card, ScanBottomLeft, nullptr, pick), (Rows { { 0xC0 }, { 0xA0 }, { 0xF0 } }));
}

TEST(CardBuild, ShuttleNeedlesRepeatTheMaskEvery16)
{
    QImage pic = MakePicture({ { B } }, BlackWhite);
    const TMesh mesh = CardDoc(pic);
    std::vector<int> codes(24, 240);
    codes[0] = 2;
    for (int i = 1; i <= 17; ++i)
        codes[i] = 6; // 17 shuttle needles at positions 1..17
    TNeedleMaskTable pick {};
    pick[0] = 0x0001; // only the first needle of the kind
    EXPECT_EQ(Build(mesh, ColumnCard(codes), ScanBottomLeft, nullptr, pick), (Rows { { 0x40, 0x00, 0x40 } }));
}

TEST(CardBuild, DivisionRule)
{
    // One card of eight jacquard needles: 1 0 1 1 0 0 0 1.
    QImage pic = MakePicture({ { W, B, W, W, B, B, B, W } }, BlackWhite);
    const TMesh mesh = CardDoc(pic);
    TYangkaImage card = ColumnCard({ 2, 2, 2, 2, 2, 2, 2, 2 });
    const struct {
        const char *rule;
        int division;
        Rows want;
    } cases[] = {
        { "", 0, { { 0xB1 } } },
        { "1A", 1, { { 0xB1 } } },
        { "1A1B", 2, { { 0xC5 } } }, // even needles 1 1 0 0, then odd ones 0 1 0 1
        { "2A2B", 2, { { 0x8D } } }, // needles 0 1 4 5 (1 0 0 0), then 2 3 6 7 (1 1 0 1)
        { "1B1A", 2, { { 0x5C } } }, // odd needles (0 1 0 1) first, then even ones (1 1 0 0)
        { "AB", 2, { { -1 } } }, // no counts: refused, never a division by zero
        { "1A1C", 2, { { -1 } } }, // a letter past the divisions would be lost
        { "1A1B(", 2, { { 0xC5 } } },
        { "1A)1B", 2, { { -1 } } },
    };
    for (const auto &c : cases) {
        card.Rules = QString::fromLatin1(c.rule);
        TCardBuildResult result;
        EXPECT_EQ(Build(mesh, card, ScanBottomLeft, &result), c.want) << c.rule;
        EXPECT_EQ(result.DivisionCount, c.division) << c.rule;
        if (c.want[0][0] == -1) {
            EXPECT_FALSE(result.Error.isEmpty()) << c.rule;
        }
    }
}

TEST(CardBuild, StartFlagOneReversesTheNumbering)
{
    QImage pic = MakePicture({ { W, B, B, W } }, BlackWhite);
    const TMesh mesh = CardDoc(pic);
    TYangkaImage card = ColumnCard({ 2, 2, 2, 2, 240, 240, 240, 6 });
    EXPECT_EQ(Build(mesh, card), (Rows { { 0x91 } }));
    for (int flag : { 2, 3 }) {
        card.SetStartFlag(flag);
        EXPECT_EQ(Build(mesh, card), (Rows { { 0x91 } })) << flag;
    }
    card.SetStartFlag(1); // shuttle at needle 0, the run at needles 4..7
    EXPECT_EQ(Build(mesh, card), (Rows { { 0x89 } }));
}

TEST(CardBuild, WarpRepeatDrivesAdjacentNeedles)
{
    // W = 3, R = 2: needles 0..7 take design columns 0 0 1 1 2 2 0 0.
    QImage pic = MakePicture({ { W, B, W } }, BlackWhite);
    TMesh mesh = CardDoc(pic, 1, 2);
    ASSERT_EQ(mesh.ColorWeaves.length(), 4);
    const TYangkaImage card = ColumnCard({ 2, 2, 2, 2, 2, 2, 2, 2 });
    EXPECT_EQ(Build(mesh, card), (Rows { { 0xCF } }));
    // The second needle of every white column follows its own weave (all zeros here).
    mesh.ColorWeaves[1] = MakeWeaveArray(2, 2, 0);
    EXPECT_EQ(Build(mesh, card), (Rows { { 0x8A } }));
}

// A run narrower than the design period reads only the colour weaves of the needles it
// reaches: a weave that no needle of the run uses may be missing.
TEST(CardBuild, RunShorterThanTheDesignReadsOnlyTheWeavesItReaches)
{
    // W = 2, R = 4: a 5-needle run takes design column 0 on needles 0..3 and column 1 on
    // needle 4, which uses only the first weave of column 1's colour (black).
    QImage pic = MakePicture({ { W, B } }, BlackWhite);
    TMesh mesh = CardDoc(pic, 1, 4);
    ASSERT_EQ(mesh.ColorWeaves.length(), 8);
    for (int n = 1; n < 4; ++n)
        mesh.ColorWeaves[4 + n] = TWeaveArray(); // black, needles 1..3 of a column
    const TYangkaImage five = ColumnCard({ 2, 2, 2, 2, 2, 240, 240, 240 });
    EXPECT_EQ(Build(mesh, five), (Rows { { 0xF0 } }));
    // A run of 3 needles within the first column never reaches its fourth weave.
    mesh.ColorWeaves[3] = TWeaveArray();
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 2, 2, 240, 240, 240, 240, 240 })), (Rows { { 0xE0 } }));
    // A run that reaches a missing weave still ends the build.
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 2, 2, 2, 240, 240, 240, 240 })), (Rows { { -1 } }));
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 2, 2, 2, 2, 2, 240, 240 })), (Rows { { -1 } }));
}

// A document of 17 weft entries builds with its default row tables: entry 16 takes
// shuttle number 1 again, raising the first shuttle needle.
TEST(CardBuild, SeventeenWeftEntriesWithDefaultTables)
{
    QImage pic = MakePicture({ { W } }, BlackWhite);
    const TMesh mesh = CardDoc(pic, 17);
    ASSERT_EQ(mesh.PickRows.length(), 17);
    const Rows cards = Build(mesh, ColumnCard({ 2, 6, 6, 240, 240, 240, 240, 240 }));
    ASSERT_EQ(cards.size(), 17u);
    EXPECT_EQ(cards[0], (std::vector<int> { 0xC0 }));
    EXPECT_EQ(cards[1], (std::vector<int> { 0xA0 }));
    EXPECT_EQ(cards[16], (std::vector<int> { 0xC0 }));
}

TEST(CardBuild, TwoShuttleEntriesInARow)
{
    // Needle 0 jacquard, 1 and 2 shuttle, 3 heald rod; entry 0 shuttle 1, entry 1 shuttle 2.
    QImage pic = MakePicture({ { W } }, BlackWhite);
    TMesh mesh = CardDoc(pic, 2);
    ASSERT_EQ(mesh.TechWeaves.length(), 6);
    ASSERT_EQ(mesh.ColorWeaves.length(), 2);
    mesh.TechWeaves[0] = MakeWeaveArray(1, 1, 1); // entry 0's heald-rod weave raises
    const TYangkaImage card = ColumnCard({ 2, 6, 6, 4, 240, 240, 240, 240 });
    EXPECT_EQ(Build(mesh, card), (Rows { { 0xD0 }, { 0xA0 } }));
}

TEST(CardBuild, NearBlackThreshold)
{
    const struct {
        QRgb colour;
        int want;
    } cases[] = {
        { qRgb(29, 29, 29), 0x00 },
        { qRgb(30, 0, 0), 0x80 },
        { qRgb(0, 30, 0), 0x80 },
        { qRgb(0, 0, 30), 0x80 },
        { qRgb(0, 0, 0), 0x00 },
        { qRgb(29, 0, 29), 0x00 },
    };
    for (const auto &c : cases) {
        QImage pic = MakePicture({ { 0 } }, PaletteOf({ c.colour }));
        const TMesh mesh = CardDoc(pic);
        EXPECT_EQ(Build(mesh, ColumnCard({ 2, 240, 240, 240, 240, 240, 240, 240 })), (Rows { { c.want } }))
            << qRed(c.colour) << "," << qGreen(c.colour) << "," << qBlue(c.colour);
    }
}

TEST(CardBuild, OnlyTheLastJacquardRunIsDriven)
{
    QImage pic = MakePicture({ { W, W } }, BlackWhite);
    const TMesh mesh = CardDoc(pic);
    // Run 1 (code 2) at needles 0, 1; a heald-rod needle between; run 2 (code 3) at 3, 4.
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 2, 240, 3, 3, 240, 240, 240 })), (Rows { { 0x18 } }));
    TNeedleMap map;
    ASSERT_TRUE(BuildNeedleMap(ColumnCard({ 2, 4, 2, 3, 2, 253, 9, 12 }), map));
    ASSERT_EQ(map.JacquardRuns.length(), 3);
    EXPECT_EQ(map.JacquardRuns[0], (TDynamicWordArray { 4 }));
    EXPECT_EQ(map.JacquardRuns[2], (TDynamicWordArray { 0, 2 }));
    EXPECT_EQ(map.LacingHoles, (TDynamicWordArray { 5 }));
    EXPECT_EQ(map.Kind(Needle::HealdRod), (TDynamicWordArray { 1 }));
    EXPECT_EQ(map.Kind(Needle::StopMotion), (TDynamicWordArray { 7 }));
}

TEST(CardBuild, NoPicksGiveAnEmptyCard)
{
    QImage pic = MakePicture({ { W }, { W } }, BlackWhite);
    TMesh mesh = CardDoc(pic);
    mesh.PickRows[0].fill(0);
    TMultiByteArray card { TDynamicByteArray { 1 } };
    TCardBuildResult result;
    ASSERT_TRUE(BuildCardData(mesh, ColumnCard({ 2 }), ScanBottomLeft, card, result));
    EXPECT_TRUE(card.isEmpty());
}

TEST(CardBuild, WeaveSlotChecks)
{
    const TShippedLanguageScope chinese(TShippedLanguage::SimplifiedChinese); // the texts read below
    QImage pic = MakePicture({ { W } }, BlackWhite);
    TMesh mesh = CardDoc(pic);
    // An empty heald-frame weave that no needle uses: a warning, and the card is made.
    mesh.TechWeaves[2] = TWeaveArray();
    TCardBuildResult result;
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 240, 240, 240, 240, 240, 240, 240 }), ScanBottomLeft, &result),
        (Rows { { 0x80 } }));
    EXPECT_EQ(result.Warnings, QStringList { QStringLiteral("组织文件缺失!") });
    // A needle that needs it ends the build.
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 7, 240, 240, 240, 240, 240, 240 }), ScanBottomLeft, &result),
        (Rows { { -1 } }));
    EXPECT_FALSE(result.Error.isEmpty());
    // An empty colour weave that a cell needs: both lists warn, the build fails.
    mesh.ColorWeaves[0] = TWeaveArray();
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 240, 240, 240, 240, 240, 240, 240 }), ScanBottomLeft, &result),
        (Rows { { -1 } }));
    EXPECT_EQ(result.Warnings.size(), 2);
    // Too few colour weave slots are never read past.
    mesh.ColorWeaves = TWeaveList();
    EXPECT_EQ(Build(mesh, ColumnCard({ 2 }), ScanBottomLeft, &result), (Rows { { -1 } }));
}

TEST(CardBuild, Refusals)
{
    const TShippedLanguageScope chinese(TShippedLanguage::SimplifiedChinese); // the texts read below
    QImage pic = MakePicture({ { W, W }, { W, B } }, BlackWhite);
    const TMesh good = CardDoc(pic);
    const TYangkaImage card = ColumnCard({ 2, 2, 2, 2, 6, 9, 240, 240 });
    ASSERT_NE(Build(good, card), (Rows { { -1 } }));

    auto refused
        = [&](const TMesh &mesh, const TYangkaImage &yk, const char *name, const QString &message = {}) {
              TCardBuildResult result;
              EXPECT_EQ(Build(mesh, yk, ScanBottomLeft, &result), (Rows { { -1 } })) << name;
              EXPECT_FALSE(result.Error.isEmpty()) << name;
              if (!message.isEmpty()) {
                  EXPECT_EQ(result.Error, message) << name;
              }
              return result;
          };
    // A sample card with fewer needles than the pattern has columns.
    EXPECT_EQ(refused(good, ColumnCard({ 2 }), "small card", QStringLiteral("样卡设置不正确")).Caption,
        QStringLiteral("错误"));
    // No jacquard needle: information.
    EXPECT_TRUE(refused(
        good, ColumnCard({ 6, 240 }), "no jacquard", QStringLiteral("样卡中没有指定纹针,无法生成纹版"))
                    .Information);

    TMesh mesh = CardDoc(pic);
    mesh.PickRows[0][1] = 17;
    refused(mesh, card, "shuttle 17");
    mesh = CardDoc(pic);
    mesh.WeftDensRows[0][0] = 17;
    refused(mesh, card, "density 17");
    mesh = CardDoc(pic);
    mesh.Colors[0] = 0x123456; // white is no longer in the colour list
    refused(mesh, card, "colour missing");
    mesh = CardDoc(pic);
    mesh.PickRows[0].setLength(1);
    refused(mesh, card, "short row table");
    mesh = CardDoc(pic);
    mesh.WarpRepeat = 0;
    refused(mesh, card, "no warp repeat");
    mesh = CardDoc(pic);
    mesh.WarpRepeat = 70000;
    refused(mesh, card, "warp repeat beyond the needles");
    mesh = CardDoc(pic);
    mesh.Picture = nullptr;
    refused(mesh, card, "no picture");

    // More needles than 16-bit positions hold.
    TYangkaImage huge;
    huge.SetCells(MakeWeaveArray(2, 40000, 2));
    refused(good, huge, "80000 needles");

    // More than 65,535 cards.
    QImage tall = NewPicture(1, 40000, BlackWhite);
    TMesh many = CardDoc(tall, 2);
    refused(many, card, "80000 cards");
}

TEST(CardBuild, ProgressAndCancel)
{
    QImage pic = MakePicture({ { W }, { W }, { W } }, BlackWhite);
    const TMesh mesh = CardDoc(pic);
    const TYangkaImage card = ColumnCard({ 2 });

    class Recorder : public QObject {
    public:
        std::vector<std::tuple<int, int, int>> seen;
        bool event(QEvent *e) override
        {
            if (e->type() == QEvent::Type(WM_CARDCOUNT) || e->type() == QEvent::Type(WM_CARDPROGRESS)) {
                auto *p = static_cast<TCardProgressEvent *>(e);
                seen.emplace_back(int(e->type()), p->Count, p->Current);
                return true;
            }
            return QObject::event(e);
        }
    } target;
    TCardProgress progress;
    progress.Target = &target;
    TMultiByteArray out;
    TCardBuildResult result;
    ASSERT_TRUE(BuildCardData(mesh, card, ScanBottomLeft, out, result, progress));
    // Built within 50 ms: the total and the last card.
    EXPECT_EQ(target.seen, (std::vector<std::tuple<int, int, int>> { { 3026, 3, 0 }, { 3025, 3, 3 } }));

    // Cancelled after the second card: false and the caller's card untouched.
    int reports = 0;
    progress.Target = nullptr;
    progress.Callback = [&](int, int, int) { ++reports; };
    progress.Cancelled = [&] { return reports >= 3; };
    TMultiByteArray previous { TDynamicByteArray { 7 } };
    EXPECT_FALSE(BuildCardData(mesh, card, ScanBottomLeft, previous, result, progress));
    EXPECT_TRUE(result.Cancelled);
    EXPECT_TRUE(result.Error.isEmpty());
    EXPECT_EQ(CardBytes(previous), (Rows { { 7 } }));
}

// Progress events, and the event processing after each, come at most every 50 ms: many
// cards built quickly let pending events through a few times, not once a card, and the
// total and the last card are always reported. The callback still sees every card.
TEST(CardBuild, ProgressEventsAreThrottled)
{
    const int cards = 20000;
    QImage pic = NewPicture(1, cards, BlackWhite);
    const TMesh mesh = CardDoc(pic);
    const TYangkaImage card = ColumnCard({ 2 });

    // Counts the passes of event processing: a posted event that posts itself again is
    // delivered once per pass.
    class Ticker : public QObject {
    public:
        int passes = 0;
        std::vector<std::pair<int, int>> progress; // (count, current)
        bool event(QEvent *e) override
        {
            if (e->type() == QEvent::User) {
                ++passes;
                QCoreApplication::postEvent(this, new QEvent(QEvent::User));
                return true;
            }
            if (e->type() == QEvent::Type(WM_CARDCOUNT) || e->type() == QEvent::Type(WM_CARDPROGRESS)) {
                auto *p = static_cast<TCardProgressEvent *>(e);
                progress.emplace_back(p->Count, p->Current);
                return true;
            }
            return QObject::event(e);
        }
    } target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    int callbacks = 0;
    TCardProgress progress;
    progress.Target = &target;
    progress.Callback = [&](int message, int, int) { callbacks += message == WM_CARDPROGRESS; };
    TMultiByteArray out;
    TCardBuildResult result;
    ASSERT_TRUE(BuildCardData(mesh, card, ScanBottomLeft, out, result, progress));
    ASSERT_EQ(out.length(), cards);
    EXPECT_EQ(callbacks, cards);
    EXPECT_LT(target.passes, cards / 20);
    EXPECT_EQ(int(target.progress.size()), target.passes);
    ASSERT_GE(target.progress.size(), 2u);
    EXPECT_EQ(target.progress.front(), std::make_pair(cards, 0));
    EXPECT_EQ(target.progress.back(), std::make_pair(cards, cards));
    QCoreApplication::removePostedEvents(&target);
}

TEST(CardBuild, BrandNewDocument)
{
    // A document straight from File > New: no colour weave slots until prepared.
    QImage pic = MakePicture({ { W, B } }, BlackWhite);
    TMesh mesh;
    InitNewDocument(mesh, &pic, 0, 0, 1, TColorArray { 0xFFFFFF, 0 });
    mesh.ColorWeaves = TWeaveList();
    mesh.WarpRepeat = 2;
    mesh.WeftRepeat = 2;
    PrepareCardDocument(mesh);
    EXPECT_EQ(mesh.ColorWeaves.length(), 8);
    EXPECT_EQ(mesh.TechWeaves.length(), 6);
    EXPECT_EQ(mesh.PickRows.length(), 2);
    EXPECT_EQ(Build(mesh, ColumnCard({ 2, 2, 2, 2 })), (Rows { { 0xC0 }, { 0xC0 } }));

    // Row tables that match are kept when preparing again.
    mesh.PickRows[1][0] = 0;
    PrepareCardDocument(mesh);
    EXPECT_EQ(mesh.PickRows[1][0], 0);
    EXPECT_EQ(CountCardRows(mesh), 1);
}

TEST(CardBuild, RepeatCountsADocumentCannotHoldAreRefused)
{
    // Counts from a damaged file or a wrong number: refused before any slot or table is
    // made, and the record is left as it was.
    QImage pic = MakePicture({ { W, B } }, BlackWhite);
    struct Case {
        int warpRepeat, weftRepeat;
    };
    const Case cases[] = { { 0, 1 }, { 1, 0 }, { 65536, 1 }, { 1, 65536 }, { 65535, 65535 }, { 4096, 300 } };
    for (const Case &c : cases) {
        TMesh mesh;
        InitNewDocument(mesh, &pic, 0, 0, 1, TColorArray { 0xFFFFFF, 0 });
        mesh.WarpRepeat = c.warpRepeat;
        mesh.WeftRepeat = c.weftRepeat;
        QString error;
        EXPECT_FALSE(PrepareCardDocument(mesh, &error)) << c.warpRepeat << " x " << c.weftRepeat;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(mesh.ColorWeaves.length(), 2) << "the colour weaves are left as they were";
        EXPECT_EQ(mesh.PickRows.length(), 1);
    }
}

TEST(CardBuild, ChangesDuringTheBuildDoNotReachIt)
{
    // Events processed between cards could change the document; the build keeps reading
    // what it started with.
    QImage pic = MakePicture({ { W, B }, { B, W } }, BlackWhite);
    TMesh mesh = CardDoc(pic);
    const TYangkaImage card = ColumnCard({ 2, 2, 2, 2, 6, 240, 253, 8 });
    const Rows want = Build(mesh, card);
    TNeedleMaskTable pick = Diagonal();
    TCardProgress progress;
    progress.Callback = [&](int message, int, int current) {
        if (message != WM_CARDPROGRESS || current != 1)
            return;
        pick.fill(0); // the pick table edited while the build runs
        mesh.PickRows[0] = TDynamicByteArray { 0 };
        mesh.ColorWeaves[0] = TWeaveArray();
        mesh.ColorWeaves[1] = MakeWeaveArray(1, 1, 1);
        pic = QImage();
    };
    TMultiByteArray out;
    TCardBuildResult result;
    ASSERT_TRUE(BuildCardData(mesh, card, ScanBottomLeft, out, result, progress, pick, Diagonal()));
    EXPECT_EQ(CardBytes(out), want);
}

TEST(CardBuild, DensityAndTechnicalNeedles)
{
    // Needle 0 jacquard, 1-2 weft density, 3-5 selvedge, 6 heald frame, 7-8 waste
    // selvedge, 9 heald rod, 10 shuttle. Three white rows read bottom-up, so the row
    // counter y = 0, 1, 2 meets picture rows 2, 1, 0.
    QImage pic = MakePicture({ { W }, { W }, { W } }, BlackWhite);
    TMesh mesh = CardDoc(pic);
    const std::uint8_t shuttle[] = { 1, 2, 1 }, density[] = { 2, 0, 3 }; // by picture row
    for (int r = 0; r < 3; ++r) {
        mesh.PickRows[0][r] = shuttle[r];
        mesh.WeftDensRows[0][r] = density[r];
    }
    // Technical weaves read with the row counter from their last weft down and with the
    // needle's index within its kind across the warps.
    TWeaveArray rod = MakeWeaveArray(1, 2);
    rod[0][1] = 1; // y = 0, 2
    TWeaveArray selvedge = MakeWeaveArray(2, 2);
    selvedge[0][0] = selvedge[1][1] = 1; // y even: 0 1 0, y odd: 1 0 1
    TWeaveArray frame = MakeWeaveArray(1, 3);
    frame[0][0] = 1; // y = 2
    mesh.TechWeaves[0] = rod;
    mesh.TechWeaves[1] = selvedge;
    mesh.TechWeaves[2] = frame;
    TNeedleMaskTable pick {}, dens {};
    pick[0] = 0b1; // shuttle 2 raises no shuttle needle
    dens[0] = 0b01;
    dens[1] = 0b10;
    dens[2] = 0b11;
    TYangkaImage card = ColumnCard({ 2, 9, 9, 5, 5, 5, 7, 8, 8, 4, 6, 240, 240, 240, 240, 240 });

    auto build = [&] {
        TMultiByteArray out;
        TCardBuildResult result;
        EXPECT_TRUE(BuildCardData(mesh, card, ScanBottomLeft, out, result, TCardProgress(), pick, dens))
            << result.Error.toStdString();
        return CardBytes(out);
    };
    // y = 0: density step 3 (1 1), selvedge 0 1 0, frame 0, waste 1 0, rod 1, shuttle 1.
    // y = 1: step 0 (0 0), selvedge 1 0 1, frame 0, waste 0 1, rod 0, shuttle 0.
    // y = 2: step 2 (0 1), selvedge 0 1 0, frame 1, waste 1 0, rod 1, shuttle 1.
    EXPECT_EQ(build(), (Rows { { 0xE9, 0x60 }, { 0x94, 0x80 }, { 0xAB, 0x60 } }));
    // Early shuttle moves only the shuttle needle; the weft-density needles stay.
    card.TiQianSuo = true;
    EXPECT_EQ(build(), (Rows { { 0xE9, 0x40 }, { 0x94, 0xA0 }, { 0xAB, 0x60 } }));
}
