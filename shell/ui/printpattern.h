#pragma once
// TPrintPattern: one page of a pattern as it prints, and the printing of a range of pages.
// The control shows the current page at its zoom with the page's furniture and labels (the
// print preview holds one); Print sends a range of pages to a printer, one page at a time,
// with the gauge running and a window to cancel between pages. The page layout itself is
// TPrintLayout's.

#include "shell/printlayout.h"

#include <QPrinter>
#include <QWidget>

class TMDIChild;

class TPrintPattern : public QWidget {
    Q_OBJECT
public:
    // Takes the page margins of the settings as they are now and lays out the page.
    explicit TPrintPattern(QWidget *parent = nullptr);

    // The document's picture, cell pitch, line colours, grid-line display and name.
    void SetSource(TMDIChild &document);
    // The page from the printer's printable area (768 x 1058 when no printer is installed);
    // the control takes the page's size at its zoom.
    void CalcPageSize(const QPrinter *printer = nullptr);
    const TPrintLayout &Layout() const { return m_layout; }
    void SetPageIndex(int index);
    void SetShowSeparationLines(bool show);
    void SetFitToPaper(bool fit);
    // Sends pages.First .. pages.Last to the printer. False with a message when the printer or
    // its output file cannot be started, or the page holds no cell; a cancel ends the job
    // after the page being printed.
    bool Print(QPrinter &printer, TPageSpan pages, QString *error = nullptr);

Q_SIGNALS:
    // A page went to the printer; events are let through right after, so a cancel is seen.
    void PagePrinted(int page);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawSheet(QPainter &painter, int page, bool labels) const;

    TPrintLayout m_layout;
    int m_screenDpiX = 96;
    int m_screenDpiY = 96;
};

// The pages the printer's range (as the print dialog left it) takes of the layout: a
// selection without page numbers is the current page.
TPageSpan ChosenPages(const QPrinter &printer, const TPrintLayout &layout);

// Whether any printer is installed (without one the page is laid out at 768 x 1058).
bool PrinterInstalled();
