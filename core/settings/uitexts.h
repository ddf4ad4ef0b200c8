#pragma once
// TUiTextDefault: interface texts and language files.
// Interface texts: captions, hints and messages come from the chosen language file, with a
// built-in English text for every key.
//
// English.ini is the one source of the English texts: the built-in table and the key
// constants (UiKey::<Section>::<Key>) are generated from it when the program is built.
//
// The language files are the "*.ini" files of LanguageDir, listed sorted by name (the
// folder order of the file system is arbitrary); the setting "Lanuage" of section
// "Language" is a position in that listing. Lookups see the file as it is at each call; it is
// parsed again only when it changed.

#include "core/settings/inifile.h"
#include "core/settings/uikeys.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <span>

struct TUiTextDefault {
    const char *Section; // names compared without regard to case
    const char *Key;
    const char *Text; // UTF-8
};

// The built-in texts: every line of English.ini, in its order.
std::span<const TUiTextDefault> BuiltInUiTexts();
// The built-in text of Key (any case) in the first section that holds it; empty for a key
// that is not in the list.
QString BuiltInUiText(const QString &key);
// The built-in text of Key in Section, else BuiltInUiText(Key).
QString BuiltInUiText(const QString &section, const QString &key);

// The text of Key in Section of the language file, or the built-in text when the file,
// section or key is missing; every single quote (') is removed from the result.
QString GetUiString(const TUiKey &key);
// GetUiString of a key of the "String" section: message-box texts and captions, status
// texts, titles.
QString GetUiMessage(const TUiMessageKey &key);
// The same lookup for a key known only at run time (a control's object name, a row of a
// table); prefer the constants, which the compiler checks.
QString GetUiString(const QString &section, const QString &key);

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
