#include "core/settings/uitexts.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {
QString sectionKey(const QString &section, const QString &key)
{
    return section.toCaseFolded() + QLatin1Char('/') + key.toCaseFolded();
}

// Case-folded key, and case-folded section "/" key -> position in the built-in list.
struct TDefaultIndex {
    QHash<QString, int> Keys, SectionKeys;
};

const TDefaultIndex &defaultIndex()
{
    static const TDefaultIndex index = [] {
        TDefaultIndex h;
        const auto texts = BuiltInUiTexts();
        for (int i = int(texts.size()) - 1; i >= 0; --i) { // the first of equal keys wins
            h.Keys.insert(QString::fromUtf8(texts[i].Key).toCaseFolded(), i);
            h.SectionKeys.insert(
                sectionKey(QString::fromUtf8(texts[i].Section), QString::fromUtf8(texts[i].Key)), i);
        }
        return h;
    }();
    return index;
}

QString textAt(const QHash<QString, int> &index, const QString &name)
{
    const auto it = index.constFind(name);
    return it == index.constEnd() ? QString() : QString::fromUtf8(BuiltInUiTexts()[*it].Text);
}
} // namespace

QString BuiltInUiText(const QString &key)
{
    return textAt(defaultIndex().Keys, key.toCaseFolded());
}

QString BuiltInUiText(const QString &section, const QString &key)
{
    const auto &index = defaultIndex().SectionKeys;
    return index.contains(sectionKey(section, key)) ? textAt(index, sectionKey(section, key))
                                                    : BuiltInUiText(key);
}

QString GetUiString(const QString &section, const QString &key)
{
    const QString def = BuiltInUiText(section, key);
    QString value = Folders().LanguageIni ? Folders().LanguageIni->ReadString(section, key, def) : def;
    value.remove(QLatin1Char('\''));
    return value;
}

QString GetUiString(const TUiKey &key)
{
    return GetUiString(QLatin1String(key.Section), QLatin1String(key.Key));
}

QString GetUiMessage(const TUiMessageKey &key)
{
    return GetUiString(key);
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
