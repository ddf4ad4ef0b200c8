#pragma once
// TGridSettings: the grid settings of a document (意匠设置) and what their OK does.
// The grid-settings dialog shows the document's size, compartment intervals, layer count,
// densities, line colours and the record's repeat counts, and hands back what the user
// set; ApplyGridSettings makes the document take it as one undoable change.

#include "core/base/document.h"

#include <QString>

class TDocument;

struct TGridSettings {
    int Warps = 1; // pattern width
    int Wefts = 1; // pattern height
    bool Stretch = false; // a new size stretches the picture; else cells stay 1:1
    int ColCompart = 8; // columns per compartment
    int RowCompart = 8; // rows per compartment
    int LayerCount = 1;
    double WarpDensity = 120.0;
    double WeftDensity = 60.0;
    TColor CompartLineColor = 0;
    TColor GridLineColor = 0xC0C0C0;
    int WarpRepeat = 1; // the record's, carried through
    int WeftRepeat = 1;
};

// What the dialog starts from: the grid's size, densities, line colours, compartment
// intervals and piece count, and the record's repeat counts.
TGridSettings GridSettingsStartValues(TDocument &document);
// Sizes 1 to 65,535, densities above 0, compartment intervals at least 1, layer count 1 to
// 9; false with a message otherwise.
bool CheckGridSettings(const TGridSettings &values, QString *error = nullptr);
// The OK of the dialog, in order: a settings step when only a density changed; a new size
// (repeat view off, the picture resized as one step); densities, compartment intervals and
// line colours into the document and the new-pattern defaults; the step's settings brought
// up to date; zoom again, the layer count, the refresh notification and the defaults
// written; the row tables grown by the new weft repeat or the record made afresh; the
// active-document notification. False with the reason, nothing changed, when the values
// are refused or the picture cannot take the new size.
bool ApplyGridSettings(
    TDocument &document, const TGridSettings &start, const TGridSettings &values, QString *error = nullptr);
