#include "core/picture/picturelimits.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

bool CheckPictureBudget(qint64 width, qint64 height, int bytesPerCell, QString *error)
{
    if (width <= 0 || height <= 0 || bytesPerCell <= 0
        || width <= PictureMemoryBudget / bytesPerCell / height)
        return true;
    return Fail(error,
        GetUiMessage(UiKey::String::PictureTooLarge).arg(width).arg(height).arg(PictureMemoryBudget >> 20));
}
