#include "shell/printlayout.h"

#include "core/base/error.h"
#include "core/palette/palette.h"
#include "core/settings/uitexts.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

int MillimetresToPixels(double millimetres, int dpi)
{
    return int(std::trunc(dpi * millimetres / 25.0 + 0.5));
}

QSize PageSizeFor(const TPrinterPage *printer, int screenDpiX, int screenDpiY)
{
    if (!printer || printer->DpiX <= 0 || printer->DpiY <= 0)
        return QSize(NoPrinterPageWidth, NoPrinterPageHeight);
    const auto halfUp = [](double v) { return int(std::floor(v + 0.5)); };
    return QSize(halfUp(double(screenDpiX) * printer->Width / printer->DpiX),
        halfUp(double(screenDpiY) * printer->Height / printer->DpiY));
}

bool CheckPageMargins(const TPageOption &margins, QString *error)
{
    for (double m : { margins.LeftMargin, margins.RightMargin, margins.TopMargin, margins.BottomMargin })
        if (!(m >= 0.0 && m <= 100.0))
            return Fail(error, GetUiString(UiKey::PageOption::Margin_Out_Of_Range));
    // The page without a printer, in the millimetres the margins are laid out in.
    constexpr double dpi = 96.0;
    const double width = NoPrinterPageWidth * 25.0 / dpi;
    const double height = NoPrinterPageHeight * 25.0 / dpi;
    if (margins.LeftMargin + margins.RightMargin > width - MinPrintableMillimetres)
        return Fail(error, GetUiString(UiKey::PageOption::Left_Right_Too_Wide));
    if (margins.TopMargin + margins.BottomMargin > height - MinPrintableMillimetres)
        return Fail(error, GetUiString(UiKey::PageOption::Top_Bottom_Too_Wide));
    return true;
}

TPageSpan PagesToPrint(TPrintRange range, int fromPage, int toPage, int pageCount, int currentPage)
{
    if (pageCount <= 0)
        return {};
    switch (range) {
    case TPrintRange::AllPages:
        return { 0, pageCount - 1 };
    case TPrintRange::Selection:
        if (fromPage <= 0 && toPage <= 0)
            return PagesToPrint(TPrintRange::CurrentPage, 0, 0, pageCount, currentPage);
        [[fallthrough]];
    case TPrintRange::PageNumbers: {
        const int first = std::max(fromPage, 1) - 1;
        const int last = std::min(toPage <= 0 ? pageCount : toPage, pageCount) - 1;
        return first <= last ? TPageSpan { first, last } : TPageSpan {};
    }
    case TPrintRange::CurrentPage:
        if (currentPage < 0 || currentPage >= pageCount)
            return {};
        return { currentPage, currentPage };
    }
    return {};
}

void TPrintLayout::SetSource(const TPrintSource &source)
{
    m_source = source;
    m_source.CellWidth = std::max(1, source.CellWidth);
    m_source.CellHeight = std::max(1, source.CellHeight);
    m_source.ColCompart = std::max(1, source.ColCompart);
    m_source.RowCompart = std::max(1, source.RowCompart);
    m_showLines = source.ShowLines;
    m_fitted = false;
    m_fittedCopy = QImage();
    m_pageIndex = 0;
}

void TPrintLayout::SetMargins(const TPageOption &margins, int screenDpiX)
{
    m_leftPx = MillimetresToPixels(margins.LeftMargin, screenDpiX);
    m_topPx = MillimetresToPixels(margins.TopMargin, screenDpiX);
    m_rightPx = MillimetresToPixels(margins.RightMargin, screenDpiX);
    m_bottomPx = MillimetresToPixels(margins.BottomMargin, screenDpiX);
}

void TPrintLayout::SetPageSize(QSize page)
{
    m_page = page;
    m_pageIndex = std::clamp(m_pageIndex, 0, std::max(0, PageCount() - 1));
}

void TPrintLayout::SetZoom(int percent)
{
    m_zoom = std::max(1, percent);
}

QSize TPrintLayout::ControlSize() const
{
    const auto scaled = [this](int v) { return int(std::floor(double(v) * m_zoom / 100.0 + 0.5)); };
    return QSize(scaled(m_page.width()), scaled(m_page.height()));
}

int TPrintLayout::usableWidth() const
{
    return ControlSize().width() - m_leftPx - m_rightPx;
}

int TPrintLayout::usableHeight() const
{
    return ControlSize().height() - m_topPx - m_bottomPx;
}

const QImage &TPrintLayout::shownPicture() const
{
    static const QImage none;
    if (m_fitted)
        return m_fittedCopy;
    return m_source.Picture ? *m_source.Picture : none;
}

bool TPrintLayout::Fits() const
{
    return usableWidth() >= cellWidth() && usableHeight() >= cellHeight();
}

