#include "core/settings/uitexts.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {
// Case-folded key -> position in the built-in list.
const QHash<QString, int> &defaultIndex()
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        const auto texts = BuiltInUiTexts();
        for (int i = int(texts.size()) - 1; i >= 0; --i) // the first of equal keys wins
            h.insert(QString::fromUtf8(texts[i].Key).toCaseFolded(), i);
        return h;
    }();
    return index;
}
} // namespace

QString BuiltInUiText(const QString &key)
{
    const auto &index = defaultIndex();
    const auto it = index.constFind(key.toCaseFolded());
    return it == index.constEnd() ? QString() : QString::fromUtf8(BuiltInUiTexts()[*it].Text);
}

QString GetUiString(const QString &section, const QString &key)
{
    const QString def = BuiltInUiText(key);
    QString value = Folders().LanguageIni ? Folders().LanguageIni->ReadString(section, key, def) : def;
    value.remove(QLatin1Char('\''));
    return value;
}

QString GetUiMessage(const QString &key)
{
    return GetUiString(QStringLiteral("String"), key);
}

QStringList ListLanguageFiles()
{
    QDir dir(Folders().LanguageDir);
    QStringList names = dir.entryList({ QStringLiteral("*.ini") }, QDir::Files | QDir::Readable);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

void SelectLanguageFile(int index)
{
    if (Folders().LanguageDir.isEmpty() || !QFileInfo(Folders().LanguageDir).isDir())
        return;
    Folders().CurrentDir = Folders().LanguageDir;
    const QStringList names = ListLanguageFiles();
    Folders().LanguageFileName = (index >= 0 && index < names.size()) ? names[index] : QString();
}

void LoadLanguageSetting()
{
    SelectLanguageFile(ReadLanguageIndex());
}

void OpenLanguageFile()
{
    LoadLanguageSetting();
    CloseLanguageFile();
    if (!Folders().LanguageFileName.isEmpty())
        Folders().LanguageIni = std::make_unique<TIniFile>(
            QDir(Folders().LanguageDir).filePath(Folders().LanguageFileName), TIniFile::MaxLanguageFileSize);
}

void CloseLanguageFile()
{
    Folders().LanguageIni.reset();
}
