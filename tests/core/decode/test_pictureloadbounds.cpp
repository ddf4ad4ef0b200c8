#include "core/base/filewrite.h"
#include "core/decode/pictureload.h"

#include "readercases.h"

namespace {

std::vector<ReaderCase> PictureReaders()
{
    return {
        { "picture",
            [](const QString &f, QString *e) {
                TLoadedPicture pic;
                return LoadPictureFromFile(f, pic, e);
            },
            MaxPictureFileSize },
    };
}

} // namespace

TEST(PictureLoadFile, FifosDevicesAndFoldersAreRefusedAtOnce)
{
    ExpectSpecialFilesRefused(PictureReaders());
}

TEST(PictureLoadFile, FilesLargerThanAPictureCanBeAreRefusedUnread)
{
    ExpectOversizedFilesRefused(PictureReaders());
}
