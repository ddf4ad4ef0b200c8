#pragma once
// A pattern grid stand-in for the undo store tests: it holds the pictures, palettes and
// settings the store reads, applies what the store hands back as simply as possible and
// logs every call that reports something, so that tests see what was sent.

#include "core/undo/undo.h"
#include "core/undo/undogrid.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <set>

// A drawing-object copy: only its vertices matter to the store.
struct FakeShape : TUndoObject {
    explicit FakeShape(int v)
        : vertices(v)
    {
    }
    int vertices;
};

// A floating object with a name.
struct FakeFloating : TUndoObject {
    explicit FakeFloating(QString n)
        : name(std::move(n))
    {
    }
    QString name;
};

class FakeGrid : public TUndoGridLink {
public:
    QImage pic, ref;
    TPalette256 pal {}, displayPal {};
    std::uint8_t mode = UndoModeRecord;
    TLineArray changed;
    TColorSet protectedSet;
    std::array<std::uint8_t, 3> pointStyle { 0, 0, 1 };
    QRegion selection;
    TRepeatPic repeat;
    TToolId tool = TToolId::Move;
    int shapeVertices = 0;
    double weft = 30, warp = 60;
    int fore = 0, back = 0;
    bool modified = false;
    QStringList log;
    TUndo *store = nullptr; // set by tests that let the grid record (shifts)

    QImage &Picture() override { return pic; }
    QImage &RefBitmap() override { return ref; }
    const TPalette256 &Palette() const override { return pal; }
    const TPalette256 &DisplayPalette() const override { return displayPal; }
    std::uint8_t UndoMode() const override { return mode; }
    void SetUndoMode(std::uint8_t m) override { mode = m; }
    const TLineArray &ChangedCells() const override { return changed; }
    TColorSet ColorSet() const override { return protectedSet; }
    std::array<std::uint8_t, 3> PointStyle() const override { return pointStyle; }
    QRegion SelectionRegion() const override { return selection; }
    const TRepeatPic &RepeatInfo() const override { return repeat; }

    TParam CurrentSettings() const override
    {
        TParam p;
        p.ToolId = tool;
        p.WeftDensity = weft;
        p.WarpDensity = warp;
        p.ForeIndex = fore;
        p.BackIndex = back;
        p.Repeat = repeat;
        return p;
    }
    void RestoreSettings(const TParam &p, bool applyRepeatView) override
    {
        weft = p.WeftDensity;
        warp = p.WarpDensity;
        fore = p.ForeIndex;
        back = p.BackIndex;
        repeat = p.Repeat;
        log << QStringLiteral("settings view=%1").arg(applyRepeatView);
    }

    TToolId ToolId() const override { return tool; }
    // The grid's tool table keeps the pending shape of these tools.
    bool ToolKeepsShapeCopy() const override
    {
        static const std::set<int> shapeTools { 9, 10, 17, 18, 19, 20, 21, 22, 26, 27, 28, 34, 35, 38 };
        return shapeTools.count(ToolIdValue(tool)) == 1;
    }
    std::unique_ptr<TUndoObject> CopyDrawObject() const override
    {
        if (shapeVertices < 2)
            return nullptr;
        return std::make_unique<FakeShape>(shapeVertices);
    }
    void RestoreDrawObject(const TUndoObject &copy, TToolId toolId) override
    {
        shapeVertices = static_cast<const FakeShape &>(copy).vertices;
        tool = toolId;
        log << QStringLiteral("restore shape tool=%1").arg(ToolIdValue(toolId));
    }
    void ResetDrawObject() override { shapeVertices = 0; }

    void SetFloatingObjectsState(int state) override { log << QStringLiteral("floating %1").arg(state); }
    void ReplacePicture(const QImage &p) override
    {
        pic = p;
        ref = p.copy();
        log << QStringLiteral("picture");
    }
    void ReplacePalette(const TPalette256 &p) override
    {
        pal = displayPal = p;
        log << QStringLiteral("palette");
    }
    void ShiftPictureVert(int count) override { shift(count, true); }
    void ShiftPictureHorz(int count) override { shift(count, false); }
    void ReapplyZoom() override { log << QStringLiteral("zoom"); }

    void SetModified() override { modified = true; }
    void Repaint() override { log << QStringLiteral("repaint"); }
    void NotifyMainWindow() override { log << QStringLiteral("main"); }
    void NotifyRefreshView(int m) override { log << QStringLiteral("refresh %1").arg(m); }
    void NotifyPatternSize(int c, int r) override { log << QStringLiteral("size %1x%2").arg(c).arg(r); }
    void NotifyPenWidth() override { log << QStringLiteral("pen"); }

    // As the grid does: Picture := RefBitmap shifted cyclically (rows or columns count..
    // n-1 first), RefBitmap := Picture, then a shift step is recorded.
    void shift(int count, bool rows)
    {
        QImage out = ref.copy();
        const int w = ref.width(), h = ref.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = rows ? x : (x + count) % w;
                const int sy = rows ? (y + count) % h : y;
                out.scanLine(y)[x] = ref.constScanLine(sy)[sx];
            }
        pic = out;
        ref = out.copy();
        log << QStringLiteral("shift %1 %2").arg(rows ? "rows" : "cols").arg(count);
        if (store)
            store->SaveShiftStep(count, rows ? TUndoKind::ShiftVert : TUndoKind::ShiftHorz);
    }
};
