#include "weave/weaveslots.h"

#include "weave/weavefile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TWeaveArray Weave(std::initializer_list<std::initializer_list<int>> warps)
{
    TWeaveArray w(qsizetype(warps.size()));
    qsizetype x = 0;
    for (const auto &warp : warps) {
        w[x].setLength(qsizetype(warp.size()));
        qsizetype y = 0;
        for (int v : warp)
            w[x][y++] = std::uint8_t(v);
        ++x;
    }
    return w;
}

// Three colours (the second dark), one warp repeat, two layers: slots grown on opening.
TMesh ThreeColourMesh(int layers = 2)
{
    TMesh mesh;
    mesh.Colors = TColorArray { 0x0000FF, 0x101010, 0xFFFFFF };
    mesh.LayerCount = layers;
    return mesh;
}

} // namespace

TEST(WeaveSlots, CellsMapToSlots)
{
    EXPECT_EQ(ColorSlotOfCell(3, 1, 2, 1), 4);
    EXPECT_EQ(TechSlotOfCell(2, 2), 5);
    EXPECT_EQ(ColorSlotOfCell(3, 2, 2, 5), 11);
    TMesh mesh = ThreeColourMesh();
    TWeaveAssignment a(mesh);
    ASSERT_TRUE(a.Valid());
    EXPECT_EQ(a.SlotOfCell(2, 1), (TSlotRef { 4, true }));
    EXPECT_EQ(a.SlotOfCell(3, 0).Slot, -1); // beyond the layers
    a.SetMode(TAssignMode::Tech);
    EXPECT_EQ(a.SlotOfCell(2, 2), (TSlotRef { 5, false }));
    EXPECT_EQ(a.ColumnCount(), 3);
}

TEST(WeaveSlots, DefaultWeavesFollowTheDarkRule)
{
    struct Case {
        TColor color;
        int value;
    };
    for (const Case &c : { Case { 0x281414, 1 }, Case { 0x1D1D1D, 0 }, Case { 0x00001E, 1 } }) {
        // (20, 20, 40) ones, (29, 29, 29) zeros, (30, 0, 0) ones.
        TMesh mesh;
        mesh.Colors = TColorArray { c.color };
        TWeaveAssignment a(mesh);
        EXPECT_EQ(a.Weave(a.SlotOfCell(1, 0)), MakeWeaveArray(2, 2, std::uint8_t(c.value))) << c.color;
    }
}

// Opening grows both lists to the rows shown and keeps what is there.
TEST(WeaveSlots, OpeningGrowsSlotsAndKeepsAssignments)
{
    TMesh mesh = ThreeColourMesh(1);
    mesh.ColorWeaves.setLength(1);
    mesh.ColorWeaves[0] = Weave({ { 1, 0, 0 } });
    mesh.ColorWeaveNames = std::make_shared<QStringList>(QStringList { QStringLiteral("kept") });
    mesh.LayerCount = 3;
    TWeaveAssignment a(mesh);
    ASSERT_TRUE(a.Valid());
    EXPECT_EQ(mesh.ColorWeaves.length(), 9);
    EXPECT_EQ(mesh.ColorWeaveNames->size(), 9);
    EXPECT_EQ(mesh.TechWeaves.length(), 9);
    EXPECT_EQ(mesh.TechWeaveNames->size(), 9);
    EXPECT_EQ(mesh.ColorWeaves[0], Weave({ { 1, 0, 0 } }));
    EXPECT_EQ(mesh.ColorWeaveNames->at(0), QStringLiteral("kept"));
    EXPECT_EQ(mesh.ColorWeaves[4], MakeWeaveArray(2, 2, 0)); // colour 1 is dark
    EXPECT_EQ(mesh.TechWeaves[8], MakeWeaveArray(2, 2, 0));
    // Technical mode gives the empty technical slots of the rows shown ones.
    mesh.TechWeaves[7] = TWeaveArray();
    a.SetMode(TAssignMode::Tech);
    EXPECT_EQ(mesh.TechWeaves[7], MakeWeaveArray(2, 2, 1));
    EXPECT_EQ(mesh.TechWeaves[8], MakeWeaveArray(2, 2, 0));
}

// Right click arms, left click pastes weave and name; colour mode disarms after one paste,
// technical mode stays armed; the two kinds mix both ways.
TEST(WeaveSlots, CopyAndPasteWithBothArmingRules)
{
    TMesh mesh = ThreeColourMesh();
    TWeaveAssignment a(mesh);
    const TWeaveArray twill = Weave({ { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } });
    mesh.TechWeaves[1] = twill;
    (*mesh.TechWeaveNames)[1] = QStringLiteral("/w/twill.ovw");

    a.SetMode(TAssignMode::Tech);
    EXPECT_FALSE(a.PasteInto(1, 0)); // nothing armed
    a.ArmSource(1, 1);
    EXPECT_TRUE(a.PasteInto(2, 0));
    EXPECT_TRUE(a.Armed()); // technical mode keeps the source
    EXPECT_TRUE(a.PasteInto(2, 2));
    EXPECT_EQ(mesh.TechWeaves[3], twill);
    EXPECT_EQ(mesh.TechWeaves[5], twill);
    EXPECT_EQ(mesh.TechWeaveNames->at(5), QStringLiteral("/w/twill.ovw"));

    a.SetMode(TAssignMode::Color); // technical to colour
    EXPECT_TRUE(a.PasteInto(2, 1));
    EXPECT_EQ(mesh.ColorWeaves[4], twill);
    EXPECT_EQ(mesh.ColorWeaveNames->at(4), QStringLiteral("/w/twill.ovw"));
    EXPECT_FALSE(a.Armed()); // colour mode pastes once
    EXPECT_FALSE(a.PasteInto(1, 0));

    a.ArmSource(2, 1); // colour to technical
    a.SetMode(TAssignMode::Tech);
    EXPECT_TRUE(a.PasteInto(1, 2));
    EXPECT_EQ(mesh.TechWeaves[2], twill);
    // Pasted weaves are copies: shifting one leaves the source alone.
    EXPECT_TRUE(a.ShiftCell(1, 2, ShiftRight));
    EXPECT_EQ(mesh.ColorWeaves[4], twill);
}

