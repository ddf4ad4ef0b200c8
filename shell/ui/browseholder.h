#pragma once
// TBrowseHolder: the widget a thumbnail browser sits in (a library page, the explorer's
// right side). The browser fills it (TBrowseImage::FitToParent) and follows its size, so
// the rows of thumbnails are laid out again whenever the holder is resized.

#include "shell/ui/browseview.h"

#include <QResizeEvent>
#include <QWidget>

class TBrowseHolder : public QWidget {
public:
    explicit TBrowseHolder(QWidget *parent)
        : QWidget(parent)
    {
    }
    TBrowseAll *Browse = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (Browse)
            Browse->FitToParent();
    }
};
