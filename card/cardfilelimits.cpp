#include "card/cardfilelimits.h"

#include "core/base/filewrite.h"
#include "weave/weavefile.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr qint64 MaxCards = 65535; // card counts are 16-bit
constexpr qint64 MaxNeedleBytes = 8192; // (65535 needles + 7) / 8
constexpr qint64 MaxColumnBytes = 2 * 65535; // one 16-bit word per needle column

} // namespace

qint64 MaxCardFileSize(const QString &ext)
{
    const QString e = ext.toUpper();
    // Formats whose header gives the needles in 16 bits: header and the rows of every card.
    if (e == QLatin1String(".EP"))
        return 34 + MaxCards * (MaxNeedleBytes - 1 + 4);
    if (e == QLatin1String(".QS"))
        return 32 + MaxCards * (MaxNeedleBytes + 4);
    if (e == QLatin1String(".UPT"))
        return 246 + MaxCards * (MaxNeedleBytes - 1);
    // The controller memory images; the 40-needle layout has a 48-byte row per card.
    if (e == QLatin1String(".DAT") || e == QLatin1String(".P32"))
        return std::max<qint64>(131072, 48 + 48 * MaxCards);
    // The needle counts multiply: a file holds at most the largest card shown, as stored
    // (a WB file keeps 8 needles in a 16-bit word, old .OVWB files give every needle column
    // a whole byte), after its header (a WB or GRD file starts with a word per column).
    if (e == QLatin1String(".WB"))
        return MaxColumnBytes + 2 * MaxShownCardBytes;
    if (e == QLatin1String(".GRD"))
        return MaxColumnBytes + MaxShownCardBytes;
    static const QRegularExpression partFile(QStringLiteral("^\\.J\\d{2,}$"));
    if (e == QLatin1String(".JC5") || partFile.match(e).hasMatch())
        return (qint64(1) << 20) + MaxShownCardBytes; // records of any length, then the rows
    if (e == QLatin1String(".OVWB"))
        return 183 + 8 * 65535 + 8 + 8 * MaxShownCardBytes;
    if (e == QLatin1String(".OVW"))
        return MaxWeaveFileSize;
    return MaxPictureFileSize;
}
