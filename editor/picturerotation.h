#pragma once
// Turning by a typed angle (旋转图象): the angle the rotation dialog accepts, the signed
// angle it hands on, and what it turns: the floating picture when there is one, else the
// floating text, else the whole picture.

#include <QString>

class TBmp;
class TPatternGrid;

// The angle box holds a decimal number of degrees within -360 .. 360 ("." or ","); false
// with "InputDateError" otherwise.
bool ParseRotateAngle(const QString &text, double &degrees, QString *error = nullptr);
// The signed angle a: the value, negated for clockwise (a > 0 turns anticlockwise).
double SignedRotateAngle(double degrees, bool clockwise);

enum class TRotateTarget { FloatingPicture, FloatingText, Picture };
// The one place that decides what the dialog turns.
TRotateTarget ChooseRotateTarget(bool hasFloatingPicture, bool hasFloatingText);

// What the rotation dialog's OK turns on grid by a degrees: the floating picture when one
// lies over it (RotateFloatingPicture, the grid repainted), else the floating text (its
// angle + a, rebuilt and repainted), else the whole picture (RotateGridPicture). False with the reason,
// nothing changed, when refused.
bool RotateByDialogAngle(TPatternGrid &grid, double a, QString *error = nullptr);
// The floating picture's angle becomes Angle - a (in radians; so clockwise adds) and it is
// rendered anew; false with the reason, the angle kept, when it cannot be rendered.
bool RotateFloatingPicture(TBmp &bmp, double a, QString *error = nullptr);
// The whole picture turned about its centre by a degrees (anticlockwise for a > 0), cells
// it no longer covers in the colour nearest black, as one undoable whole-picture command
// with the progress gauge; false with the reason, nothing changed, when the turned picture
// would be larger than a pattern may be.
bool RotateGridPicture(TPatternGrid &grid, double a, QString *error = nullptr);
