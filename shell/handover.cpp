#include "shell/handover.h"

#include <QStringDecoder>

#include <unistd.h>

QString SingleInstanceKey()
{
    return QStringLiteral("%1-%2").arg(QLatin1String(MainWindowClassName)).arg(::getuid());
}

QByteArray EncodeHandOver(const QString &absolutePath)
{
    const QByteArray path = absolutePath.toUtf8();
    QByteArray message(4, '\0');
    const quint32 n = quint32(path.size());
    for (int i = 0; i < 4; ++i)
        message[i] = char((n >> (8 * i)) & 0xFF);
    return message + path;
}

THandOverState DecodeHandOver(const QByteArray &bytes, QString &path)
{
    path.clear();
    if (bytes.size() < 4)
        return THandOverState::Incomplete;
    quint32 n = 0;
    for (int i = 0; i < 4; ++i)
        n |= quint32(quint8(bytes[i])) << (8 * i);
    if (n > quint32(MaxHandOverPathBytes))
        return THandOverState::Malformed;
    if (bytes.size() < qsizetype(4 + n))
        return THandOverState::Incomplete;
    if (bytes.size() > qsizetype(4 + n))
        return THandOverState::Malformed;
    const QByteArray raw = bytes.mid(4);
    if (raw.contains('\0'))
        return THandOverState::Malformed;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(raw);
    if (utf8.hasError())
        return THandOverState::Malformed;
    if (!text.isEmpty() && !text.startsWith(QLatin1Char('/')))
        return THandOverState::Malformed;
    path = text;
    return THandOverState::Complete;
}
