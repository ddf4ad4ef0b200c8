#include "core/base/filetext.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString DecodeFileText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GBK");
    return gbk.isValid() ? QString(gbk.decode(bytes)) : QString::fromLatin1(bytes);
}

bool EncodeFileText(const QString &text, QByteArray &bytes, QString *error)
{
    QStringEncoder gbk("GBK", QStringEncoder::Flag::Stateless);
    QByteArray out;
    bool ok = gbk.isValid();
    if (ok) {
        out = gbk.encode(text);
        // Round trip: an encoder that substitutes characters it cannot map reports no
        // error in every Qt build, so compare with what decoding gives back.
        ok = !gbk.hasError() && QString(QStringDecoder("GBK").decode(out)) == text;
    }
    if (!ok)
        return Fail(error, GetUiMessage(UiKey::String::TextNotGbk).arg(text));
    bytes = out;
    return true;
}
