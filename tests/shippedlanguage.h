#pragma once
// Chooses one of the shipped language files, as the language menu does: 0 English,
// 1 Traditional Chinese, 2 Simplified Chinese. Windows made afterwards show its texts.

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QString>
#include <QTemporaryDir>

enum class TShippedLanguage { English = 0, TraditionalChinese = 1, SimplifiedChinese = 2 };

inline void ChooseShippedLanguage(TShippedLanguage language)
{
    Folders().LanguageDir = QStringLiteral(DORWEN_SOURCE_RESOURCES) + "/Language/";
    WriteLanguageIndex(int(language));
    OpenLanguageFile();
}

// The choice for one test: a test without a settings file of its own gets one for the
// while, and the language stored before comes back at the end, so that the tests after it
// start as they would have.
class TShippedLanguageScope {
public:
    explicit TShippedLanguageScope(TShippedLanguage language)
        : m_configIni(Folders().ConfigIniPath)
    {
        if (m_configIni.isEmpty())
            Folders().ConfigIniPath = m_dir.filePath(QStringLiteral("Config.Ini"));
        m_previous = ReadLanguageIndex();
        ChooseShippedLanguage(language);
    }
    ~TShippedLanguageScope()
    {
        WriteLanguageIndex(m_previous);
        CloseLanguageFile();
        Folders().ConfigIniPath = m_configIni;
    }
    TShippedLanguageScope(const TShippedLanguageScope &) = delete;
    TShippedLanguageScope &operator=(const TShippedLanguageScope &) = delete;

private:
    QTemporaryDir m_dir;
    QString m_configIni;
    int m_previous = 0;
};
