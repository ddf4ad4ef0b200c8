// Packing and unpacking cell planes in bands of rows with zstd, bands in parallel.
#include "core/undo/undopack.h"

#include "core/picture/picturelimits.h"

#include <zstd.h>

#include <QBuffer>
#include <QThread>
#include <QThreadPool>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

namespace {

// About 256 KB of cells per band: small enough to stay in the cache while it is packed,
// large enough that zstd finds the runs of a row in the rows above it.
constexpr int BandCells = 1 << 18;
// Fast packing: the plane must be packed within a few copies of the cells. zstd's fast
// levels still pack point paper's runs to a fraction and pass noise at memory speed.
constexpr int PackLevel = -3;
// Cells that look like noise (a sample packs to more than half its size at PackLevel) pack
// at a level that hardly looks for matches: such cells cannot be packed much by any fast
// level, and that level passes them several times faster while keeping the checksums.
constexpr int NoiseLevel = -100;
constexpr std::size_t SampleCells = 16 * 1024;

// The packers' own threads: they never expire, so each keeps its zstd contexts and
// scratch buffers from one plane to the next instead of taking fresh memory every time.
QThreadPool &packPool()
{
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setExpiryTimeout(-1);
        p->setMaxThreadCount(std::clamp(QThread::idealThreadCount() - 1, 1, 7));
        return p;
    }();
    return *pool;
}

// Calls work(band) for every band on the pool and the calling thread; a plane of one band
// runs on the calling thread alone. Only the GUI thread packs, one plane at a time.
void forEachBand(int bands, const std::function<void(int)> &work)
{
    std::atomic<int> next { 0 };
    auto loop = [&] {
        for (int band = next++; band < bands; band = next++)
            work(band);
    };
    const int helpers = std::min(packPool().maxThreadCount(), bands - 1);
    for (int t = 0; t < helpers; ++t)
        packPool().start(loop);
    loop();
    packPool().waitForDone();
}

struct TCCtxFree {
    void operator()(ZSTD_CCtx *c) const { ZSTD_freeCCtx(c); }
};
struct TDCtxFree {
    void operator()(ZSTD_DCtx *c) const { ZSTD_freeDCtx(c); }
};

// Per thread: the band's cells and the frame being made or read, kept between calls.
struct TBandScratch {
    std::vector<std::uint8_t> Cells;
    std::vector<char> Frame;
    std::unique_ptr<ZSTD_CCtx, TCCtxFree> Packer;
    std::unique_ptr<ZSTD_DCtx, TDCtxFree> Unpacker;
};

TBandScratch &scratch()
{
    thread_local TBandScratch s;
    return s;
}

QByteArray packBand(const QImage &a, const QImage *b, const QRect &box, int firstRow, int rows)
{
    TBandScratch &s = scratch();
    const std::size_t w = std::size_t(box.width());
    s.Cells.resize(w * std::size_t(rows));
    for (int r = 0; r < rows; ++r) {
        const int y = box.top() + firstRow + r;
        const std::uint8_t *pa = a.constScanLine(y) + box.left();
        std::uint8_t *out = s.Cells.data() + std::size_t(r) * w;
        if (!b) {
            std::memcpy(out, pa, w);
            continue;
        }
        const std::uint8_t *pb = b->constScanLine(y) + box.left();
        for (std::size_t x = 0; x < w; ++x)
            out[x] = pa[x] ^ pb[x];
    }
    if (!s.Packer) {
        s.Packer.reset(ZSTD_createCCtx());
        ZSTD_CCtx_setParameter(s.Packer.get(), ZSTD_c_checksumFlag, 1);
    }
    s.Frame.resize(ZSTD_compressBound(s.Cells.size()));
    ZSTD_CCtx_setParameter(s.Packer.get(), ZSTD_c_compressionLevel, PackLevel);
    if (s.Cells.size() > 2 * SampleCells) {
        const std::size_t sample
            = ZSTD_compress2(s.Packer.get(), s.Frame.data(), s.Frame.size(), s.Cells.data(), SampleCells);
        if (!ZSTD_isError(sample) && sample > SampleCells / 2)
            ZSTD_CCtx_setParameter(s.Packer.get(), ZSTD_c_compressionLevel, NoiseLevel);
    }
    const std::size_t n
        = ZSTD_compress2(s.Packer.get(), s.Frame.data(), s.Frame.size(), s.Cells.data(), s.Cells.size());
    if (ZSTD_isError(n))
        return {};
    return QByteArray(s.Frame.data(), qsizetype(n));
}

