#pragma once
// String fields of the binary files (project, weave, sample-card and card files): written
// in GBK so that the Windows programs sharing the files can read them; read as UTF-8 when
// the bytes are valid UTF-8, otherwise as GBK.

#include <QByteArray>
#include <QString>

QString DecodeFileText(const QByteArray &bytes);

// The GBK bytes of text. False with a message when a character has no GBK form; the text
// is then never written garbled.
bool EncodeFileText(const QString &text, QByteArray &bytes, QString *error = nullptr);
