#include "shell/pictureformats.h"

#include "core/settings/sharedstate.h"
#include "shell/cardpictureformat.h"

#include <QFileInfo>

namespace {

QList<TPictureFormat> &formats()
{
    static QList<TPictureFormat> list;
    return list;
}

TPictureClass own(const char *name, TPictureDecoder decoder, const char *format)
{
    return TPictureClass { QString::fromUtf8(name), decoder, format, {} };
}

bool readOwnFormat(const QString &fileName, const QByteArray &bytes, TLoadedPicture &picture, QString *error)
{
    const auto &reader = Hooks().WenBanIOReader;
    return reader ? reader(fileName, bytes, picture, error)
                  : ReadWenBanIOPicture(fileName, bytes, picture, error);
}

} // namespace

const TPictureClass TWenBanIOClass { QStringLiteral("TWenBanIO"), TPictureDecoder::Custom, "",
    readOwnFormat };
const TPictureClass &BitmapClass = BitmapPictureClass();
const TPictureClass IconClass = own("Windows icons", TPictureDecoder::Qt, "ICO");
const TPictureClass MetafileClass = own("Windows metafiles", TPictureDecoder::Magick, "WMF");
// Enhanced metafiles: no library here reads them.
const TPictureClass EnhancedMetafileClass = own("Windows enhanced metafiles", TPictureDecoder::None, "");
const TPictureClass JpegClass = own("JPEG images", TPictureDecoder::Qt, "JPEG");
const TPictureClass TargaClass = own("Truevision images", TPictureDecoder::Magick, "TGA");
const TPictureClass TiffClass = own("Tagged image file format images", TPictureDecoder::Qt, "TIFF");
const TPictureClass EpsClass = own("Encapsulated Postscript images", TPictureDecoder::Eps, "EPS");
const TPictureClass PcxClass = own("ZSoft Paintbrush images", TPictureDecoder::Pcx, "PCX");
const TPictureClass AliasWavefrontClass = own("Alias/Wavefront images", TPictureDecoder::Magick, "RLA");
const TPictureClass SgiClass = own("SGI images", TPictureDecoder::Magick, "SGI");
const TPictureClass PhotoshopClass = own("Photoshop images", TPictureDecoder::Photoshop, "PSD");
const TPictureClass PortablePixmapClass = own("Portable map images", TPictureDecoder::Qt, "PPM");
const TPictureClass AutodeskClass = own("Autodesk images", TPictureDecoder::None, "");
const TPictureClass PhotoCdClass = own("Kodak Photo-CD images", TPictureDecoder::Magick, "PCD");
const TPictureClass DrHaloClass = own("Dr. Halo images", TPictureDecoder::Magick, "CUT");
const TPictureClass PaintshopProClass = own("Paintshop Pro images", TPictureDecoder::None, "");
const TPictureClass PngClass = own("Portable network graphic images", TPictureDecoder::Qt, "PNG");
// Through GraphicsMagick, which hands over the indexes and the colour table as stored.
const TPictureClass GifClass = own("GIF images", TPictureDecoder::Magick, "GIF");

void SetWenBanIOReader(TPictureReader reader)
{
    Hooks().WenBanIOReader = std::move(reader);
}

void RegisterFileFormat(const QString &extension, const QString &common, const QString &individual, int kinds,
    bool replace, bool registerDefault, const TPictureClass *pictureClass)
{
    if (replace)
        formats().removeIf([&](const TPictureFormat &f) {
            return f.Extension.compare(extension, Qt::CaseInsensitive) == 0;
        });
    formats().append({ extension, common, individual, kinds, pictureClass, registerDefault });
}

void UnregisterFileFormat(const QString &extension, const TPictureClass *pictureClass)
{
    formats().removeIf([&](const TPictureFormat &f) {
        return f.PictureClass == pictureClass
            && (extension.isEmpty() || f.Extension.compare(extension, Qt::CaseInsensitive) == 0);
    });
}

const QList<TPictureFormat> &PictureFormats()
{
    return formats();
}

const TPictureClass *PictureClassForExtension(const QString &extension)
{
    const QString ext = extension.startsWith(u'.') ? extension.mid(1) : extension;
    for (const TPictureFormat &f : formats())
        if (f.Extension.compare(ext, Qt::CaseInsensitive) == 0)
            return f.PictureClass;
    return nullptr;
}

const TPictureClass *LoaderPictureClass(const QString &extension)
{
    if (const TPictureClass *cls = PictureClassForExtension(extension))
        return cls;
    const QString ext = extension.startsWith(u'.') ? extension.mid(1) : extension;
    return ext.compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0 ? &GifClass : nullptr;
}