// Unpacks one band into the thread's scratch; null when the frame is damaged or does not
// hold exactly the band's cells.
const std::uint8_t *unpackBand(const TPackedPlane &plane, int band, int rows)
{
    TBandScratch &s = scratch();
    if (!s.Unpacker)
        s.Unpacker.reset(ZSTD_createDCtx());
    const QByteArray &frame = plane.Bands[std::size_t(band)];
    const std::size_t expected = std::size_t(plane.Width) * std::size_t(rows);
    if (ZSTD_getFrameContentSize(frame.constData(), std::size_t(frame.size())) != expected)
        return nullptr;
    s.Cells.resize(expected);
    const std::size_t n = ZSTD_decompressDCtx(
        s.Unpacker.get(), s.Cells.data(), expected, frame.constData(), std::size_t(frame.size()));
    return ZSTD_isError(n) || n != expected ? nullptr : s.Cells.data();
}

int bandRows(const TPackedPlane &plane, int band)
{
    return std::min(plane.RowsPerBand, plane.Height - band * plane.RowsPerBand);
}

} // namespace

std::size_t TPackedPlane::PackedBytes() const
{
    std::size_t n = 0;
    for (const QByteArray &b : Bands)
        n += std::size_t(b.size());
    return n;
}

TPackedPlane PackPlane(const QImage &a, const QImage *b, const QRect &box)
{
    TPackedPlane plane;
    if (box.isEmpty())
        return plane;
    plane.Width = box.width();
    plane.Height = box.height();
    plane.RowsPerBand = std::clamp(BandCells / plane.Width, 1, plane.Height);
    const int bands = (plane.Height + plane.RowsPerBand - 1) / plane.RowsPerBand;
    plane.Bands.resize(std::size_t(bands));
    forEachBand(bands, [&](int band) {
        const int first = band * plane.RowsPerBand;
        plane.Bands[std::size_t(band)] = packBand(a, b, box, first, bandRows(plane, band));
    });
    return plane;
}

namespace {
// Unpacks the bands for which only is true (all without it); done marks the bands applied.
bool unpackBands(const TPackedPlane &plane,
    const std::function<void(int firstRow, int rows, const std::uint8_t *cells)> &apply,
    const std::vector<bool> *only, std::vector<bool> &done)
{
    done.assign(plane.Bands.size(), false);
    if (plane.RowsPerBand <= 0 || plane.Width <= 0)
        return plane.Bands.empty();
    std::atomic<bool> ok { true };
    std::vector<char> applied(plane.Bands.size(), 0); // char: written by several threads
    forEachBand(plane.BandCount(), [&](int band) {
        if ((only && !(*only)[std::size_t(band)]) || !ok)
            return;
        const int rows = bandRows(plane, band);
        const std::uint8_t *cells = rows > 0 ? unpackBand(plane, band, rows) : nullptr;
        if (!cells) {
            ok = false;
            return;
        }
        apply(band * plane.RowsPerBand, rows, cells);
        applied[std::size_t(band)] = 1;
    });
    for (std::size_t i = 0; i < applied.size(); ++i)
        done[i] = applied[i] != 0;
    return ok;
}
} // namespace

bool UnpackPlane(const TPackedPlane &plane,
    const std::function<void(int firstRow, int rows, const std::uint8_t *cells)> &apply,
    std::vector<bool> *bandsDone)
{
    std::vector<bool> done;
    const bool ok = unpackBands(plane, apply, nullptr, done);
    if (bandsDone)
        *bandsDone = done;
    return ok;
}

namespace {
// A row of cells XORed in place, with its own pointers and count: stores through a byte
// pointer could otherwise change a count read through a reference, and the loop would
// not run as vector code.
void xorRow(std::uint8_t *__restrict row, const std::uint8_t *__restrict cells, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        row[i] ^= cells[i];
}
} // namespace

bool XorPlaneInto(const TPackedPlane &plane, QImage &dest, const QPoint &at, QImage *copyTo)
{
    const QRect box(at, QSize(plane.Width, plane.Height));
    if (dest.format() != QImage::Format_Indexed8 || !dest.rect().contains(box)
        || (copyTo && (copyTo->size() != dest.size() || copyTo->format() != dest.format())))
        return false;
    // Detached once here: the bands write through these pointers from several threads.
    std::uint8_t *bits = dest.bits();
    const qsizetype stride = dest.bytesPerLine();
    const std::size_t w = std::size_t(plane.Width);
    auto apply = [&](int firstRow, int rows, const std::uint8_t *cells) {
        for (int r = 0; r < rows; ++r) {
            std::uint8_t *row = bits + (box.top() + firstRow + r) * stride + box.left();
            xorRow(row, cells + std::size_t(r) * w, w);
        }
    };
    std::vector<bool> done;
    if (!unpackBands(plane, apply, nullptr, done)) {
        // XOR is its own inverse: the bands already applied are applied once more.
        std::vector<bool> again;
        unpackBands(plane, apply, &done, again);
        return false;
    }
    // Only once every band came through does the copy follow.
    if (copyTo) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            std::memcpy(copyTo->scanLine(y) + box.left(), dest.constScanLine(y) + box.left(), w);
    }
    return true;
}

