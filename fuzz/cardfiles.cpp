// Any bytes given to the weave, sample-card and card-file readers and to the pictures the
// card container opens end in a result or a clear error, never in a crash; what was read
// writes back and reads again to the same content.
#include "card/fmt_ovwb.h"
#include "card/fmt_pictures.h"
#include "card/samplecard.h"
#include "weave/weavefile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    TWeaveArray weave;
    QString error;
    if (ReadWeaveBytes(bytes, weave, &error)) {
        TWeaveArray again;
        if (!weave.isEmpty() && !ReadWeaveBytes(WeaveFileBytes(weave), again))
            std::abort();
    } else if (error.isEmpty()) {
        std::abort();
    }

    TYangkaImage card;
    QString sampleError;
    if (card.LoadFromBytes(bytes, &sampleError)) {
        QByteArray written;
        TYangkaImage again;
        if (card.SaveToBytes(written) && (!again.LoadFromBytes(written) || again.Cells != card.Cells))
            std::abort();
    } else if (sampleError.isEmpty() || card.ColCount() != 18) {
        std::abort();
    }

    TWenBanIO io;
    QString cardError;
    if (ReadOVWBCard(io, bytes, &cardError)) {
        QByteArray written;
        TWenBanIO again;
        if (OVWBCardBytes(io, written) && (!ReadOVWBCard(again, written) || !(again.Card == io.Card)))
            std::abort();
        io.Extension = QStringLiteral(".OVWB");
        io.RenderCard();
    } else if (cardError.isEmpty() || io.CardCount != 0) {
        std::abort();
    }

    QImage picture;
    ReadXYPicture(bytes, picture);
    ReadWVPicture(bytes, picture);
    ReadProjectPreview(bytes, picture);
    return 0;
}
