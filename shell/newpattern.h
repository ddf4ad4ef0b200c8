#pragma once
// TNewPatternValues: the parameters of a new pattern (意匠).
// What File > New asks for: the size, layer count, compartment intervals, densities and
// line colours of the new pattern. The dialog (TFrmSetPara) shows and returns them; the
// document window applies them.

#include "core/base/document.h"
#include "core/settings/settings.h"

#include <QSize>
#include <QString>

struct TNewPatternValues {
    int Warps = 200; // columns
    int Wefts = 200; // rows
    int LayerCount = 1;
    int ColCount = 8; // compartment interval across
    int RowCount = 8; // compartment interval down
    double WarpDensity = 120.0;
    double WeftDensity = 60.0;
    TColor CompartLineColor = 0;
    TColor GridLineColor = 0xC0C0C0;
    int SpaceCount = 12;
};

// The largest layer count the dialog offers (one digit).
constexpr int MaxNewPatternLayers = 9;

// The values File > New starts from: the size of the picture on the clipboard when there
// is one (clipboardSize valid), else the grid defaults; everything else from the defaults.
TNewPatternValues NewPatternStartValues(const TGrossOption &defaults, const QSize &clipboardSize);

// Sizes 1 to 65,535, densities above 0, layer count 1 to MaxNewPatternLayers and
// compartment intervals of at least 1; otherwise false with a message.
bool CheckNewPatternValues(const TNewPatternValues &values, QString *error = nullptr);