namespace {
constexpr char PlaneMagic[4] = { 'D', 'W', 'P', 'P' };
constexpr qsizetype PlaneHeaderSize = 4 + 4 * 4;

void putU32(QByteArray &out, std::uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

bool WritePackedPlane(const TPackedPlane &plane, const std::function<bool(const char *, qint64)> &sink)
{
    // The header and the band sizes together, then the frames as they are kept.
    QByteArray head;
    head.reserve(PlaneHeaderSize + 4 * qsizetype(plane.Bands.size()));
    head.append(PlaneMagic, 4);
    putU32(head, std::uint32_t(plane.Width));
    putU32(head, std::uint32_t(plane.Height));
    putU32(head, std::uint32_t(plane.RowsPerBand));
    putU32(head, std::uint32_t(plane.Bands.size()));
    for (const QByteArray &b : plane.Bands)
        putU32(head, std::uint32_t(b.size()));
    if (!sink(head.constData(), head.size()))
        return false;
    for (const QByteArray &b : plane.Bands)
        if (!sink(b.constData(), b.size()))
            return false;
    return true;
}

QByteArray EncodePackedPlane(const TPackedPlane &plane)
{
    QByteArray out;
    out.reserve(PlaneHeaderSize + 4 * qsizetype(plane.Bands.size()) + qsizetype(plane.PackedBytes()));
    WritePackedPlane(plane, [&out](const char *data, qint64 size) {
        out.append(data, qsizetype(size));
        return true;
    });
    return out;
}

namespace {
// Exactly n bytes from in, or false.
bool readExactly(QIODevice &in, char *to, qint64 n)
{
    while (n > 0) {
        const qint64 got = in.read(to, n);
        if (got <= 0)
            return false;
        to += got;
        n -= got;
    }
    return true;
}
} // namespace

bool ReadPackedPlane(QIODevice &in, TPackedPlane &plane)
{
    char head[PlaneHeaderSize];
    if (!readExactly(in, head, PlaneHeaderSize) || std::memcmp(head, PlaneMagic, 4) != 0)
        return false;
    const auto u32 = [](const char *at) { return qFromLittleEndian<std::uint32_t>(at); };
    const std::uint32_t w = u32(head + 4), h = u32(head + 8);
    const std::uint32_t rowsPerBand = u32(head + 12), bands = u32(head + 16);
    // The sides a picture can have, and exactly the bands those rows need.
    if (w == 0 || h == 0 || w > std::uint32_t(MaxPictureSide) || h > std::uint32_t(MaxPictureSide)
        || qint64(w) * h > PictureMemoryBudget || rowsPerBand == 0 || rowsPerBand > h
        || bands != (h + rowsPerBand - 1) / rowsPerBand)
        return false;
    const qint64 left = in.size() - in.pos();
    if (left / 4 < qint64(bands))
        return false;
    QByteArray sizeBytes(qsizetype(bands) * 4, Qt::Uninitialized);
    if (!readExactly(in, sizeBytes.data(), sizeBytes.size()))
        return false;
    std::vector<qint64> sizes(bands);
    qint64 total = 0;
    for (std::uint32_t i = 0; i < bands; ++i) {
        sizes[i] = u32(sizeBytes.constData() + 4 * i);
        total += sizes[i];
    }
    if (left - sizeBytes.size() != total)
        return false;
    TPackedPlane p;
    p.Width = int(w);
    p.Height = int(h);
    p.RowsPerBand = int(rowsPerBand);
    p.Bands.resize(bands);
    for (std::uint32_t i = 0; i < bands; ++i) {
        QByteArray &frame = p.Bands[i];
        frame.resize(qsizetype(sizes[i]));
        // Each frame says how many cells it holds: exactly its band's, or the plane is refused
        // before anything the size of the plane is made.
        const std::uint32_t rows = std::min(rowsPerBand, h - i * rowsPerBand);
        if (!readExactly(in, frame.data(), sizes[i])
            || ZSTD_getFrameContentSize(frame.constData(), std::size_t(frame.size()))
                != std::uint64_t(w) * rows)
            return false;
    }
    plane = std::move(p);
    return true;
}

bool DecodePackedPlane(const QByteArray &bytes, qsizetype offset, TPackedPlane &plane)
{
    if (offset < 0 || offset > bytes.size())
        return false;
    QBuffer in;
    in.setData(bytes);
    return in.open(QIODevice::ReadOnly) && in.seek(offset) && ReadPackedPlane(in, plane);
}
