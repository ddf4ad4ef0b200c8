#pragma once
// The start of every pattern-grid test: fresh shared state with room for undo steps, and a
// grid showing the test's picture; and a picture whose palette has no room left for black.

#include "core/palette/palette.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>

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

// 256 entries, none of them black.
inline TPalette256 FullPaletteWithoutBlack()
{
    TPalette256 full;
    for (int i = 0; i < 256; ++i)
        full[i] = { std::uint8_t(i), std::uint8_t(255 - i), 7, 0 };
    return full;
}

// One row in which every entry of palette is used by a cell.
inline QImage EveryEntryPicture(const TPalette256 &palette)
{
    QImage all256 = NewPicture(256, 1, palette);
    for (int x = 0; x < 256; ++x)
        all256.scanLine(0)[x] = std::uint8_t(x);
    return all256;
}
