#pragma once
// TUiKey: the name of one interface text, a section and a key of the language files.
// The constants of every text the program shows stand in the generated
// "core/settings/uikeys.h" (UiKey::<Section>::<Key>), made from English.ini at build time,
// so that a key that is not in the English file does not compile.

struct TUiKey {
    const char *Section;
    const char *Key;
};

// A key of the "String" section: message-box texts and captions, status texts and titles
// built at run time (GetUiMessage takes only these).
struct TUiMessageKey : TUiKey { };
