#pragma once
// TUiTextDefault: interface texts and language files.
// Interface texts: captions, hints and messages come from the chosen language file, with a
// built-in English text for every key.
//
// The language files are the "*.ini" files of LanguageDir, listed sorted by name (the
// folder order of the file system is arbitrary); the setting "Lanuage" of section
// "Language" is a position in that listing. Lookups see the file as it is at each call; it is
// parsed again only when it changed.

#include "core/settings/inifile.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <span>

struct TUiTextDefault {
    const char *Key; // compared without regard to case
    const char *Text; // UTF-8
};

// The built-in texts in the order the lookup compares them.
std::span<const TUiTextDefault> BuiltInUiTexts();
// The built-in text of Key (any case); empty for a key that is not in the list.
QString BuiltInUiText(const QString &key);

// The text of Key in Section of the language file, or the built-in text when the file,
// section or key is missing; every single quote (') is removed from the result.
QString GetUiString(const QString &section, const QString &key);
// GetUiString("String", Key): message-box texts and captions, status texts, titles.
QString GetUiMessage(const QString &key);

// The chosen language file is kept in Folders().LanguageFileName and Folders().LanguageIni.

// The "*.ini" files of LanguageDir, sorted by name.
QStringList ListLanguageFiles();
// Makes LanguageDir the folder relative names resolve from (CurrentDir) and chooses the
// Index-th language file; an index outside the listing chooses none (English). When
// LanguageDir does not exist nothing changes.
void SelectLanguageFile(int index);
// SelectLanguageFile with the index stored in the settings.
void LoadLanguageSetting();
// LoadLanguageSetting, then closes the previous language file and opens the chosen one.
void OpenLanguageFile();
void CloseLanguageFile();
