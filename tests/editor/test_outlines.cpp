// The plain-weave and multi-needle outlines: which cells each turns, on small pictures whose
// answer can be read off by hand, and the run on a grid as one undoable step.
#include "editor/outlines.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using TCells = std::set<std::pair<int, int>>;

TCells asSet(const TLineArray &cells)
{
    TCells out;
    for (const TPoint &c : cells)
        out.insert({ c.X, c.Y });
    return out;
}

class Outlines : public TPatternGridFixture { };

} // namespace

TEST_F(Outlines, PlainWeaveOutlineTurnsEveryOtherEdgeCell)
{
    // Fore 1, back 0; 2 is neither. Edge cells of the 5 x 3 picture: (1,0) (3,0) (1,1) (3,1)
    // beside the back columns, (0,2) and (4,2) under back cells.
    const QImage fiveByThree = MakePicture({ { 0, 1, 1, 1, 0 }, { 0, 1, 1, 1, 0 }, { 1, 1, 2, 1, 1 } });
    // A one-cell line down a back ground, and a row whose last cell touches the back colour
    // only across the right edge (the pattern repeats).
    const QImage line = MakePicture({ { 0, 1, 0 }, { 0, 1, 0 }, { 0, 1, 0 }, { 0, 1, 0 } });
    const QImage wrapRow = MakePicture({ { 0, 1, 1, 1 } });
    const struct {
        const char *name;
        const QImage &picture;
        QRegion selection;
        TSketchStart start;
        TCells expected;
    } cases[] = {
        { "5x3 single", fiveByThree, {}, TSketchStart::Single, { { 1, 0 }, { 3, 0 } } },
        { "5x3 double", fiveByThree, {}, TSketchStart::Double, { { 1, 1 }, { 3, 1 }, { 0, 2 }, { 4, 2 } } },
        { "line single", line, {}, TSketchStart::Single, { { 1, 0 }, { 1, 2 } } },
        { "line double", line, {}, TSketchStart::Double, { { 1, 1 }, { 1, 3 } } },
        { "across the edge", wrapRow, {}, TSketchStart::Single, { { 1, 0 }, { 3, 0 } } },
        { "selected columns", fiveByThree, QRegion(0, 0, 2, 3), TSketchStart::Double,
            { { 1, 1 }, { 0, 2 } } },
        { "two selected cells", fiveByThree, QRegion(1, 1, 1, 1) + QRegion(4, 2, 1, 1), TSketchStart::Double,
            { { 1, 1 }, { 4, 2 } } },
        { "selection off the picture", fiveByThree, QRegion(10, 10, 4, 4), TSketchStart::Double, {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(asSet(TabbySketchCells(c.picture, 1, 0, c.selection, c.start)), c.expected);
    }
}

TEST_F(Outlines, MultiNeedleBlocksBecomeOneColour)
{
    const struct {
        const char *name;
        QImage picture;
        std::vector<TMultiSketchPoint> expected; // in the order of the list
    } cases[] = {
        // Two fore, two others: the tie goes to the last other colour met (3, in row 1).
        { "tie", MakePicture({ { 1, 0 }, { 3, 1 } }), { { 0, 0, 3 }, { 1, 0, 3 }, { 1, 1, 3 } } },
        { "fore majority", MakePicture({ { 1, 1 }, { 2, 1 } }), { { 0, 1, 1 } } },
        { "no fore cell", MakePicture({ { 0, 2 }, { 3, 0 } }), {} },
        { "all fore", MakePicture({ { 1, 1 }, { 1, 1 } }), {} },
        // 3 x 3 in 2 x 2 blocks: the right and bottom blocks are cut; the block turned to
        // the fore colour is listed before the others.
        { "edges cut", MakePicture({ { 1, 1, 0 }, { 1, 0, 1 }, { 0, 1, 1 } }),
            { { 1, 1, 1 }, { 2, 1, 0 }, { 1, 2, 0 } } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TMultiSketchArray points;
        ASSERT_TRUE(MultiSketchPoints(c.picture, 1, 2, 2, points));
        ASSERT_EQ(points.size(), qsizetype(c.expected.size()));
        // The points are packed: compared by value.
        for (qsizetype i = 0; i < points.size(); ++i) {
            const TMultiSketchPoint got = points[i], want = c.expected[std::size_t(i)];
            EXPECT_EQ(std::tuple(int(got.X), int(got.Y), int(got.Value)),
                std::tuple(int(want.X), int(want.Y), int(want.Value)))
                << i;
        }
    }

    // Blocks of 3 needles by 1 shuttle: each row on its own.
    TMultiSketchArray rows;
    ASSERT_TRUE(MultiSketchPoints(MakePicture({ { 1, 1, 2, 1 }, { 2, 2, 1, 1 } }), 1, 3, 1, rows));
    std::vector<std::vector<int>> painted = { { 1, 1, 1, 1 }, { 2, 2, 2, 1 } };
    QImage after = MakePicture({ { 1, 1, 2, 1 }, { 2, 2, 1, 1 } });
    for (const TMultiSketchPoint &p : rows)
        after.scanLine(p.Y)[p.X] = p.Value;
    EXPECT_EQ(PictureRows(after), painted);

    for (const auto &[needles, shuttles] : { std::pair { 0, 2 }, { 2, 0 }, { 100, 2 }, { 2, 100 } }) {
        TMultiSketchArray kept { { 7, 7, 7 } };
        QString error;
        EXPECT_FALSE(MultiSketchPoints(MakePicture({ { 1, 0 } }), 1, needles, shuttles, kept, &error));
        EXPECT_EQ(error, GetUiMessage(UiKey::String::SketchBlockOutOfRange));
        EXPECT_EQ(kept.size(), 1);
    }
}

TEST_F(Outlines, RunsOnTheGridAsOneUndoableStep)
{
    TPatternGrid g;
    const QImage start
        = MakePicture({ { 0, 1, 1, 1, 0 }, { 0, 1, 1, 1, 0 }, { 1, 1, 2, 1, 1 } }, GreyPalette());
    show(g, start);
    g.SetForeColorIndex(1);
    g.SetBackColorIndex(0);

    RunTabbySketch(g, TSketchStart::Double);
    EXPECT_EQ(PictureRows(g.Picture()),
        (std::vector<std::vector<int>> { { 0, 1, 1, 1, 0 }, { 0, 0, 1, 0, 0 }, { 0, 1, 2, 1, 0 } }));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(start));

    // Multi-needle: 2 x 2 blocks; the step holds exactly what changed.
    ASSERT_TRUE(RunMultiSketch(g, 2, 2));
    EXPECT_EQ(PictureRows(g.Picture()),
        (std::vector<std::vector<int>> { { 0, 0, 1, 1, 0 }, { 0, 0, 1, 1, 0 }, { 1, 1, 2, 2, 1 } }));
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(start));
    EXPECT_TRUE(g.Redo());
    EXPECT_EQ(g.Picture(), g.RefBitmap());

    // A selection wholly outside the picture changes nothing and records nothing.
    const int steps = g.UndoStore().UndoCount();
    g.SetSelectionRegion(QRegion(20, 20, 3, 3));
    RunTabbySketch(g, TSketchStart::Single);
    EXPECT_EQ(g.UndoStore().UndoCount(), steps);
    EXPECT_FALSE(RunMultiSketch(g, 0, 2));
    EXPECT_EQ(g.UndoStore().UndoCount(), steps);
}
