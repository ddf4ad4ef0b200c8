#include "shell/ui/printpattern.h"

#include "core/base/error.h"
#include "core/base/progress.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "shell/ui/cancelprintwindow.h"
#include "shell/ui/documentwindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <cmath>
#include <optional>

bool PrinterInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

TPageSpan ChosenPages(const QPrinter &printer, const TPrintLayout &layout)
{
    TPrintRange range = TPrintRange::AllPages;
    switch (printer.printRange()) {
    case QPrinter::PageRange:
        range = TPrintRange::PageNumbers;
        break;
    case QPrinter::Selection:
        range = TPrintRange::Selection;
        break;
    case QPrinter::CurrentPage:
        range = TPrintRange::CurrentPage;
        break;
    case QPrinter::AllPages:
        break;
    }
    return PagesToPrint(range, printer.fromPage(), printer.toPage(), layout.PageCount(), layout.PageIndex());
}

TPrintPattern::TPrintPattern(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PrintPattern"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        m_screenDpiX = std::max(1, int(std::lround(screen->logicalDotsPerInchX())));
        m_screenDpiY = std::max(1, int(std::lround(screen->logicalDotsPerInchY())));
    }
    m_layout.SetMargins(StartSettings().PageOption, m_screenDpiX);
    CalcPageSize();
}

void TPrintPattern::SetSource(TMDIChild &document)
{
    const TPatternGrid &grid = document.PatternGrid();
    TPrintSource source;
    source.Picture = &grid.Picture();
    source.CellWidth = grid.DefaultColWidth() + grid.GridLineWidth();
    source.CellHeight = grid.DefaultRowHeight() + grid.GridLineWidth();
    source.LineColor = grid.LineColor();
    source.SeparationColor = grid.CompartLineColor();
    source.ColCompart = grid.Grid().DefaultColCompart;
    source.RowCompart = grid.Grid().DefaultRowCompart;
    source.ShowLines = grid.GridLineWidth() > 0;
    source.WarpDensity = grid.WarpDensity();
    source.WeftDensity = grid.WeftDensity();
    source.DocumentName = document.Caption();
    m_layout.SetSource(source);
    update();
}

void TPrintPattern::CalcPageSize(const QPrinter *printer)
{
    std::optional<TPrinterPage> page;
    if (printer && PrinterInstalled()) {
        const QRect printable = printer->pageLayout().paintRectPixels(printer->resolution());
        page = TPrinterPage { printable.width(), printable.height(), printer->resolution(),
            printer->resolution() };
    }
    m_layout.SetPageSize(PageSizeFor(page ? &*page : nullptr, m_screenDpiX, m_screenDpiY));
    // A fitted copy is made for the usable area, which may have changed.
    if (m_layout.FitToPaper()) {
        m_layout.SetFitToPaper(false);
        m_layout.SetFitToPaper(true);
    }
    setFixedSize(m_layout.ControlSize());
    update();
}

void TPrintPattern::SetPageIndex(int index)
{
    if (m_layout.SetPageIndex(index))
        update();
}

void TPrintPattern::SetShowSeparationLines(bool show)
{
    m_layout.SetShowSeparationLines(show);
    update();
}

void TPrintPattern::SetFitToPaper(bool fit)
{
    m_layout.SetFitToPaper(fit);
    update();
}

void TPrintPattern::drawSheet(QPainter &painter, int page, bool labels) const
{
    const QSize control = m_layout.ControlSize();
    const QRect printable(m_layout.LeftPx(), m_layout.TopPx(),
        control.width() - m_layout.LeftPx() - m_layout.RightPx(),
        control.height() - m_layout.TopPx() - m_layout.BottomPx());
    DrawPageFurniture(painter, control, m_screenDpiX, printable);
    if (m_layout.Fits()) {
        m_layout.DrawPage(painter, page, labels);
    } else if (labels) {
        painter.drawText(QRect(QPoint(0, 0), control), Qt::AlignCenter | Qt::TextWordWrap,
            GetUiString(UiKey::PrintPreview::Page_Too_Small));
    }
}

void TPrintPattern::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawSheet(painter, m_layout.PageIndex(), true);
}

bool TPrintPattern::Print(QPrinter &printer, TPageSpan pages, QString *error)
{
    if (!m_layout.Fits())
        return Fail(error, GetUiString(UiKey::PrintPreview::Page_Too_Small));
    if (pages.Last < pages.First)
        return true;
    printer.setDocName(QStringLiteral("PrintPattern"));
    QPainter painter;
    if (!painter.begin(&printer))
        return Fail(error, GetUiString(UiKey::PrintPreview::Print_Failed));
    // Everything is drawn in screen pixels of the page, mapped onto the printer's page with
    // the proportions kept.
    const QSize control = m_layout.ControlSize();
    const QRect device = painter.viewport();
    const QSize mapped = control.scaled(device.size(), Qt::KeepAspectRatio);
    painter.setWindow(QRect(QPoint(0, 0), control));
    painter.setViewport(QRect(device.topLeft(), mapped));

    ShowProgressGauge();
    TProgressSteps steps(std::max(1, pages.Last - pages.First));
    TFrmCancelPrint cancel(this);
    cancel.show();
    for (int page = pages.First; page <= pages.Last; ++page) {
        steps.step(page - pages.First);
        drawSheet(painter, page, false);
        Q_EMIT PagePrinted(page);
        QCoreApplication::processEvents();
        if (cancel.Cancelled() || page == pages.Last)
            break;
        printer.newPage();
    }
    cancel.hide();
    steps.finish();
    painter.end();
    return true;
}
