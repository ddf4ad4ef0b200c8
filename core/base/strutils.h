#pragma once
// Splitting texts into pieces and comma-separated number lists.

#include "core/base/document.h"

#include <QString>
#include <QStringList>

// The pieces of text between separators; the last piece is always added, so an empty
// text gives one empty piece and "a;b;" gives "a", "b", "". An empty separator gives the
// whole text as one piece.
QStringList SplitString(const QString &text, const QString &separator);

// Splits text at "," into values, one element per piece: the trimmed piece as a decimal
// integer, or 0 for an empty piece. Returns false, leaving values unchanged, when a piece
// is not an integer.
bool StrToIntArray(const QString &text, TIntegerArray &values);
