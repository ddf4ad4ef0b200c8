#pragma once
// The program's one error convention. A routine that can fail returns bool and takes a last
// parameter `QString *error` (may be null); on failure it returns Fail(error, text), which
// stores the user-visible text (already looked up through the interface texts) and
// returns false. Callers show the text; routines below them never show anything.

#include <QString>

inline bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}
