#pragma once
// The wheel as every view of cells must take it (the pattern grid, the sample card, the
// card viewer): a plain turn scrolls rows, Shift with a turn scrolls columns, Ctrl with a
// turn zooms and keeps what lay under the pointer there. Each view's test describes its
// view through WheelView and runs the one table of cases on it.

#include "core/base/gridrecords.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A view set up part-way into content larger than its window, with room to scroll and
// zoom either way from there.
struct WheelView {
    virtual ~WheelView() = default;
    // The part of the window that stays in place while the content scrolls; points are
    // given in its pixels.
    virtual QWidget *Frame() = 0;
    // The widget under the pointer, which receives the wheel.
    virtual QWidget *Target() = 0;
    // What lies under a point of the frame: (column, row) in the view's cells (needles and
    // card lines for the card viewer).
    virtual TPoint ContentAt(QPoint framePoint) = 0;
    virtual int Zoom() = 0;

    void Turn(QPoint framePoint, int deltaY, Qt::KeyboardModifiers mods)
    {
        const QPointF at = Target()->mapFrom(Frame(), framePoint);
        QWheelEvent e(at, Target()->mapToGlobal(at), QPoint(), QPoint(0, deltaY), Qt::NoButton, mods,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(Target(), &e);
    }
};

inline void ExpectWheelCases(const char *viewName, const std::function<std::unique_ptr<WheelView>()> &make)
{
    struct Case {
        const char *what;
        int deltaY;
        Qt::KeyboardModifiers mods;
        TPoint moved; // what now lies under the pointer, less what lay there
        int zoom; // -1: the zoom went down, 0: unchanged, 1: up
    } cases[] = {
        { "a notch towards the user: three rows down", -120, Qt::NoModifier, { 0, 3 }, 0 },
        { "a notch away: three rows up", 120, Qt::NoModifier, { 0, -3 }, 0 },
        { "Shift, towards the user: three columns right", -120, Qt::ShiftModifier, { 3, 0 }, 0 },
        { "Shift, away: three columns left", 120, Qt::ShiftModifier, { -3, 0 }, 0 },
        { "Ctrl, away: zoom in about the pointer", 120, Qt::ControlModifier, { 0, 0 }, 1 },
        { "Ctrl, towards the user: zoom out about the pointer", -120, Qt::ControlModifier, { 0, 0 }, -1 },
    };
    QApplication::setWheelScrollLines(3);
    for (const Case &c : cases) {
        const std::unique_ptr<WheelView> view = make();
        const QRect frame = view->Frame()->rect();
        // Off-centre, so that a zoom about the frame's corner or centre would move it.
        const QPoint pointer(frame.width() * 2 / 5 + 1, frame.height() * 3 / 7 + 1);
        const TPoint before = view->ContentAt(pointer);
        const int zoomBefore = view->Zoom();
        view->Turn(pointer, c.deltaY, c.mods);
        const TPoint after = view->ContentAt(pointer);
        EXPECT_EQ(after.X - before.X, c.moved.X) << viewName << ": " << c.what;
        EXPECT_EQ(after.Y - before.Y, c.moved.Y) << viewName << ": " << c.what;
        const int zoom = view->Zoom();
        EXPECT_EQ(zoom > zoomBefore ? 1 : zoom < zoomBefore ? -1 : 0, c.zoom) << viewName << ": " << c.what;
    }
}
