#pragma once
// ShowHelp: the program's help guide.
// The guide is one page of the program's own ("Help/index.html" among the read-only data),
// with an anchor per help context; the desktop's browser shows it.

#include <QString>
#include <QUrl>

// The help contexts the windows give: each is an anchor of the guide.
enum class THelpContext : int {
    Start = 0, // the top of the guide
    SystemSettings = 1,
    RepairPicture = 10,
    Spray = 11,
    CrepeWeave = 13,
    InsertWord = 18,
    Bordure = 24,
    RemoveWarp = 25,
    PrintPreview = 31,
    PointStyle = 33,
    StraightLine = 37,
};

// The address of the guide at the context's anchor (the start: no anchor).
QUrl HelpUrl(THelpContext context);
// Opens the guide at the context's anchor through the desktop. False with a message when
// the guide is missing or the desktop cannot show it.
bool ShowHelp(THelpContext context, QString *error = nullptr);
