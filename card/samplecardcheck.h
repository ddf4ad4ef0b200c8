#pragma once
// The check a sample card (样卡) must pass before a document takes it.
// A document of D design columns, each driving R adjacent jacquard needles (WarpRepeat),
// repeats across the card's C jacquard needles: the card fits when D <= C and C is a
// multiple of D x R. The sample-card editor runs it on OK, and the card commands run it
// without showing the editor.

#include <QString>

// True when a card of jacquardCount jacquard needles fits a design of designWidth columns
// and warpRepeat needles per column. Otherwise false with the message the editor shows
// (three lines: the design's jacquard count, its repeat, and the multiple the card must
// be). A design width or repeat below 1 never fits (there is no multiple of 0).
bool CheckCardForDesign(int designWidth, int warpRepeat, int jacquardCount, QString *error = nullptr);

// The caption of the message box that shows the refusal.
QString CardForDesignCaption();
