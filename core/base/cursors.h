#pragma once
// The program's custom cursors, registered under the ids the tools use.

#include <QCursor>

enum TCursorId {
    crDefineArea = 111,
    crOnDefineArea = 112,
    crCutArea = 113,
    crCanMoveArea = 114,
    crMovingArea = 115,
    crAbsorbColor = 118,
    crFillColor = 120,
    crBeeLine = 121,
    crSpray = 123,
    crHandFinger = 124,
    crHandClose = 125,
    crHandOpen = 126,
    crLasso = 127,
    crPolygon = 128,
    crMagicStick = 129,
    crInsertWord = 130,
    crHorzCut = 131,
    crVertCut = 132,
    crRotate = 133,
    crHandOpen2 = 134,
};

// Loads the twenty cursor images into the cursor table. Needs a QGuiApplication.
void RegisterCursors();
bool IsCursorRegistered(int id);
// The cursor of an id; the arrow for an id that is not registered.
QCursor AppCursor(int id);
// The resource name of a registered id, empty for other ids.
const char *CursorResourceName(int id);