void RegisterPictureFormats()
{
    UnregisterPictureFormats();
    struct Row {
        const char *ext;
        const char *common; // UTF-8
        int kinds;
        const TPictureClass *cls;
    };
    // The program's own formats first: only in this list.
    const Row ownRows[] = {
        { "EP", "EP", PkRaster, &TWenBanIOClass },
        { "JC5", "JC5", PkRaster, &TWenBanIOClass },
        { "QS", "QS", PkRaster, &TWenBanIOClass },
        { "OVY", "意匠文件", PkRaster, &TWenBanIOClass },
        { "OVWB", "Windows bitmaps", PkRaster, &TWenBanIOClass },
        { "OVW", "组织文件", PkRaster, &TWenBanIOClass },
        { "GRD", "万国纹版", PkRaster, &TWenBanIOClass },
        { "WB", "浙大纹版", PkRaster, &TWenBanIOClass },
        { "XY", "浙大小样", PkRaster, &TWenBanIOClass },
        { "WV", "浙大组织", PkRaster, &TWenBanIOClass },
        { "UPT", "UPT", PkRaster, &TWenBanIOClass },
        { "DAT", "UPT", PkRaster, &TWenBanIOClass },
        { "P32", "UPT", PkRaster, &TWenBanIOClass },
        { "bmp", "Windows bitmaps", PkRaster, &BitmapClass },
        { "ico", "Windows icons", PkRaster, &IconClass },
        { "wmf", "Windows metafiles", PkVector, &MetafileClass },
        { "emf", "Windows metafiles", PkVector, &EnhancedMetafileClass },
        { "jfif", "JPG images", PkRaster, &JpegClass },
        { "jpg", "JPG images", PkRaster, &JpegClass },
        { "jpe", "JPE images", PkRaster, &JpegClass },
        { "jpeg", "JPEG images", PkRaster, &JpegClass },
    };
    for (const Row &r : ownRows)
        RegisterFileFormat(
            QString::fromLatin1(r.ext), QString::fromUtf8(r.common), QString(), r.kinds, false, false, r.cls);
    // The imported formats, also in the imported-format list.
    const Row importedRows[] = {
        { "rle", "Windows bitmaps", PkRaster, &BitmapClass },
        { "dib", "Device independant Windows bitmaps", PkRaster, &BitmapClass },
        { "win", "Truevision images", PkRaster, &TargaClass },
        { "vst", "", PkRaster, &TargaClass },
        { "vda", "", PkRaster, &TargaClass },
        { "tga", "", PkRaster, &TargaClass },
        { "icb", "", PkRaster, &TargaClass },
        { "tiff", "Tagged image file format images", PkRaster | PkMultiImage, &TiffClass },
        { "tif", "PC TIF images", PkRaster | PkMultiImage, &TiffClass },
        { "fax", "GFI fax images", PkRaster | PkMultiImage, &TiffClass },
        { "eps", "Encapsulated Postscript images", PkRaster, &EpsClass },
        { "pcx", "ZSoft Paintbrush images", PkRaster, &PcxClass },
        { "pcc", "", PkRaster, &PcxClass },
        { "scr", "Word 5.x screen capture images", PkRaster, &PcxClass },
        { "rpf", "Alias/Wavefront images", PkRaster, &AliasWavefrontClass },
        { "rla", "", PkRaster, &AliasWavefrontClass },
        { "sgi", "SGI images", PkRaster, &SgiClass },
        { "rgba", "SGI true color images with alpha", PkRaster, &SgiClass },
        { "rgb", "SGI true color images", PkRaster, &SgiClass },
        { "bw", "SGI black/white images", PkRaster, &SgiClass },
        { "psd", "Photoshop images", PkRaster | PkLayered, &PhotoshopClass },
        { "pdd", "", PkRaster | PkLayered, &PhotoshopClass },
        { "ppm", "Portable map images", PkRaster, &PortablePixmapClass },
        { "pgm", "Portable gray map images", PkRaster, &PortablePixmapClass },
        { "pbm", "Portable bitmap images", PkRaster, &PortablePixmapClass },
        { "cel", "Autodesk images", PkRaster, &AutodeskClass },
        { "pic", "Autodesk images", PkRaster, &AutodeskClass },
        { "pcd", "Kodak Photo-CD images", PkRaster, &PhotoCdClass },
        { "cut", "Dr. Halo images", PkRaster, &DrHaloClass },
        { "psp", "Paintshop Pro images", PkRaster | PkLayered | PkMultiImage, &PaintshopProClass },
        { "png", "Portable network graphic images", PkRaster, &PngClass },
    };
    for (const Row &r : importedRows)
        RegisterFileFormat(
            QString::fromLatin1(r.ext), QString::fromUtf8(r.common), QString(), r.kinds, false, true, r.cls);
    Hooks().PictureClassLookup = LoaderPictureClass;
}

void UnregisterPictureFormats()
{
    formats().clear();
    Hooks().PictureClassLookup = nullptr;
}

const QString OpenPictureFilter = QString::fromUtf8(
    "所有支持文件格式|*.BMP;*.JPG;*.PCX;*.PNG;*.PSD;*.TIF;*.ICO;*.EP;*.JC5;*.UPT;*.QS;*.OVY;*.OVW;*.GRD;*.WB;"
    "*.XY;"
    "*.WV;*.UPT;*.DAT;*.P32|Windows Bitmap(*.BMP)|*.BMP|JPG images(*.JPG)|*.JPG|ZSoft Paintbrush "
    "images(*.PCX)|*.PCX|"
    "Portable network graphic images(*.PNG)|*.PNG|Photoshop images(*.PSD)|*.PSD|Windows icons(*.ICO)|*.ICO|"
    "PC TIF images(*.TIF)|*.TIF|EP(*.EP)|*.EP|JC5(*.JC5)|*.JC5|意匠文件(*.OVY)|*.OVY|组织文件(*.OVW)|*.OVW|"
    "UPT(*.UPT)|*.UPT|VBJ(*.DAT)|*.DAT|PEJ(*.P32)|*.P32");

bool IsOpenableDroppedFile(const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix();
    if (ext.isEmpty())
        return false;
    // The pattern parts of the filter are its even-numbered fields (description|patterns|...).
    const QStringList fields = OpenPictureFilter.split(u'|');
    for (qsizetype i = 1; i < fields.size(); i += 2)
        for (const QString &pattern : fields[i].split(u';'))
            if (pattern.startsWith(QLatin1String("*."))
                && pattern.mid(2).compare(ext, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}
