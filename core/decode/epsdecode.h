#pragma once
// Encapsulated PostScript pictures, rendered by Ghostscript (the "gs" program) in a
// separate process under -dSAFER, at 72 dots per inch, cropped to the bounding box.
// PostScript is a program: a hostile file could run forever or draw a vast page, so the
// bounding box is checked first (against the sides and the memory budget, before
// Ghostscript is started) and the process is stopped after RunState().EpsTimeoutMs.

#include <QByteArray>
#include <QImage>
#include <QString>

// Picture is Format_RGB32 on success; false with a message otherwise.
bool DecodeEps(const QByteArray &bytes, QImage &picture, QString *error = nullptr);
