#pragma once
// TPictureFormat: the picture-format list.
// The picture-format list: for a file extension, which picture class reads the file and
// what the open dialogs call it. It holds the program's own card, weave and project
// formats beside the imported raster formats, so that those files open as pictures.
// Filled once at start-up (RegisterPictureFormats) and emptied at exit.

#include "core/decode/picturedecode.h"

#include <QList>
#include <QString>

enum TPictureKind {
    PkRaster = 1,
    PkVector = 2,
    PkLayered = 4,
    PkMultiImage = 8,
    PkAnimation = 16,
};

struct TPictureFormat {
    QString Extension; // without the dot, compared without regard to letter case
    QString Common; // shown in filter lists; empty for an alias of the previous entry
    QString Individual; // empty for every entry here
    int Kinds = PkRaster;
    const TPictureClass *PictureClass = nullptr;
    bool InGlobalList = false; // also registered with the imported-format list
};

// The picture classes of the list.
extern const TPictureClass TWenBanIOClass; // the program's own card, weave and project files
extern const TPictureClass &BitmapClass; // the loader's own bitmap class
extern const TPictureClass IconClass, MetafileClass, EnhancedMetafileClass, JpegClass, TargaClass, TiffClass,
    EpsClass, PcxClass, AliasWavefrontClass, SgiClass, PhotoshopClass, PortablePixmapClass, AutodeskClass,
    PhotoCdClass, DrHaloClass, PaintshopProClass, PngClass;

// The reader of the program's own formats: the card codec. Replaceable (tests); it is kept
// in Hooks().WenBanIOReader, and an empty reader puts the card codec back.
void SetWenBanIOReader(TPictureReader reader);

// Appends an entry.
void RegisterFileFormat(const QString &extension, const QString &common, const QString &individual, int kinds,
    bool replace, bool registerDefault, const TPictureClass *pictureClass);
// Removes the entries of a class: the one of the given extension, or all of them when
// extension is empty.
void UnregisterFileFormat(const QString &extension, const TPictureClass *pictureClass);

// The entries in registration order.
const QList<TPictureFormat> &PictureFormats();
// The class of the first entry whose extension equals the given one (a leading dot is
// ignored; any letter case); null when there is none.
const TPictureClass *PictureClassForExtension(const QString &extension);

// GIF pictures are read by the image library's own list, not by an entry of this one.
extern const TPictureClass GifClass;
// The loader's lookup: the list, then the library's own formats (GIF).
const TPictureClass *LoaderPictureClass(const QString &extension);

// Start-up: registers the whole list in its order and makes the loader use it.
void RegisterPictureFormats();
// Exit: removes every entry.
void UnregisterPictureFormats();

// The fixed filter of the picture open dialog (description|patterns|...).
extern const QString OpenPictureFilter;
// The drop test of the main window: true when the file's extension is one of the
// patterns of OpenPictureFilter (any letter case).
bool IsOpenableDroppedFile(const QString &fileName);