int TPrintLayout::ColumnsPerPage() const
{
    return Fits() ? usableWidth() / cellWidth() : 0;
}

int TPrintLayout::RowsPerPage() const
{
    return Fits() ? usableHeight() / cellHeight() : 0;
}

int TPrintLayout::PagesAcross() const
{
    const int width = shownPicture().width();
    return Fits() && width > 0 ? (width - 1) / ColumnsPerPage() + 1 : 0;
}

int TPrintLayout::PagesDown() const
{
    const int height = shownPicture().height();
    return Fits() && height > 0 ? (height - 1) / RowsPerPage() + 1 : 0;
}

int TPrintLayout::PageCount() const
{
    return PagesAcross() * PagesDown();
}

TPageBlock TPrintLayout::Block(int page) const
{
    if (page < 0 || page >= PageCount())
        return {};
    const QImage &picture = shownPicture();
    TPageBlock block;
    block.Col = ColumnsPerPage() * (page % PagesAcross());
    block.Row = RowsPerPage() * (page / PagesAcross());
    block.Width = std::min(ColumnsPerPage(), picture.width() - block.Col);
    block.Height = std::min(RowsPerPage(), picture.height() - block.Row);
    return block;
}

bool TPrintLayout::SetPageIndex(int index)
{
    if (index < 0 || index >= PageCount())
        return false;
    m_pageIndex = index;
    return true;
}

void TPrintLayout::SetShowSeparationLines(bool show)
{
    m_showLines = show && !m_fitted;
}

void TPrintLayout::SetFitToPaper(bool fit)
{
    if (fit == m_fitted || !m_source.Picture || m_source.Picture->isNull())
        return;
    m_pageIndex = 0;
    if (!fit) {
        m_fitted = false;
        m_fittedCopy = QImage();
        return; // the lines stay off until switched on again
    }
    const QImage &picture = *m_source.Picture;
    // A density of 0 keeps the cells square.
    const double ratio = m_source.WarpDensity > 0 && m_source.WeftDensity > 0
        ? m_source.WarpDensity / m_source.WeftDensity
        : 1.0;
    m_fitted = true; // the usable area is measured with one pixel a cell
    const double scale = std::max(double(picture.width()) / std::max(1, usableWidth()),
        picture.height() * ratio / std::max(1, usableHeight()));
    const auto round = [](double v) { return std::max(1, int(std::floor(v + 0.5))); };
    m_fittedCopy = AverageScaled(
        picture, QSize(round(picture.width() / scale), round(picture.height() * ratio / scale)));
    m_showLines = false;
}

QString TPrintLayout::PageLabel(int page) const
{
    return QStringLiteral("%1/%2").arg(page + 1).arg(PageCount());
}

namespace {
// The colour of each index of an 8-bit picture (or the pixels of a 32-bit one, as is).
QRgb cellColor(const QImage &picture, const QList<QRgb> &table, int x, int y)
{
    if (picture.format() == QImage::Format_Indexed8) {
        const uchar index = picture.constScanLine(y)[x];
        return index < table.size() ? table[index] : qRgb(0, 0, 0);
    }
    return reinterpret_cast<const QRgb *>(picture.constScanLine(y))[x];
}
} // namespace

QImage TPrintLayout::RenderPage(int page) const
{
    const TPageBlock block = Block(page);
    if (block.Width <= 0 || block.Height <= 0)
        return QImage();
    const int cw = cellWidth(), ch = cellHeight();
    QImage image(cw * block.Width + 1, ch * block.Height + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage &picture = shownPicture();
    const QList<QRgb> table = picture.colorTable();
    for (int r = 0; r < block.Height; ++r) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(r * ch));
        for (int c = 0; c < block.Width; ++c)
            std::fill_n(
                line + c * cw, cw, cellColor(picture, table, block.Col + c, block.Row + r) | 0xFF000000u);
        for (int y = 1; y < ch; ++y)
            std::copy_n(line, cw * block.Width, reinterpret_cast<QRgb *>(image.scanLine(r * ch + y)));
    }
    if (m_showLines)
        drawLines(image, block);
    return image;
}

