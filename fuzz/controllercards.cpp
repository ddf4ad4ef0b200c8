// Any bytes given to the controller-card readers (EP, JC5 and the first part file of a
// split card, QS, UPT, WB, GRD, DAT/P32) end in a card or a clear error, never in a crash:
// a card read has as many rows as its count, all equally long, and is rendered; it goes
// through its format's writer, and the formats that read their own cards back unchanged
// give the same rows again. A failed read leaves the card empty.
#include "card/cardformats.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct TTarget {
    const char *Extension;
    int FilterIndex; // for the writer: JC5 variant B, the DAT controller of the signature
    bool ReadsBackSame; // the writer's file reads back as the card it was given
};

const TTarget Targets[] = {
    { ".EP", 1, true },
    { ".JC5", 3, true },
    { ".J01", 3, true },
    { ".QS", 1, true },
    { ".UPT", 1, false },
    { ".WB", 1, true },
    { ".GRD", 1, true },
    { ".DAT", 4, false },
    { ".P32", 7, false },
};

const QString &WorkDir()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

void CheckShape(const TWenBanIO &io)
{
    if (io.Card.length() != io.CardCount)
        std::abort();
    for (const auto &row : io.Card)
        if (row.length() != io.Card[0].length())
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const TTarget &t : Targets) {
        TWenBanIO io;
        io.Extension = QString::fromLatin1(t.Extension);
        QString why;
        if (!io.LoadFromBytes(bytes, &why)) {
            if (why.isEmpty() || io.CardCount != 0 || !io.Card.isEmpty())
                std::abort();
            continue;
        }
        CheckShape(io);
        if (io.Content != TWenBanIO::CardContent)
            std::abort();
        if (io.CardCount > 0 && io.RowCount * io.ColCount > 0 && io.Bitmap.isNull())
            std::abort();

        // Written in the format it came from (a part file as a whole JC5 file).
        const QString ext = t.Extension == QLatin1String(".J01") ? QStringLiteral(".JC5") : io.Extension;
        const QString path = WorkDir() + QStringLiteral("/card") + ext;
        QString error;
        if (!WriteControllerCard(io, path, t.FilterIndex, &error)) {
            if (error.isEmpty())
                std::abort();
            continue;
        }
        TWenBanIO again;
        const bool read = again.LoadFromFile(path);
        QFile::remove(path);
        if (!t.ReadsBackSame)
            continue; // UPT and DAT/P32 files state their needle counts their own way
        if (!read || !(again.Card == io.Card))
            std::abort();
        CheckShape(again);
    }
    return 0;
}
