#pragma once
// TNavigatorPanel: the navigator beside the documents.
// The navigator: the active document's picture at one pixel per cell, with a frame
// around the cells the document shows. Dragging the frame (any button but the right one)
// moves it inside the picture; letting go scrolls the document to the framed cells. The
// navigator's grid only refers to the document's picture, so showing it costs no copy.

#include "editor/ui/patterngridview.h"

#include <QDockWidget>

class TMDIChild;

// The navigator's grid with the frame drag.
class TNavigatorView : public TPatternGridView {
    Q_OBJECT
public:
    explicit TNavigatorView(QWidget *parent = nullptr);

    // The document whose picture is shown, or null.
    TPatternGrid *Source() const;
    void SetSource(TMDIChild *child);
    // The frame follows the document's visible cells.
    void FollowView();
    bool Dragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TPoint pictureCellAt(const QPoint &pos) const;
    bool overFrame(const QPoint &pos) const;

    // Cleared by the document's destroyed signal, which comes while the document is
    // being torn down: the handler must not look at it then.
    TMDIChild *m_child = nullptr;
    QMetaObject::Connection m_childGone;
    bool m_dragging = false;
    TPoint m_dragStart;
    TRect m_frameAtStart;
};

class TNavigatorPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit TNavigatorPanel(QWidget *parent = nullptr);

    TNavigatorView *View() const { return m_view; }
    // Shows the document's picture (null: none); called when another document comes to
    // the front and when the picture itself changed.
    void ShowDocument(TMDIChild *child);
    // A double click on the title folds the panel down to a thin strip, so that it stays
    // at hand without taking room; another one gives the picture its height back.
    bool Collapsed() const { return m_collapsed; }
    void SetCollapsed(bool collapsed);
    static constexpr int CollapsedHeight = 6;

protected:
    bool event(QEvent *event) override;

private:
    TNavigatorView *m_view = nullptr;
    bool m_collapsed = false;
    int m_heightBefore = 0; // the panel's body height before it was folded
};
