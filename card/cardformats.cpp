// Dispatch of the controller card formats by extension, and the count checks every reader
// shares.
#include "card/cardformats.h"
#include "card/cardformats_p.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace CardBytes;

static QString UpperExtension(const QString &ext, const QString &fileName)
{
    QString e = ext.isEmpty() ? QFileInfo(fileName).suffix() : ext;
    if (!e.isEmpty() && !e.startsWith(QLatin1Char('.')))
        e.prepend(QLatin1Char('.'));
    return e.toUpper();
}

// A JC5 part file: ".J" and a part number of two or more digits.
static bool IsPartExtension(const QString &upperExt)
{
    static const QRegularExpression re(QStringLiteral("^\\.J\\d{2,}$"));
    return re.match(upperExt).hasMatch();
}

bool IsControllerCardExtension(const QString &ext)
{
    static const char *const kExts[] = { ".EP", ".JC5", ".QS", ".WB", ".GRD", ".UPT", ".DAT", ".P32" };
    const QString e = UpperExtension(ext, QString());
    for (const char *k : kExts)
        if (e == QLatin1String(k))
            return true;
    return IsPartExtension(e);
}

bool PrepareCardRows(TCardRead &out, qint64 size, qint64 start, qint64 n, qint64 stride, qint64 span,
    const char *format, QString *errorText, qint64 rowLength)
{
    if (n > 65535)
        return Fail(errorText,
            QStringLiteral("The %1 file states %2 cards; a card has at most 65535.")
                .arg(QLatin1String(format))
                .arg(n));
    if (n > 0 && span <= 0)
        return Fail(errorText,
            QStringLiteral("The %1 file states %2 cards of no needles.").arg(QLatin1String(format)).arg(n));
    if (n > 0 && start + (n - 1) * stride + span > size)
        return Fail(errorText,
            QStringLiteral("The %1 file is too short: it states %2 cards of %3 bytes, but "
                           "holds only %4 bytes.")
                .arg(QLatin1String(format))
                .arg(n)
                .arg(span)
                .arg(size));
    const qint64 len = rowLength < 0 ? span : std::min(rowLength, span);
    out.Card = TMultiByteArray(n);
    for (qint64 r = 0; r < n; ++r)
        out.Card[r] = TDynamicByteArray(len);
    return true;
}

bool ReadControllerCard(TWenBanIO &io, const QByteArray &bytes)
{
    const QString ext = UpperExtension(io.Extension, io.FileName);
    TCardRead out;
    QString error;
    bool ok = false;
    if (ext == QLatin1String(".EP"))
        ok = ReadEPFile(bytes, out, &error);
    else if (ext == QLatin1String(".JC5") || IsPartExtension(ext))
        ok = ReadJC5File(bytes, io.FileName, ext, out, &error);
    else if (ext == QLatin1String(".QS"))
        ok = ReadQSFile(bytes, out, &error);
    else if (ext == QLatin1String(".UPT"))
        ok = ReadUPTFile(bytes, out, &error);
    else if (ext == QLatin1String(".WB"))
        ok = ReadWBFile(bytes, out, &error);
    else if (ext == QLatin1String(".GRD"))
        ok = ReadGRDFile(bytes, out, &error);
    else if (ext == QLatin1String(".DAT") || ext == QLatin1String(".P32"))
        ok = ReadDatFile(bytes, out, &error);
    else
        error = QStringLiteral("\"%1\" is not a controller card format.").arg(ext);
    if (!ok) {
        io.ErrorText = error;
        return false;
    }
    io.Card = out.Card;
    io.CardCount = std::uint16_t(out.Card.size());
    io.ColCount = std::uint16_t(out.ColCount);
    io.RowCount = std::uint16_t(out.RowCount);
    if (out.HasReserved)
        io.Reserved = out.Reserved;
    io.ErrorText.clear();
    return true;
}

bool IsControllerCardWriteExtension(const QString &ext)
{
    static const char *const kExts[]
        = { ".EP", ".JC5", ".JC4", ".QS", ".UPT", ".WB", ".GRD", ".DAT", ".P32" };
    const QString e = UpperExtension(ext, QString());
    for (const char *k : kExts)
        if (e == QLatin1String(k))
            return true;
    return false;
}

bool WriteControllerCard(const TWenBanIO &io, const QString &fileName, int filterIndex, QString *errorText)
{
    const QString ext = UpperExtension(QString(), fileName);
    if (ext == QLatin1String(".EP"))
        return WriteEPCard(io, fileName, errorText);
    if (ext == QLatin1String(".JC5"))
        return WriteJC5Card(io, fileName, filterIndex == 2 ? TJC5Variant::A : TJC5Variant::B, errorText);
    if (ext == QLatin1String(".JC4"))
        return WriteJC4Card(io, fileName, errorText);
    if (ext == QLatin1String(".QS"))
        return WriteQSCard(io, fileName, errorText);
    if (ext == QLatin1String(".UPT"))
        return WriteUPTCard(io, fileName, errorText);
    if (ext == QLatin1String(".WB"))
        return WriteWBCard(io, fileName, errorText);
    if (ext == QLatin1String(".GRD"))
        return WriteGRDCard(io, fileName, errorText);
    if (ext == QLatin1String(".DAT") || ext == QLatin1String(".P32"))
        return WriteDatCard(io, filterIndex - 4, fileName, errorText);
    return Fail(errorText, QStringLiteral("\"%1\" is not a controller card format.").arg(ext));
}
