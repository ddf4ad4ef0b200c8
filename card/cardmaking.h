#pragma once
// The card-making (制版) settings: the one-row sample card a card is made for, and the
// scan start corner of the card generation, kept in "VIZ.ini".

#include "card/samplecard.h"

#include <QPoint>
#include <QSize>
#include <QString>

// The one-row sample card of `hooks` needles for a pattern of `warps` warps: the first
// `warps` needles jacquard, the others empty, start corner 0; with shiftToRight the start
// corner is 1, which numbers the needles from the other end, so that the jacquard needles
// end at the right-hand end of the harness. Fails with "HooksError", leaving card as it
// was, when hooks is below warps or outside 1 to 65,535.
bool OneRowSampleCard(int hooks, int warps, bool shiftToRight, TYangkaImage &card, QString *error = nullptr);

// The scan start corner (TScanStart) chosen by releasing the mouse at `point` on a
// preview of `size`: left and upper half 2, left and lower half 0, right and upper half 3,
// right and lower half 1; a point on a centre line gives 0.
int PreviewScanStart(QPoint point, QSize size);

// The scan start corner kept in "VIZ.ini" of the settings folder (section "样卡设置", key
// "读图顺序"); 0 when missing or not a corner.
int ReadScanStartSetting();
bool WriteScanStartSetting(int corner);
// The path of "VIZ.ini".
QString VizIniPath();
