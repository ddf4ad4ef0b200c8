// The card builder against the reference builder (the builder as it was before its
// jacquard fill was rewritten for speed): every card, every refusal and every message
// must stay what it was, over the test fixtures' kind of documents, documents like the
// benchmark's and random documents.
#include "card/cardbuild.h"

#include "cardbuildreference.h"
#include "cardtestutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

namespace {

struct TEqualityCase {
    QImage Picture;
    TMesh Mesh;
    TYangkaImage Card;
    int ScanStart = ScanBottomLeft;
    TNeedleMaskTable Pick {};
    TNeedleMaskTable Dens {};
};

// Builds with both builders; a failure message names what differs.
::testing::AssertionResult SameCards(const TEqualityCase &c)
{
    TMultiByteArray want, got;
    TCardBuildResult wantResult, gotResult;
    const bool wantOk = ReferenceBuildCardData(
        c.Mesh, c.Card, c.ScanStart, want, wantResult, TCardProgress(), c.Pick, c.Dens);
    const bool gotOk
        = BuildCardData(c.Mesh, c.Card, c.ScanStart, got, gotResult, TCardProgress(), c.Pick, c.Dens);
    if (wantOk != gotOk)
        return ::testing::AssertionFailure()
            << "reference " << (wantOk ? "built" : "refused") << " (" << wantResult.Error.toStdString()
            << "), builder " << (gotOk ? "built" : "refused") << " (" << gotResult.Error.toStdString() << ")";
    if (wantResult.Error != gotResult.Error || wantResult.Caption != gotResult.Caption
        || wantResult.Information != gotResult.Information || wantResult.Warnings != gotResult.Warnings
        || wantResult.DivisionCount != gotResult.DivisionCount)
        return ::testing::AssertionFailure() << "results differ: \"" << wantResult.Error.toStdString()
                                             << "\" / \"" << gotResult.Error.toStdString() << "\"";
    if (!wantOk)
        return got.isEmpty() ? ::testing::AssertionSuccess()
                             : ::testing::AssertionFailure() << "a refused build changed the card";
    if (want.length() != got.length())
        return ::testing::AssertionFailure() << want.length() << " cards, builder " << got.length();
    for (int q = 0; q < want.length(); ++q)
        if (!(want[q] == got[q])) {
            std::ostringstream row;
            for (int i = 0; i < want[q].length(); ++i)
                if (i < got[q].length() && want[q][i] != got[q][i])
                    row << " byte " << i << ": " << int(want[q][i]) << " / " << int(got[q][i]) << ";";
            return ::testing::AssertionFailure() << "card " << q + 1 << " differs:" << row.str();
        }
    return ::testing::AssertionSuccess();
}

// Colors: the picture's colours in order of first use.
TColorArray UsedColours(const QImage &pic)
{
    std::vector<TColor> colours;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const QRgb c = pic.color(pic.pixelIndex(x, y));
            const TColor t = qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16);
            if (std::find(colours.begin(), colours.end(), t) == colours.end())
                colours.push_back(t);
        }
    TColorArray list(colours.size());
    std::copy(colours.begin(), colours.end(), list.begin());
    return list;
}

const std::uint8_t TechCodes[] = { Needle::HealdRod, Needle::Selvedge, Needle::Shuttle, Needle::HealdFrame,
    Needle::WasteSelvedge, Needle::WeftDensity, Needle::StopMotion, Needle::LacingHole };

// The benchmark's document, on fewer rows: 640 design columns, WarpRepeat 8, four
// colours; 5120 jacquard needles in one block or split by a technical needle every 15.
void MakeBenchLikeCase(TEqualityCase &c, bool satin, bool split, int rows)
{
    TPalette256 pal {};
    pal[0] = { 0, 0, 0, 0 };
    pal[1] = { 255, 255, 255, 0 };
    pal[2] = { 200, 30, 30, 0 };
    pal[3] = { 30, 30, 200, 0 };
    c.Picture = NewPicture(640, rows, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < 640; ++x) {
            if (x % 8 == 0)
                seed = seed * 1664525u + 1013904223u;
            c.Picture.scanLine(y)[x] = std::uint8_t((seed >> 24) & 3);
        }
    InitNewDocument(c.Mesh, &c.Picture, 0, 0, 1, TColorArray { 0x000000, 0xFFFFFF, 0x1E1EC8, 0xC81E1E });
    c.Mesh.WarpRepeat = 8;
    PrepareCardDocument(c.Mesh);
    for (int k = 0; k < 3; ++k) {
        TWeaveArray w = MakeWeaveArray(2, 2);
        w[0][0] = w[1][1] = 1;
        c.Mesh.TechWeaves[k] = w;
    }
    if (satin)
        for (int s = 0; s < c.Mesh.ColorWeaves.length(); ++s) {
            TWeaveArray w = MakeWeaveArray(5, 5);
            for (int i = 0; i < 5; ++i)
                w[i][(i * 2 + s) % 5] = 1;
            c.Mesh.ColorWeaves[s] = w;
        }
    const int columns = split ? 342 : 330;
    TMultiByteArray cells = MakeWeaveArray(columns, 16, Needle::Jacquard);
    int jacquard = 0;
    for (int col = 0; col < columns; ++col)
        for (int r = 0; r < 16; ++r) {
            const bool isJacquard = split ? r < 15 && jacquard < 5120 : col < 320;
            if (isJacquard)
                ++jacquard;
            else
                cells[col][r] = TechCodes[(col * 16 + r) % 8];
        }
    c.Card.SetCells(cells);
    ResetNeedleTable(c.Pick, 16);
    ResetNeedleTable(c.Dens, 16);
}

