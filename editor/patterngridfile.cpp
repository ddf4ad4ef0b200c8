// Loading the pattern picture from a file and saving it by extension.
#include "editor/patterngrid.h"

#include "core/bmpfile.h"
#include "core/fileext.h"
#include "core/picturelimits.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TPatternGrid", text);
}

// Any picture file as an 8-bit picture with a 256-entry colour table. The BMP reader
// keeps colour indexes exactly; other files go through the image readers and must hold
// an indexed picture.
bool loadPictureAs8Bit(const QString &fileName, QImage &picture, QString *error)
{
    QImage loaded;
    if (QFileInfo(fileName).suffix().compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0) {
        if (!LoadBmp8File(fileName, loaded, error))
            return false;
    } else {
        QImageReader reader(fileName);
        if (!reader.read(&loaded)) {
            if (error)
                *error = tr("The picture \"%1\" cannot be read: %2").arg(fileName, reader.errorString());
            return false;
        }
        if (loaded.format() != QImage::Format_Indexed8) {
            if (error)
                *error = tr("The picture \"%1\" is not an 8-bit palette picture.").arg(fileName);
            return false;
        }
        QList<QRgb> table = loaded.colorTable();
        table.resize(256, qRgb(0, 0, 0));
        loaded.setColorTable(table);
    }
    picture = loaded;
    return true;
}

} // namespace

bool TPatternGrid::LoadPictureFile(const QString &fileName, QString *error)
{
    QImage loaded;
    QString why;
    if (!loadPictureAs8Bit(fileName, loaded, &why) || loaded.isNull()) {
        if (error)
            *error = why.isEmpty() ? tr("The picture \"%1\" cannot be read.").arg(fileName) : why;
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

bool TPatternGrid::SaveToFile(const QString &fileName, QString *error)
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
    default:
        if (error)
            *error = tr("Pictures cannot be saved as \"%1\" here.").arg(QFileInfo(fileName).suffix());
        return false;
    }
}
