#pragma once
// Documents made by dialogs: what the picture dialogs (unite, direct merge, seams, convert
// weave, split, pattern merge) hand the main window on OK becomes a new document. Here is
// the part that needs no window: the captions, and how a result picture enters the new
// document's grid and record.

#include "shell/document.h"

#include <QImage>
#include <QString>

#include <cstdint>

// The piece layout a split gives each part (the grid's piece height, width and count).
struct TSplitPieces {
    std::int32_t PieceHeight = 1;
    std::int32_t PieceWidth = 4;
    std::int32_t PieceCount = 1;
};

// The caption of a document a dialog makes: the "Untitled" text, its number and "*", the
// star saying that it was never saved.
QString DialogDocumentCaption(int number);
// The caption of part number part (from 1) of a split: the source document's caption
// without its extension, "_X" and the number.
QString SplitPartCaption(const TDocument &source, int part);

// True when picture can become a document: not empty, 8-bit with 256 colours, no side
// larger than a document holds; otherwise false with a message.
bool CheckDialogPicture(const QImage &picture, QString *error = nullptr);

// Puts a dialog's result picture (8-bit, its palette in its colour table) into a new
// document: the palette and the picture go into the grid (the document is marked
// modified, so that closing it asks), the repeat display size is reset and the record is
// made from the picture. False with a message, changing nothing, for a picture that is
// empty, not 8-bit or larger than a document holds.
bool TakeDialogPicture(TDocument &document, const QImage &picture, QString *error = nullptr);
// TakeDialogPicture for one part of a split: the grid also takes the split's piece layout
// and the source grid's gap (its fourth piece value); the record's layer count is the
// piece count.
bool TakeSplitPart(TDocument &document, const QImage &part, const TSplitPieces &pieces,
    std::int32_t sourceGap, QString *error = nullptr);
