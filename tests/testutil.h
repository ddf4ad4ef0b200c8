#pragma once
// Small helpers shared by the tests.

#include "core/palette/palette.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <initializer_list>
#include <vector>

// An 8-bit picture from rows of colour indexes (row 0 = top) with the given palette.
QImage MakePicture(std::initializer_list<std::vector<int>> rows, const TPalette256 &palette);
QImage MakePicture(std::initializer_list<std::vector<int>> rows);
// The rows of colour indexes of an 8-bit picture.
std::vector<std::vector<int>> PictureRows(const QImage &img);
// A palette where entry i is (i, i, i).
TPalette256 GreyPalette();
// Reads or writes a whole file.
QByteArray ReadAll(const QString &path);
bool WriteAll(const QString &path, const QByteArray &bytes);
// Hex bytes such as "0A 1B ff" to bytes.
QByteArray Hex(const char *text);