// Every grid line in the line colour first, then the separation lines over them: a
// horizontal one where the rows counted from the pattern's bottom reach a compartment step,
// a vertical one where the columns counted from the left do.
void TPrintLayout::drawLines(QImage &page, const TPageBlock &block) const
{
    const int cw = cellWidth(), ch = cellHeight();
    const int right = block.Width * cw, bottom = block.Height * ch;
    const int patternHeight = shownPicture().height();
    const QRgb line = ToQColor(m_source.LineColor).rgb();
    const QRgb separation = ToQColor(m_source.SeparationColor).rgb();
    const auto horizontal = [&](int i, QRgb color) {
        auto *row = reinterpret_cast<QRgb *>(page.scanLine(i * ch));
        std::fill_n(row, right, color);
    };
    const auto vertical = [&](int j, QRgb color) {
        for (int y = 0; y < bottom; ++y)
            reinterpret_cast<QRgb *>(page.scanLine(y))[j * cw] = color;
    };
    const auto rowStep = [&](int i) { return (patternHeight - (block.Row + i)) % m_source.RowCompart == 0; };
    const auto colStep = [&](int j) { return (block.Col + j) % m_source.ColCompart == 0; };
    for (int pass = 0; pass < 2; ++pass) {
        const bool separationPass = pass == 1;
        const QRgb color = separationPass ? separation : line;
        for (int i = 0; i <= block.Height; ++i)
            if (rowStep(i) == separationPass)
                horizontal(i, color);
        for (int j = 0; j <= block.Width; ++j)
            if (colStep(j) == separationPass)
                vertical(j, color);
    }
}

void TPrintLayout::DrawPage(QPainter &painter, int page, bool labels) const
{
    painter.drawImage(QPoint(m_leftPx, m_topPx), RenderPage(page));
    if (!labels)
        return;
    const QSize control = ControlSize();
    const int lineHeight = QFontMetrics(painter.font()).boundingRect(QStringLiteral("A")).height();
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, control.height() - m_bottomPx, control.width() - m_rightPx, lineHeight),
        Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, PageLabel(page));
    painter.drawText(QRect(0, 0, control.width(), m_topPx), Qt::AlignCenter | Qt::TextSingleLine,
        QFileInfo(m_source.DocumentName).fileName());
}

void DrawPageFurniture(QPainter &painter, QSize page, double dpi, const QRect &printable)
{
    const QColor grey(128, 128, 128);
    painter.save();
    painter.setPen(QPen(grey, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(QPoint(0, 0), page - QSize(1, 1)));
    const double perMillimetre = dpi / 25.4;
    const auto tick = [](int n) { return n % 10 == 0 ? 10 : n % 5 == 0 ? 5 : 2; };
    for (int n = 0;; ++n) {
        const int x = int(std::trunc(n * perMillimetre + 0.5));
        if (x >= page.width())
            break;
        painter.drawLine(x, 0, x, tick(n) - 1);
    }
    for (int n = 0;; ++n) {
        const int y = int(std::trunc(n * perMillimetre + 0.5));
        if (y >= page.height())
            break;
        painter.drawLine(0, y, tick(n) - 1, y);
    }
    // Two 25-pixel lines at each corner of the printable area, pointing out along the margins.
    constexpr int mark = 25;
    const int l = printable.left(), t = printable.top(), r = printable.right() + 1,
              b = printable.bottom() + 1;
    painter.drawLine(l - mark, t, l - 1, t);
    painter.drawLine(l, t - mark, l, t - 1);
    painter.drawLine(r + 1, t, r + mark, t);
    painter.drawLine(r, t - mark, r, t - 1);
    painter.drawLine(l - mark, b, l - 1, b);
    painter.drawLine(l, b + 1, l, b + mark);
    painter.drawLine(r + 1, b, r + mark, b);
    painter.drawLine(r, b + 1, r, b + mark);
    painter.restore();
}

QImage AverageScaled(const QImage &picture, QSize size)
{
    if (picture.isNull() || size.isEmpty())
        return QImage();
    QImage scaled(size, QImage::Format_RGB32);
    const QList<QRgb> table = picture.colorTable();
    // At most this many samples a side for each pixel: a fitted copy averages enough cells to
    // show the pattern's colours without reading every cell of a huge picture.
    constexpr int samples = 4;
    const double stepX = double(picture.width()) / size.width();
    const double stepY = double(picture.height()) / size.height();
    const int countX = std::clamp(int(std::ceil(stepX)), 1, samples);
    const int countY = std::clamp(int(std::ceil(stepY)), 1, samples);
    for (int y = 0; y < size.height(); ++y) {
        auto *out = reinterpret_cast<QRgb *>(scaled.scanLine(y));
        int rows[samples];
        for (int k = 0; k < countY; ++k)
            rows[k] = std::min(picture.height() - 1, int((y + (k + 0.5) / countY) * stepY));
        for (int x = 0; x < size.width(); ++x) {
            unsigned red = 0, green = 0, blue = 0;
            for (int i = 0; i < countX; ++i) {
                const int col = std::min(picture.width() - 1, int((x + (i + 0.5) / countX) * stepX));
                for (int k = 0; k < countY; ++k) {
                    const QRgb c = cellColor(picture, table, col, rows[k]);
                    red += qRed(c);
                    green += qGreen(c);
                    blue += qBlue(c);
                }
            }
            const unsigned n = unsigned(countX * countY);
            out[x] = qRgb(int((red + n / 2) / n), int((green + n / 2) / n), int((blue + n / 2) / n));
        }
    }
    return scaled;
}
