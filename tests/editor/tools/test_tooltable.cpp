// The tool table walked over every tool id: each row is the row of its id and agrees with
// itself, the tools it builds are the ones the grid can use, and every built tool, chosen on
// a grid and used with the mouse and the keys, shows its cursor and leaves every change it
// made recorded.
#include "editor/tools/tooltable.h"

#include "../patterngridfixture.h"
#include "core/base/toolid.h"
#include "editor/patterngrid.h"
#include "editor/tools/customline.h"
#include "editor/tools/drawtoolregistry.h"
#include "editor/tools/gridtool.h"
#include "editor/tools/toolinfo.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using T = TToolId;

class ToolTable : public TPatternGridFixture { };

// The tools whose grid side is not built yet.
const std::set<T> kNotBuilt { T::Ruber, T::HorzLine, T::VertLine, T::NoTool, T::ConcentricRectangle };

} // namespace

TEST_F(ToolTable, EveryRowIsTheRowOfItsIdAndAgreesWithItself)
{
    const QStringList classes = RegisteredDrawObjectClasses();
    std::set<std::string> actions;
    TPatternGrid grid;
    for (int i = 0; i <= MaxToolId; ++i) {
        const T id = static_cast<T>(i);
        SCOPED_TRACE(i);
        const TToolRow &row = ToolRow(id);
        EXPECT_EQ(row.Id, id);
        const QString cls = QString::fromLatin1(row.DrawObjectClass);
        EXPECT_TRUE(cls.isEmpty() || classes.contains(cls)) << row.DrawObjectClass;
        EXPECT_EQ(DrawObjectClassForTool(id), cls);
        // The columns about the drawing object need one.
        if (cls.isEmpty()) {
            EXPECT_FALSE(
                row.RecreatedOnChoice || row.UsesSelectionObject || row.KeepsShapeCopy || row.FillsArea);
            EXPECT_EQ(row.Pen, TToolPen::Default);
        }
        EXPECT_TRUE(!row.MakesSelection || row.UsesSelectionObject);
        EXPECT_FALSE(row.KeepsShapeCopy && row.UsesSelectionObject) << "a selection is no shape to keep";
        EXPECT_TRUE(!row.FillsArea || row.Pen == TToolPen::Solid);

        const bool built = !kNotBuilt.count(id);
        const std::unique_ptr<TGridTool> tool = MakeGridTool(grid, id);
        EXPECT_EQ(tool != nullptr, built);
        if (tool) {
            EXPECT_EQ(tool->Id(), id);
            EXPECT_EQ(tool->Cursor(), row.Cursor);
        }

        const TToolInfo info = ToolInfo(id);
        EXPECT_EQ(info.Id, id);
        EXPECT_EQ(info.Built, built);
        EXPECT_EQ(info.ActionName, row.ActionName);
        if (row.ActionName) {
            EXPECT_TRUE(std::string(row.ActionName).rfind("Act", 0) == 0) << row.ActionName;
            EXPECT_TRUE(actions.insert(row.ActionName).second) << "two tools with " << row.ActionName;
            EXPECT_FALSE(std::string(info.CaptionKey).empty());
            EXPECT_FALSE(std::string(info.CaptionSection).empty());
        }
    }
    EXPECT_EQ(ToolRow(static_cast<T>(MaxToolId + 1)).Id, T::NoTool);
    EXPECT_FALSE(ToolInfo(static_cast<T>(200)).Built);
}

// Every built tool, chosen on a grid with a picture of several colours: its cursor shows; a
// press, a drag and a release with each button, Enter and Delete change the picture only
// through recorded steps (RefBitmap is the picture again once a pending shape is
// committed). A tool that is not built leaves the picture alone.
TEST_F(ToolTable, EveryToolWorksOnTheGrid)
{
    for (int i = 0; i <= MaxToolId; ++i) {
        const T id = static_cast<T>(i);
        SCOPED_TRACE(i);
        QImage picture = NewPicture(12, 10, GreyPalette());
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x)
                picture.scanLine(y)[x] = std::uint8_t((x / 3 + y / 4) % 3);
        const std::vector<std::vector<int>> before = PictureRows(picture);
        TPatternGrid g;
        show(g, picture);
        g.SetForeColorIndex(7);
        g.SetDrawTool(id);
        EXPECT_EQ(g.ToolId(), id);
        EXPECT_EQ(g.ToolCursor(), ToolRow(id).Cursor);
        using Btn = TPatternGrid::TMouseButton;
        for (Btn b : { Btn::Left, Btn::Right }) {
            g.MouseDown({ { 2, 2 }, b });
            g.MouseMove({ { 6, 5 }, b }, true);
            g.MouseMove({ { 8, 7 }, b }, true);
            g.MouseUp({ { 8, 7 }, b });
        }
        g.HandleToolKey(TToolKey::Enter);
        g.HandleToolKey(TToolKey::Delete);
        if (TCustomLine *o = g.DrawObject(); o && !o->Cells().empty())
            g.SetDrawTool(T::Move); // commits what is still pending
        if (g.ToolTimerOn())
            g.MouseUp({ { 8, 7 }, Btn::Left });
        EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
        if (kNotBuilt.count(id)) {
            EXPECT_EQ(PictureRows(g.Picture()), before);
        }
    }
}
