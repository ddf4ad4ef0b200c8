// Loading the pattern picture from a file and saving it by extension.
#include "editor/patterngrid.h"

#include "card/picturetocard.h"
#include "core/base/fileext.h"
#include "core/decode/pictureload.h"
#include "core/picture/bmpfile.h"
#include "core/picture/pcxfile.h"
#include "core/picture/picturelimits.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TPatternGrid", text);
}

} // namespace

bool TPatternGrid::LoadPictureFile(const QString &fileName, QString *error)
{
    QImage loaded;
    QString why;
    if (!LoadPictureAs8Bit(fileName, loaded, &why) || loaded.isNull()) {
        if (error)
            *error = why.isEmpty() ? tr("The picture \"%1\" cannot be read.").arg(fileName) : why;
        return false;
    }
    if (loaded.format() != QImage::Format_Indexed8) {
        if (error)
            *error = tr("The picture \"%1\" cannot be read as an 8-bit picture.").arg(fileName);
        return false;
    }
    if (loaded.width() < 1 || loaded.height() < 1 || loaded.width() > MaxPictureSide
        || loaded.height() > MaxPictureSide) {
        if (error)
            *error = tr("The picture \"%1\" is %2 x %3 cells; a pattern has 1 to %4 cells on each side.")
                         .arg(fileName)
                         .arg(loaded.width())
                         .arg(loaded.height())
                         .arg(MaxPictureSide);
        return false;
    }
    takeLoadedPicture(loaded);
    return true;
}

bool TPatternGrid::SaveToFile(const QString &fileName, QStringList *warnings, QString *error)
{
    if (m_picture.isNull()) {
        if (error)
            *error = tr("There is no picture to save.");
        return false;
    }
    Repaint();
    switch (FileExtensionRow(fileName)) {
    case 0: // ".BMP"
        return SaveBmp8File(m_picture, fileName, error);
    case 1: // ".PCX"
        return SavePictureAsPcx(m_picture, fileName, error);
    case 2: // ".EP", ".JC5", ".QS", ".OVWB": a card; ".OVW": a weave
    case 3:
    case 4:
    case 5:
    case 6:
        // Cells of the back colour are the lowered points.
        return SaveCardByExtension(m_picture, GetBackColor(), fileName, warnings, error);
    case 11: // ".OVY": the whole document
        return WriteProjectFile(fileName, error);
    default:
        if (error)
            *error = tr("Pictures cannot be saved as \"%1\" here.").arg(QFileInfo(fileName).suffix());
        return false;
    }
}