// A random document and sample card: small pictures with a few colours, every warp
// repeat from 1 to past 64 needles, uniform, mixed and ragged weaves of many sizes,
// several weft entries, every scan corner, both needle orders, early shuttle, division
// rules, and sample cards whose jacquard needles come in blocks, scattered, or in two
// runs. Some documents are refused (a colour missing from Colors, a missing technical
// weave, too few needles): the refusal must be the same.
class TRandomCase {
public:
    explicit TRandomCase(std::uint32_t seed)
        : m_rand(seed)
    {
    }

    void Make(TEqualityCase &c)
    {
        const int repeats[] = { 1, 1, 2, 2, 3, 4, 5, 7, 8, 8, 8, 9, 12, 16, 24, 31, 32, 33, 40, 64, 70 };
        const int repeat = repeats[pick(int(std::size(repeats)))];
        const int widthKind = pick(4);
        const int w = widthKind == 0        ? 1 + pick(3)
            : widthKind == 3 && repeat < 10 ? 60 + pick(200)
                                            : 1 + pick(40);
        const int h = 1 + pick(10);
        const int used = 1 + pick(std::min(6, 1 + pick(6)));
        TPalette256 pal {};
        for (int i = 0; i < 256; ++i)
            pal[i] = { std::uint8_t(pick(256)), std::uint8_t(pick(256)), std::uint8_t(pick(256)), 0 };
        // Palettes of only a few colours, as a design has them, so that every entry can
        // be in Colors.
        const bool fewColours = chance(2);
        if (fewColours)
            for (int i = 8; i < 256; ++i)
                pal[i] = pal[i % 8];
        if (chance(4))
            pal[1] = pal[0]; // two palette entries of one colour
        c.Picture = NewPicture(w, h, pal);
        const int firstIndex = chance(3) ? pick(250) : 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Runs of one colour across, as designs have them.
                const int index
                    = (x > 0 && chance(2)) ? c.Picture.scanLine(y)[x - 1] : firstIndex + pick(used);
                c.Picture.scanLine(y)[x] = std::uint8_t(index);
            }
        if (chance(25)) {
            // A colour table shorter than the indexes the cells use.
            QList<QRgb> table = c.Picture.colorTable();
            table.resize(firstIndex + 1);
            c.Picture.setColorTable(table);
        }
        TColorArray colours = UsedColours(c.Picture);
        if (fewColours && !chance(3)) {
            // Every palette colour, in an order of their own.
            std::vector<TColor> all;
            for (const QRgb rgb : c.Picture.colorTable()) {
                const TColor t = qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
                if (std::find(all.begin(), all.end(), t) == all.end())
                    all.push_back(t);
            }
            std::shuffle(all.begin(), all.end(), m_rand);
            colours = TColorArray(all.size());
            std::copy(all.begin(), all.end(), colours.begin());
        }
        if (chance(3)) {
            // Colours the picture does not use, before and after, and a repeated one.
            TColorArray more(colours.size() + 3);
            more[0] = 0x123456;
            std::copy(colours.begin(), colours.end(), more.begin() + 1);
            more[colours.size() + 1] = colours[0];
            more[colours.size() + 2] = 0x654321;
            colours = more;
        }
        if (chance(30) && colours.length() > 1) {
            TColorArray fewer(colours.size() - 1); // a colour missing from Colors
            std::copy(colours.begin() + 1, colours.end(), fewer.begin());
            colours = fewer;
        }
        c.Mesh = TMesh();
        InitNewDocument(c.Mesh, &c.Picture, 0, 0, 1, colours);
        c.Mesh.WarpRepeat = repeat;
        c.Mesh.WeftRepeat = chance(3) ? 2 + pick(2) : 1;
        PrepareCardDocument(c.Mesh);
        fillRowTables(c.Mesh, h);
        fillWeaves(c.Mesh);
        makeSampleCard(c.Card, w * c.Mesh.WarpRepeat);
        c.ScanStart = pick(5);
        for (int i = 0; i < 16; ++i) {
            c.Pick[std::size_t(i)] = std::uint32_t(m_rand()) & 0xFFFF;
            c.Dens[std::size_t(i)] = std::uint32_t(m_rand()) & 0xFFFF;
        }
    }

