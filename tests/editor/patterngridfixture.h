#pragma once
// The start of every pattern-grid test: fresh shared state with room for undo steps, and a
// grid showing the test's picture.

#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"

#include <gtest/gtest.h>

#include <QImage>

class TPatternGridFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        StartSettings().MaxUndoCount = 20;
    }
    // The grid shows picture at the zoom level (9 by default), RefBitmap equal to it.
    static void show(TPatternGrid &g, const QImage &picture, int level = 9)
    {
        g.SetClientSize(200, 200);
        g.SetPicture(picture);
        g.ReadPaletteFromPicture();
        g.RebuildDisplayBitmap();
        g.SetZoom(level);
    }
};
