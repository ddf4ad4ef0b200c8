// Any bytes a second start (or anything else) sends to the running instance end in a
// path, a wait for more, or a refusal; a path that is accepted is absolute and sound.
#include "shell/handover.h"

#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString path;
    switch (DecodeHandOver(bytes, path)) {
    case THandOverState::Complete: {
        const QByteArray raw = bytes.mid(4);
        if (raw.size() > MaxHandOverPathBytes || raw.contains('\0'))
            std::abort();
        if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
            std::abort();
        if (path.contains(QChar(0)) || path.isEmpty() != raw.isEmpty())
            std::abort();
        // A UTF-8 path is taken exactly as sent.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(raw);
        if (!utf8.hasError() && text != path)
            std::abort();
        break;
    }
    case THandOverState::Incomplete:
    case THandOverState::Malformed:
        if (!path.isEmpty())
            std::abort();
        break;
    }
    return 0;
}