private:
    int pick(int n) { return int(m_rand() % std::uint32_t(n)); }
    bool chance(int oneIn) { return pick(oneIn) == 0; }

    void fillRowTables(TMesh &mesh, int h)
    {
        for (int e = 0; e < mesh.WeftRepeat; ++e)
            for (int r = 0; r < h; ++r) {
                mesh.PickRows[e][r] = std::uint8_t(chance(4) ? 0 : 1 + pick(16));
                mesh.RegulatorRows[e][r] = std::uint8_t(pick(3));
                mesh.WeftDensRows[e][r] = std::uint8_t(pick(17));
            }
    }

    TWeaveArray randomWeave()
    {
        const int widths[] = { 1, 2, 2, 3, 4, 5, 5, 6, 7, 8, 12, 16 };
        const int gw = widths[pick(int(std::size(widths)))], gh = 1 + pick(8);
        TWeaveArray weave = MakeWeaveArray(gw, gh);
        const int style = pick(4);
        for (int i = 0; i < gw; ++i)
            for (int j = 0; j < gh; ++j) {
                if (style == 0) // uniform rows
                    weave[i][j] = std::uint8_t(j % 2);
                else if (style == 1) // a satin-like diagonal
                    weave[i][j] = std::uint8_t((i * 2 + j) % gw == 0 || (gw == 1 && j % 2 == 0));
                else
                    weave[i][j] = std::uint8_t(chance(9) ? 2 : pick(2)); // 2 is not a raised cell
            }
        if (gw > 1 && chance(10))
            weave[pick(gw)].setLength(std::size_t(1 + pick(gh))); // a ragged weave
        return weave;
    }

    void fillWeaves(TMesh &mesh)
    {
        // Reuse a few weaves across the slots, as documents do, so that the colour
        // weaves of one document share their widths more often than not.
        std::vector<TWeaveArray> pool;
        const int poolSize = 1 + pick(4);
        for (int i = 0; i < poolSize; ++i)
            pool.push_back(randomWeave());
        const bool defaults = chance(4);
        for (int s = 0; s < mesh.ColorWeaves.length(); ++s)
            if (!defaults)
                mesh.ColorWeaves[s] = chance(8) ? randomWeave() : pool[std::size_t(pick(poolSize))];
        for (int s = 0; s < mesh.TechWeaves.length(); ++s)
            mesh.TechWeaves[s] = chance(40) ? TWeaveArray() : randomWeave();
    }

    void makeSampleCard(TYangkaImage &card, int period)
    {
        const int rows = 1 + pick(16);
        int needles = std::max(1, period + pick(period + 20) - 10);
        if (chance(3))
            needles = std::max(1, period / 2 + pick(period + 1));
        const int layout = pick(5);
        std::vector<std::uint8_t> codes;
        auto tech = [&] {
            const std::uint8_t others[] = { 240, 252, 255, 10, 11, 13, 14 };
            return chance(4) ? others[pick(int(std::size(others)))]
                             : TechCodes[pick(int(std::size(TechCodes)))];
        };
        for (int k = 0; k < needles; ++k) {
            if (layout == 1 && chance(5)) // jacquard needles split by technical ones
                codes.push_back(tech());
            if (layout == 2 && k % 15 == 14)
                codes.push_back(tech());
            if (layout == 3 && k == needles / 2) // two runs: only the second is driven
                codes.push_back(Needle::Jacquard2);
            codes.push_back(layout == 3 && k > needles / 2 ? Needle::Jacquard2 : Needle::Jacquard);
            if (layout == 4 && k % 8 == 3)
                codes.push_back(tech());
        }
        const int lead = chance(2) ? pick(12) : 0;
        codes.insert(codes.begin(), std::size_t(lead), Needle::HealdRod);
        for (int i = 0; i < 6; ++i)
            codes.push_back(tech());
        const int columns = int(codes.size() + std::size_t(rows) - 1) / rows;
        TMultiByteArray cells = MakeWeaveArray(columns, rows, 240);
        for (std::size_t p = 0; p < codes.size(); ++p)
            cells[int(p) / rows][int(p) % rows] = codes[p];
        card = TYangkaImage();
        card.SetCells(cells);
        card.SetStartFlag(chance(4) ? 1 : 0);
        card.TiQianSuo = chance(3);
        const char *rules[] = { "", "", "", "1A", "1A1B", "2(1A1B)3(1A2B)", "1A1B1C", "1A1C" };
        card.Rules = QString::fromLatin1(rules[pick(int(std::size(rules)))]);
    }

    std::mt19937 m_rand;
};

} // namespace

