#pragma once
// Cell memory of a picture that the program holds itself rather than QImage: a decoder
// can fill it and the 8-bit conversion can then write the 8-bit cells over the decoded
// ones and hand the same memory, shrunk, to the result, so that a large picture needs no
// second block of fresh memory. Large blocks are asked for in huge pages where the
// system offers them on request: the system then prepares the memory 2 MB at a time
// instead of page by page, which takes a good part of the time of decoding a large
// picture.

#include <QImage>

#include <cstdlib>
#include <memory>

#if defined(__linux__)
#include <sys/mman.h>
#endif

struct TFreeCells {
    void operator()(uchar *cells) const { std::free(cells); }
};
// A block from std::malloc or std::aligned_alloc.
using TPictureCells = std::unique_ptr<uchar, TFreeCells>;

constexpr std::size_t HugePageBytes = std::size_t(2) << 20;

// A picture of the size and format over new cells: width x 4 bytes a row, 32-bit formats
// only. The picture only borrows the cells: it must be gone before `cells` lets them go.
// A null picture, and no cells, when there is not enough memory.
inline QImage NewPictureOverCells(QSize size, QImage::Format format, TPictureCells &cells)
{
    const std::size_t stride = std::size_t(size.width()) * 4, bytes = stride * std::size_t(size.height());
    if (bytes >= HugePageBytes) {
        const std::size_t pages = (bytes + HugePageBytes - 1) / HugePageBytes;
        cells.reset(static_cast<uchar *>(std::aligned_alloc(HugePageBytes, pages * HugePageBytes)));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (cells)
            madvise(cells.get(), pages * HugePageBytes, MADV_HUGEPAGE); // a request: refused, nothing changes
#endif
    } else {
        cells.reset(static_cast<uchar *>(std::malloc(bytes)));
    }
    if (!cells)
        return QImage();
    QImage picture(cells.get(), size.width(), size.height(), qsizetype(stride), format);
    if (picture.isNull())
        cells.reset();
    return picture;
}