TEST(WeaveSlots, ShiftsMoveTheWeaveCyclically)
{
    struct Case {
        TShiftDirection direction;
        TWeaveArray expected;
    };
    // Warp 0 = (1, 0, 0), warp 1 = (1, 1, 0): weft 0 is the top row.
    const TWeaveArray start = Weave({ { 1, 0, 0 }, { 1, 1, 0 } });
    const Case cases[] = {
        { ShiftLeft, Weave({ { 1, 1, 0 }, { 1, 0, 0 } }) },
        { ShiftRight, Weave({ { 1, 1, 0 }, { 1, 0, 0 } }) },
        { ShiftUp, Weave({ { 0, 0, 1 }, { 1, 0, 1 } }) },
        { ShiftDown, Weave({ { 0, 1, 0 }, { 0, 1, 1 } }) },
    };
    for (const Case &c : cases) {
        TMesh mesh = ThreeColourMesh();
        TWeaveAssignment a(mesh);
        mesh.ColorWeaves[1] = start;
        EXPECT_TRUE(a.ShiftCell(1, 1, c.direction));
        EXPECT_EQ(mesh.ColorWeaves[1], c.expected) << c.direction;
        mesh.ColorWeaves[2] = TWeaveArray();
        EXPECT_FALSE(a.ShiftCell(1, 2, c.direction)); // empty slots stay empty
        EXPECT_TRUE(mesh.ColorWeaves[2].isEmpty());
    }
}

// Clear empties the slot of the mode shown and leaves the name; in technical mode it must not
// touch the colour slot of the same number.
TEST(WeaveSlots, ClearEmptiesTheSlotOfTheModeShown)
{
    TMesh mesh = ThreeColourMesh();
    TWeaveAssignment a(mesh);
    (*mesh.ColorWeaveNames)[4] = QStringLiteral("n");
    EXPECT_TRUE(a.ClearCell(2, 1));
    EXPECT_TRUE(mesh.ColorWeaves[4].isEmpty());
    EXPECT_EQ(mesh.ColorWeaveNames->at(4), QStringLiteral("n"));

    a.SetMode(TAssignMode::Tech);
    const TWeaveArray colour5 = mesh.ColorWeaves[5];
    EXPECT_TRUE(a.ClearCell(2, 2));
    EXPECT_TRUE(mesh.TechWeaves[5].isEmpty());
    EXPECT_EQ(mesh.ColorWeaves[5], colour5);
}

TEST(WeaveSlots, LoadSetsWeaveAndNameAndAFailedLoadKeepsBoth)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("g.ovw"));
    const TWeaveArray twill = Weave({ { 1, 0 }, { 0, 1 }, { 0, 0 } });
    ASSERT_TRUE(WriteWeaveFile(good, twill));
    const QString bad = dir.filePath(QStringLiteral("bad.ovw"));
    ASSERT_TRUE(WriteAll(bad, QByteArray(300, 'x')));

    TMesh mesh = ThreeColourMesh();
    TWeaveAssignment a(mesh);
    ASSERT_TRUE(a.LoadInto(2, 0, good));
    EXPECT_EQ(mesh.ColorWeaves[3], twill);
    EXPECT_EQ(mesh.ColorWeaveNames->at(3), good);
    for (const QString &name : { bad, dir.filePath(QStringLiteral("missing.ovw")) }) {
        QString error;
        EXPECT_FALSE(a.LoadInto(2, 0, name, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(mesh.ColorWeaves[3], twill);
        EXPECT_EQ(mesh.ColorWeaveNames->at(3), good);
    }
}

TEST(WeaveSlots, ZoomStaysWithinItsRange)
{
    TMesh mesh = ThreeColourMesh();
    TWeaveAssignment a(mesh);
    EXPECT_EQ(a.Zoom(), 4);
    for (int i = 0; i < 30; ++i)
        a.ZoomIn();
    EXPECT_EQ(a.Zoom(), 20);
    EXPECT_FALSE(a.CanZoomIn());
    for (int i = 0; i < 30; ++i)
        a.ZoomOut();
    EXPECT_EQ(a.Zoom(), 1);
    EXPECT_FALSE(a.CanZoomOut());
    EXPECT_TRUE(a.CanZoomIn());
}

TEST(WeaveSlots, HeaderTextTurnsBlackAtBrightness129)
{
    // 0.3 x 128 + 0.59 x 128 + 0.11 x 128 = 128; (129, 129, 129) gives 129.
    EXPECT_EQ(HeaderBrightness(0x808080), 128);
    EXPECT_TRUE(HeaderTextIsWhite(0x808080));
    EXPECT_EQ(HeaderBrightness(0x818181), 129);
    EXPECT_FALSE(HeaderTextIsWhite(0x818181));
    // 0.3 x 255 + 0.59 x 100 = 135.5 rounds to 136 (halves to even).
    EXPECT_EQ(HeaderBrightness(0x0064FF), 136);
}

TEST(WeaveSlots, RecordsBeyondTheLimitsAreRefused)
{
    TMesh mesh = ThreeColourMesh();
    mesh.LayerCount = 1 << 20;
    QString error;
    TWeaveAssignment a(mesh, &error);
    EXPECT_FALSE(a.Valid());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(a.RowCount(), 0);
    EXPECT_TRUE(mesh.ColorWeaves.isEmpty());
}
