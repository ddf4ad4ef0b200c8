#pragma once
// Layer sequences of multi-layer weaves (组织).
// The text notation of layer sequences (one entry per warp or weft of a multi-layer
// repeat): a comma-separated list of integers and repeated groups, "3(1,2),4" being
// 1, 2, 1, 2, 1, 2, 4. No blanks, no nesting, no trailing comma.

#include "core/base/document.h"

#include <QString>
#include <QStringList>

// The longest sequence the notation is read into.
constexpr int MaxLayerSequenceLength = 65535;

// Writes a sequence in the compact notation, grouping greedily from the front: at each
// position the shortest period that repeats (more than twice, or twice for a period of two
// or more entries) becomes a group; when none is found the rest is written plainly.
QString LayerSequenceToText(const TIntegerArray &sequence);

// Reads the notation back. False, leaving sequence unchanged, on any malformed text: a
// bracket out of place, a piece that is not an integer, a group count below 1, or a
// sequence longer than MaxLayerSequenceLength.
bool ParseLayerSequence(const QString &text, TIntegerArray &sequence);

// The pieces of text between delimiters; a text without the delimiter is one piece and
// empty pieces are kept.
QStringList SplitLayerText(const QString &text, const QString &delimiter);
