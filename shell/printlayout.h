#pragma once
// TPrintLayout: how a pattern is cut into printed pages.
// A pattern prints as it looks on screen: every cell keeps the size in screen pixels that the
// document's grid gives it, the pattern is cut into pages of whole cells (across first, rows
// from the top), and each page is drawn with its grid lines, the separation lines at the
// document's compartment steps over them. A page is laid out in screen pixels of the size of
// the paper; the printing maps that onto the printer's page. Fit to paper scales the whole
// picture onto one page instead. Pages are drawn one at a time on demand: a big pattern at a
// large zoom has thousands.

#include "core/base/document.h"
#include "core/settings/settings.h"

#include <QImage>
#include <QSize>
#include <QString>

class QPainter;

// The paper without a printer, in screen pixels.
inline constexpr int NoPrinterPageWidth = 768;
inline constexpr int NoPrinterPageHeight = 1058;
// The least a pair of margins leaves of the page without a printer, in millimetres.
inline constexpr double MinPrintableMillimetres = 10.0;

// The printable page of a printer, in printer pixels, with the printer's resolution.
struct TPrinterPage {
    int Width = 0, Height = 0;
    int DpiX = 0, DpiY = 0;
};

// Millimetres to screen pixels: Trunc(dpi x mm / 25 + 0.5). The divisor is 25, not 25.4, as
// the margins have always been laid out; only the printed look depends on it.
int MillimetresToPixels(double millimetres, int dpi);
// The page in screen pixels: 768 x 1058 without a printer, else the printable page at the
// screen's resolution (rounded half up).
QSize PageSizeFor(const TPrinterPage *printer, int screenDpiX, int screenDpiY);
// True when each pair of margins leaves at least 10 mm of the page without a printer (at 96
// dpi), each margin within 0 to 100 mm; otherwise false and error says which pair.
bool CheckPageMargins(const TPageOption &margins, QString *error = nullptr);

// What a document gives the printing.
struct TPrintSource {
    const QImage *Picture = nullptr; // the 8-bit picture, not owned
    int CellWidth = 1, CellHeight = 1; // the grid's cell pitch: cell plus grid line
    TColor LineColor = 0, SeparationColor = 0;
    int ColCompart = 8, RowCompart = 8; // the separation lines' steps
    bool ShowLines = true;
    double WarpDensity = 0, WeftDensity = 0;
    QString DocumentName; // a path; shown by its file name
};

// The cell block one page shows: its first column and row (picture rows from the top) and
// its size in cells.
struct TPageBlock {
    int Col = 0, Row = 0, Width = 0, Height = 0;
    bool operator==(const TPageBlock &) const = default;
};

// Which pages a print job takes.
enum class TPrintRange { AllPages, PageNumbers, Selection, CurrentPage };
struct TPageSpan {
    int First = 0, Last = -1; // page indices, inclusive; empty when Last < First
    bool operator==(const TPageSpan &) const = default;
};
// The page indices of a range: page numbers from .. to (1-based) clipped to the pages; a
// selection prints what the same numbers print, or the current page when no numbers came.
TPageSpan PagesToPrint(TPrintRange range, int fromPage, int toPage, int pageCount, int currentPage);

class TPrintLayout {
public:
    // Takes the document's picture, cell pitch, colours and densities; fit to paper goes.
    void SetSource(const TPrintSource &source);
    const TPrintSource &Source() const { return m_source; }
    // The margins in millimetres, laid out at the screen's horizontal resolution.
    void SetMargins(const TPageOption &margins, int screenDpiX);
    int LeftPx() const { return m_leftPx; }
    int TopPx() const { return m_topPx; }
    int RightPx() const { return m_rightPx; }
    int BottomPx() const { return m_bottomPx; }
    // The paper in screen pixels and the zoom (percent) of the control that shows it.
    void SetPageSize(QSize page);
    void SetZoom(int percent);
    QSize PageSize() const { return m_page; }
    QSize ControlSize() const;

    // False when the page holds not even one cell (or the margins leave nothing): then
    // nothing is laid out, shown or printed.
    bool Fits() const;
    int ColumnsPerPage() const;
    int RowsPerPage() const;
    int PagesAcross() const;
    int PagesDown() const;
    int PageCount() const;
    TPageBlock Block(int page) const;

    int PageIndex() const { return m_pageIndex; }
    // Ignored outside 0 .. PageCount() - 1; true when the page was taken.
    bool SetPageIndex(int index);
    bool ShowSeparationLines() const { return m_showLines; }
    // Off while fitted to the paper.
    void SetShowSeparationLines(bool show);
    bool FitToPaper() const { return m_fitted; }
    // On: the whole picture is scaled onto one page (kept in proportion to the densities),
    // one pixel a cell, no lines. Off: the picture and cell pitch come back, lines stay off.
    void SetFitToPaper(bool fit);
    const QImage &FittedCopy() const { return m_fittedCopy; }

    // "(page + 1)/count".
    QString PageLabel(int page) const;
    // The page's cells as drawn: each cell CellWidth x CellHeight pixels, plus one pixel
    // column and row for the closing lines; the grid lines when shown.
    QImage RenderPage(int page) const;
    // The page at the top-left margin corner and, on the preview, its labels: the page label
    // right-aligned at the top of the bottom margin, the file name centred in the top one.
    void DrawPage(QPainter &painter, int page, bool labels) const;

private:
    const QImage &shownPicture() const;
    int cellWidth() const { return m_fitted ? 1 : m_source.CellWidth; }
    int cellHeight() const { return m_fitted ? 1 : m_source.CellHeight; }
    int usableWidth() const;
    int usableHeight() const;
    void drawLines(QImage &page, const TPageBlock &block) const;

    TPrintSource m_source;
    QSize m_page { NoPrinterPageWidth, NoPrinterPageHeight };
    int m_zoom = 100;
    int m_leftPx = 0, m_topPx = 0, m_rightPx = 0, m_bottomPx = 0;
    int m_pageIndex = 0;
    bool m_showLines = true;
    bool m_fitted = false;
    QImage m_fittedCopy;
};

// The furniture of every preview and printed page: the page outlined in grey on white,
// millimetre rulers along the left and top edges (at dpi / 25.4 pixels a millimetre) and the
// corner marks of the printable area inside the margins.
void DrawPageFurniture(QPainter &painter, QSize page, double dpi, const QRect &printable);

// A copy of an 8-bit picture scaled to size, each pixel the average of a grid of samples
// over the cells it covers: the whole picture is never converted to 32 bits.
QImage AverageScaled(const QImage &picture, QSize size);
