#pragma once
// AssignSampleCard: a document takes a sample card (样卡) that fits its design.
// The hand-over of the sample-card editor's card to a document: the card is checked
// against the pattern's warp count and the document's needles per design column
// (CheckCardForDesign) and, when it fits, becomes the document's sample card, and the
// record and the card itself name its file (the editor's file name: "Untitled*" while the
// card has none, so that saving the project writes the card beside it).

#include "card/samplecard.h"
#include "shell/document.h"

// False with the refusal, changing nothing, when the card does not fit the document.
bool AssignSampleCard(
    TDocument &document, const TYangkaImage &card, const QString &fileName, QString *error = nullptr);
