#pragma once
// The save dialog of the card (纹板) files.
// Asks where to save a card and as what: Qt's own file dialog over the filters of a card
// save dialog ("description|pattern|..."), starting at "Untitled" in `folder`, asking
// before it overwrites. A name without an extension takes the chosen filter's.

#include <QString>

class QWidget;

// True when the user chose a file: fileName then holds it and filterIndex the position
// (from 1) of the chosen filter, which picks the JC5 and DAT/P32 variants.
bool ChooseCardSaveFile(
    QWidget *parent, const QString &filter, const QString &folder, QString &fileName, int &filterIndex);
