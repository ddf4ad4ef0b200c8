// The palette file: an 82-byte header of two length-prefixed strings, then 256 entries of
// red, green, blue, flag. The built-in default palette uses the same layout.
#include "core/palette/palette.h"

#include "core/base/filewrite.h"

#include <QBuffer>
#include <QFile>

#include <cstring>

static const char kTitle[] = "Tirlomax Color File Header";
static const char kVersion[] = "1.00";

QByteArray EncodePaletteFile(const TPalette256 &palette)
{
    QByteArray out(PaletteFileSize, '\0');
    char *d = out.data();
    d[0] = char(sizeof(kTitle) - 1);
    std::memcpy(d + 1, kTitle, sizeof(kTitle) - 1);
    d[65] = char(sizeof(kVersion) - 1);
    std::memcpy(d + 66, kVersion, sizeof(kVersion) - 1);
    std::memcpy(d + PaletteHeaderSize, palette.data(), 1024);
    return out;
}

bool SavePaletteFile(const TPalette256 &palette, const QString &fileName)
{
    return WriteFileAtomically(fileName, EncodePaletteFile(palette));
}

// Reads the header into scratch and up to 1024 bytes into the palette; entries past the
// end of a short source keep their previous values.
static bool readPalette(QIODevice &dev, TPalette256 &palette)
{
    const QByteArray header = dev.read(PaletteHeaderSize);
    if (header.size() < PaletteHeaderSize)
        return true;
    const QByteArray body = dev.read(1024);
    std::memcpy(palette.data(), body.constData(), std::size_t(body.size()));
    return true;
}

bool LoadPaletteFile(TPalette256 &palette, const QString &fileName)
{
    // Only the header and the 256 entries are read; anything after them is ignored.
    QByteArray bytes;
    if (!ReadFileStart(fileName, PaletteFileSize, bytes))
        return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readPalette(buffer, palette);
}

bool LoadPaletteResource(TPalette256 &palette)
{
    QFile f(QStringLiteral(":/palette/PaletteF.pal"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return readPalette(f, palette);
}