TEST(CardBuildEquality, DocumentsLikeTheBenchmarks)
{
    for (const bool satin : { false, true })
        for (const bool split : { false, true })
            for (const int corner : { ScanBottomLeft, ScanTopRight }) {
                TEqualityCase c;
                MakeBenchLikeCase(c, satin, split, 12);
                c.ScanStart = corner;
                EXPECT_TRUE(SameCards(c))
                    << "satin " << satin << ", split " << split << ", corner " << corner;
            }
}

// Cards enough to be filled on several threads, a band of rows each: the same cards, with
// the early shuttle reaching across bands and division rules applied after; and where two
// rows hold a colour missing from Colors, the refusal of the first card that meets one.
TEST(CardBuildEquality, LargeDocumentsFilledOnSeveralThreads)
{
    for (const bool satin : { false, true })
        for (const bool early : { false, true }) {
            TEqualityCase c;
            MakeBenchLikeCase(c, satin, !satin, 1000);
            c.Card.TiQianSuo = early;
            c.Card.Rules = early ? QStringLiteral("1A1B") : QString();
            c.ScanStart = satin ? ScanTopRight : ScanBottomLeft;
            EXPECT_TRUE(SameCards(c)) << "satin " << satin << ", early shuttle " << early;
        }
    for (const int corner : { ScanBottomLeft, ScanTopRight }) {
        TEqualityCase c;
        MakeBenchLikeCase(c, false, false, 1000);
        c.ScanStart = corner;
        c.Picture.setColor(5, qRgb(1, 2, 3));
        c.Picture.scanLine(800)[10] = 5;
        c.Picture.scanLine(200)[20] = 5;
        EXPECT_TRUE(SameCards(c)) << "corner " << corner;
        TMultiByteArray card;
        TCardBuildResult result;
        EXPECT_FALSE(
            BuildCardData(c.Mesh, c.Card, c.ScanStart, card, result, TCardProgress(), c.Pick, c.Dens));
        // Scanned from the bottom, row 801 comes first; from the top, row 201.
        EXPECT_TRUE(result.Error.contains(corner == ScanBottomLeft ? "801" : "201"))
            << result.Error.toStdString();
    }

    // A cancel reaches the threads: false, and the caller's card untouched.
    TEqualityCase c;
    MakeBenchLikeCase(c, true, false, 1000);
    TCardProgress progress;
    int reports = 0;
    progress.Callback = [&](int, int, int) { ++reports; };
    progress.Cancelled = [&] { return reports >= 2; };
    TMultiByteArray previous { TDynamicByteArray { 7 } };
    TCardBuildResult result;
    EXPECT_FALSE(BuildCardData(c.Mesh, c.Card, c.ScanStart, previous, result, progress, c.Pick, c.Dens));
    EXPECT_TRUE(result.Cancelled);
    EXPECT_TRUE(result.Error.isEmpty());
    ASSERT_EQ(previous.length(), 1);
    EXPECT_EQ(previous[0].length(), 1);
}

TEST(CardBuildEquality, FixtureDocuments)
{
    // The shapes of the builder's own tests: one needle column, a few cells.
    const TPalette256 blackWhite = PaletteOf({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    const std::vector<std::vector<int>> cards = {
        { 2, 2, 2, 2, 6, 240, 253, 8 },
        { 2, 9, 9, 5, 5, 5, 7, 8, 8, 4, 6, 240, 240, 240, 240, 240 },
        { 2, 2, 3, 3, 3, 6, 12, 253 },
        { 4, 2, 2, 2, 2, 2, 2, 5, 2, 2 },
    };
    for (const int repeat : { 1, 2, 3 })
        for (const auto &codes : cards)
            for (int corner = 0; corner < 4; ++corner) {
                TEqualityCase c;
                c.Picture = MakePicture({ { 1, 0, 1 }, { 0, 1, 1 }, { 0, 0, 0 } }, blackWhite);
                c.Mesh = CardDoc(c.Picture, 1, repeat);
                c.Card = ColumnCard(codes);
                c.ScanStart = corner;
                c.Pick = Diagonal();
                c.Dens = Diagonal();
                EXPECT_TRUE(SameCards(c)) << "repeat " << repeat << ", corner " << corner;
            }
}

TEST(CardBuildEquality, RandomDocuments)
{
    int built = 0;
    for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
        TEqualityCase c;
        TRandomCase(seed).Make(c);
        TMultiByteArray probe;
        TCardBuildResult probeResult;
        built += ReferenceBuildCardData(
            c.Mesh, c.Card, c.ScanStart, probe, probeResult, TCardProgress(), c.Pick, c.Dens);
        EXPECT_TRUE(SameCards(c)) << "seed " << seed;
    }
    EXPECT_GT(built, 600) << "most random documents make a card";
}
