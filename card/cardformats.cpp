// The table of card file types that every dispatch by extension reads, and the count
// checks every reader shares.
#include "card/cardformats.h"
#include "card/cardformats_p.h"
#include "card/fmt_ovwb.h"
#include "core/settings/uitexts.h"

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

bool PrepareCardRows(TCardRead &out, qint64 size, qint64 start, qint64 n, qint64 stride, qint64 span,
    const char *format, QString *error, qint64 rowLength)
{
    if (n > 65535)
        return Fail(
            error, GetUiMessage(UiKey::String::CardFileStatesTooMany).arg(QLatin1String(format)).arg(n));
    if (n > 0 && span <= 0)
        return Fail(error, GetUiMessage(UiKey::String::CardFileNoNeedles).arg(QLatin1String(format)).arg(n));
    if (n > 0 && start + (n - 1) * stride + span > size)
        return Fail(error,
            GetUiMessage(UiKey::String::CardFileTooShortForCards)
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

namespace {

// A controller reader's result goes into io only when the whole read succeeded.
void TakeRead(TWenBanIO &io, const TCardRead &out)
{
    io.Card = out.Card;
    io.CardCount = std::uint16_t(out.Card.size());
    io.ColCount = std::uint16_t(out.ColCount);
    io.RowCount = std::uint16_t(out.RowCount);
    // Without a sample card every needle of the card counts as a jacquard needle (the DAT
    // writers then keep each row's bytes in order).
    const qint64 jacquard = out.JacquardCount >= 0 ? out.JacquardCount : qint64(out.RowCount) * out.ColCount;
    io.JacquardCount = std::uint16_t(std::min<qint64>(jacquard, 65535));
    io.StatedNeedles = std::uint16_t(out.StatedNeedles);
    if (out.HasReserved)
        io.Reserved = out.Reserved;
    if (out.HasHoles)
        io.Holes = out.Holes;
}

// Readers of the formats whose reader needs only the bytes.
template <bool (*Reader)(const QByteArray &, TCardRead &, QString *)>
bool ReadRows(TWenBanIO &io, const QByteArray &bytes, QString *error)
{
    TCardRead out;
    if (!Reader(bytes, out, error))
        return false;
    TakeRead(io, out);
    return true;
}

bool ReadJC5(TWenBanIO &io, const QByteArray &bytes, QString *error)
{
    TCardRead out;
    if (!ReadJC5File(bytes, io.FileName, UpperExtension(io.Extension, io.FileName), out, error))
        return false;
    TakeRead(io, out);
    return true;
}

// Writers of the formats that have one variant: the filter index does not matter.
template <bool (*Writer)(const TWenBanIO &, const QString &, QString *)>
bool WriteOne(const TWenBanIO &io, const QString &fileName, int, QString *error)
{
    return Writer(io, fileName, error);
}

// Variant A through the save dialog's second filter, B any other way.
bool WriteJC5(const TWenBanIO &io, const QString &fileName, int filterIndex, QString *error)
{
    return WriteJC5Card(io, fileName, filterIndex == 2 ? TJC5Variant::A : TJC5Variant::B, error);
}

// The controller variant is the save dialog's filter index - 4.
bool WriteDat(const TWenBanIO &io, const QString &fileName, int filterIndex, QString *error)
{
    return WriteDatCard(io, filterIndex - 4, fileName, error);
}

// The save dialog lists its entries in this order: EP first, the two JC5 variants second
// and third, the three 128- and 160-needle DAT controllers fourth to sixth and UPT
// seventh (whose index, with a .DAT or .P32 name, gives the 320-needle controller).
const TCardFormat Formats[] = {
    { ".EP", ReadRows<ReadEPFile>, WriteOne<WriteEPCard>, nullptr, "EP Files (*.EP)|*.EP",
        CardFromPattern | CardFirstOnTop },
    { ".JC5", ReadJC5, WriteJC5, nullptr, "Korvane_JC5 Files(*.JC5)|*.JC5|JC5 Files(*.JC5)|*.JC5",
        CardFromPattern | CardMirrored | CardPartFiles },
    { ".DAT", ReadRows<ReadDatFile>, WriteDat, nullptr,
        "VBJ128 Files(*.DAT)|*.DAT|CEJ160 Files(*.DAT)|*.DAT|PEJ160 Files(*.DAT)|*.DAT", 0 },
    { ".UPT", ReadRows<ReadUPTFile>, WriteOne<WriteUPTCard>, nullptr, "UPT Files(*.UPT)|*.UPT",
        CardFirstOnTop },
    { ".QS", ReadRows<ReadQSFile>, WriteOne<WriteQSCard>, QSNeedleWarning, "",
        CardFromPattern | CardMirrored },
    { ".JC4", nullptr, WriteOne<WriteJC4Card>, nullptr, "", 0 },
    { ".WB", ReadRows<ReadWBFile>, WriteOne<WriteWBCard>, nullptr, "", 0 },
    { ".GRD", ReadRows<ReadGRDFile>, WriteOne<WriteGRDCard>, nullptr, "", 0 },
    { ".P32", ReadRows<ReadDatFile>, WriteDat, nullptr, "", 0 },
    { ".OVWB", ReadOVWBCard, WriteOne<WriteOVWBCard>, nullptr, "", CardOwnFormat | CardFromPattern },
};

QString NotAControllerFormat(const QString &ext)
{
    return GetUiMessage(UiKey::String::NotControllerCardFormat).arg(ext);
}

} // namespace

std::span<const TCardFormat> CardFormats()
{
    return Formats;
}

const TCardFormat *FindCardFormat(const QString &ext)
{
    const QString e = UpperExtension(ext, QString());
    for (const TCardFormat &f : Formats)
        if (e == QLatin1String(f.Extension))
            return &f;
    return nullptr;
}

const TCardFormat *FindCardReadFormat(const QString &ext)
{
    if (const TCardFormat *f = FindCardFormat(ext))
        return f;
    if (!IsPartExtension(UpperExtension(ext, QString())))
        return nullptr;
    for (const TCardFormat &f : Formats)
        if (f.Flags & CardPartFiles)
            return &f;
    return nullptr;
}

QString CardSaveFilter()
{
    QStringList entries;
    for (const TCardFormat &f : Formats)
        if (*f.SaveFilter)
            entries << QString::fromUtf8(f.SaveFilter);
    return entries.join(QLatin1Char('|'));
}

bool IsControllerCardExtension(const QString &ext)
{
    const TCardFormat *f = FindCardReadFormat(ext);
    return f && f->Read && !(f->Flags & CardOwnFormat);
}

bool ReadControllerCard(TWenBanIO &io, const QByteArray &bytes, QString *error)
{
    const QString ext = UpperExtension(io.Extension, io.FileName);
    if (!IsControllerCardExtension(ext))
        return Fail(error, NotAControllerFormat(ext));
    return FindCardReadFormat(ext)->Read(io, bytes, error);
}

bool IsControllerCardWriteExtension(const QString &ext)
{
    const TCardFormat *f = FindCardFormat(ext);
    return f && f->Write && !(f->Flags & CardOwnFormat);
}

bool WriteControllerCard(const TWenBanIO &io, const QString &fileName, int filterIndex, QString *error)
{
    const QString ext = UpperExtension(QString(), fileName);
    if (!IsControllerCardWriteExtension(ext))
        return Fail(error, NotAControllerFormat(ext));
    return FindCardFormat(ext)->Write(io, fileName, filterIndex, error);
}
