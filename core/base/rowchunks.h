#pragma once
// Work over the rows of a large picture on several threads: rows are handed out in small
// chunks one at a time, so that a thread the busy system does not run soon leaves its rows
// to the others instead of holding up a band of its own.

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

// Threads worth starting for a picture: one per cellsPerThread cells, at most one per core
// and 8, at least 1.
inline int RowChunkThreads(qint64 width, qint64 height, qint64 cellsPerThread = qint64(1) << 20)
{
    const qint64 cores = std::max(1u, std::thread::hardware_concurrency());
    return int(
        std::clamp<qint64>(width * height / cellsPerThread, 1, std::min({ cores, qint64(8), height })));
}

// Rows of one chunk; every chunk starts at a multiple of it.
constexpr int RowChunkRows = 32;

// Runs work(firstRow, endRow) over rows 0 .. height - 1 in chunks of RowChunkRows rows (the
// last one shorter), on `threads` threads including the calling one. A thread that cannot
// be started leaves its rows to those running.
template <class Work> void RunRowChunks(int height, int threads, const Work &work)
{
    constexpr int chunkRows = RowChunkRows;
    std::atomic<int> next { 0 };
    const auto loop = [&] {
        for (int first = next.fetch_add(chunkRows); first < height; first = next.fetch_add(chunkRows))
            work(first, std::min(height, first + chunkRows));
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(loop);
        } catch (const std::system_error &) {
            break;
        }
    }
    loop();
    for (std::thread &t : helpers)
        t.join();
}
