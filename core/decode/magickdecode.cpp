#include "core/decode/magickdecode.h"

#include "core/base/error.h"
#include "core/decode/magickmodule.h"
#include "core/picture/picturecomplete.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace {

struct TMagickModule {
    TMagickInit Init = nullptr;
    TMagickDecode Decode = nullptr;
    QString Error; // why the module could not be opened
};

// The module is looked for where the program is installed (lib/dorwen-cad beside bin/),
// then where the build made it. It stays open for the rest of the run.
TMagickModule openModule()
{
    TMagickModule module;
    QStringList paths;
    if (QCoreApplication::instance())
        paths << QDir(QCoreApplication::applicationDirPath())
                     .filePath(QStringLiteral("../lib/dorwen-cad/" DORWEN_MAGICK_MODULE_NAME));
    paths << QStringLiteral(DORWEN_MAGICK_MODULE);
    QLibrary library;
    for (const QString &path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        library.setFileName(path);
        if (library.load())
            break;
        module.Error = library.errorString();
    }
    if (!library.isLoaded()) {
        if (module.Error.isEmpty())
            module.Error = QStringLiteral(DORWEN_MAGICK_MODULE_NAME);
        return module;
    }
    module.Init = reinterpret_cast<TMagickInit>(library.resolve(MagickInitEntry));
    module.Decode = reinterpret_cast<TMagickDecode>(library.resolve(MagickDecodeEntry));
    if (!module.Init || !module.Decode) {
        module.Init = nullptr;
        module.Decode = nullptr;
        module.Error = library.errorString();
    }
    return module;
}

const TMagickModule &magickModule()
{
    static const TMagickModule module = openModule();
    return module;
}

} // namespace

void InitMagick()
{
    if (const TMagickInit init = magickModule().Init)
        init();
}

bool DecodeWithMagick(const QByteArray &bytes, const char *format, QImage &picture, int &bits, QString *error)
{
    const TMagickModule &module = magickModule();
    if (!module.Decode)
        return Fail(error, GetUiMessage(UiKey::String::PictureUndecodableWhy).arg(module.Error));
    if (bytes.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::PictureFileEmpty));
    TMagickOutcome outcome;
    module.Decode(
        bytes, format, [&] { return CheckPictureComplete(format, bytes, error); }, outcome);
    using K = TMagickOutcome;
    switch (outcome.Kind) {
    case K::Decoded:
        picture = outcome.Picture;
        bits = outcome.Bits;
        return true;
    case K::Incomplete:
        return false;
    case K::OverLimits:
        if (outcome.Declared.isValid()
            && !CheckPictureBudget(
                outcome.Declared.width(), outcome.Declared.height(), outcome.PixelBytes, error))
            return false;
        break;
    case K::Damaged:
        break;
    case K::NoSize:
        return Fail(error, GetUiMessage(UiKey::String::PictureNoSize));
    case K::Undecodable:
        return Fail(error, GetUiMessage(UiKey::String::PictureUndecodable));
    case K::UndecodableWhy:
        return Fail(error, GetUiMessage(UiKey::String::PictureUndecodableWhy).arg(outcome.Reason));
    case K::NoMemory:
        return Fail(error, GetUiMessage(UiKey::String::PictureNoMemory));
    }
    return Fail(
        error, GetUiMessage(UiKey::String::PictureDamagedOrNot).arg(QLatin1String(format), outcome.Reason));
}
