// Any bytes a second start (or anything else) sends to the running instance end in a
// path, a wait for more, or a refusal; a path that is accepted is absolute and sound.
#include "shell/handover.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString path;
    switch (DecodeHandOver(bytes, path)) {
    case THandOverState::Complete:
        if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
            std::abort();
        if (path.contains(QChar(0)) || path.toUtf8().size() > MaxHandOverPathBytes)
            std::abort();
        // What was accepted is exactly what a sender encodes.
        if (EncodeHandOver(path) != bytes)
            std::abort();
        break;
    case THandOverState::Incomplete:
    case THandOverState::Malformed:
        if (!path.isEmpty())
            std::abort();
        break;
    }
    return 0;
}
