#include "editor/picturerotation.h"

#include "core/base/error.h"
#include "core/base/progress.h"
#include "core/settings/uitexts.h"
#include "editor/floatingpicture.h"
#include "editor/insertword.h"
#include "editor/patterngrid.h"

#include <cmath>
#include <numbers>

bool ParseRotateAngle(const QString &text, double &degrees, QString *error)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 360.0)
        return Fail(error, GetUiMessage(UiKey::String::InputDateError));
    degrees = value;
    return true;
}

double SignedRotateAngle(double degrees, bool clockwise)
{
    return clockwise ? -degrees : degrees;
}

TRotateTarget ChooseRotateTarget(bool hasFloatingPicture, bool hasFloatingText)
{
    if (hasFloatingPicture)
        return TRotateTarget::FloatingPicture;
    if (hasFloatingText)
        return TRotateTarget::FloatingText;
    return TRotateTarget::Picture;
}

bool RotateFloatingPicture(TBmp &bmp, double a, QString *error)
{
    return bmp.TurnBy(-a * std::numbers::pi / 180.0, error);
}

bool RotateGridPicture(TPatternGrid &grid, double a, QString *error)
{
    ShowProgressGauge();
    QString why;
    const bool ok = grid.RotatePictureByAngle(-a * std::numbers::pi / 180.0, &why);
    ReportProgress(100);
    return ok || Fail(error, why);
}

bool RotateByDialogAngle(TPatternGrid &grid, double a, QString *error)
{
    switch (ChooseRotateTarget(grid.HasFloatingBitmap(), grid.HasFloatingText())) {
    case TRotateTarget::FloatingPicture:
        if (!RotateFloatingPicture(*grid.FloatingBitmap(), a, error))
            return false;
        grid.Repaint();
        return true;
    case TRotateTarget::FloatingText: {
        // A text's angle runs the other way from a floating picture's, so adding a turns it
        // the same way on screen as the picture's Angle - a.
        TInsertWord &text = *grid.FloatingText();
        text.SetAngle(text.Angle() + a * std::numbers::pi / 180.0);
        text.Rebuild();
        grid.Repaint();
        return true;
    }
    case TRotateTarget::Picture:
        break;
    }
    return RotateGridPicture(grid, a, error);
}
