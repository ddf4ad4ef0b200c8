#pragma once
// Opening a pattern project file (.OVY) into a document: applying what the reader gave.
// The project reader (card/projectfile.h) fills a plain TProjectRecord and touches no
// document; once the whole file was read, ApplyProjectRecord hands it to the document's
// record and its pattern grid. The grid's side of the file (WriteProjectFile,
// WriteProjectTail, ReadProjectTail) is declared with the grid (editor/patterngrid.h).

#include "card/projectfile.h"

class TPatternGrid;

// The version-2 bytes of a project holding mesh and the grid's picture and piece layout,
// the repeat view first put back to its single unit. False with a message, giving nothing,
// when the grid has no picture or the record cannot be stored (EncodeProjectFile).
bool EncodeGridProject(TPatternGrid &grid, const TMesh &mesh, QByteArray &bytes, QString *error = nullptr);
// The same bytes handed to sink piece by piece, the picture straight from its rows; the same
// refusals, and false when sink refused a piece.
bool WriteGridProject(TPatternGrid &grid, const TMesh &mesh, const TFileSink &sink, QString *error = nullptr);

// Applies a project record read in full to a document whose window was just created:
//   - document := every stored field of the record (the 48-byte block, the sample-card
//     file name, the colour list, the three row tables, the weave slots and both name
//     lists), Picture pointing at the grid's picture, LayerCount := the piece count (at
//     least 1), as the grid keeps the layer count as its piece count;
//   - the grid takes the warp and weft densities, the picture with its palette as its
//     own (display copy rebuilt, repeat size reset to the picture), and the piece layout
//     (which tells the main window the pattern-merge state), and its record copy becomes
//     the document record.
// Nothing of the record is checked again here: the readers give only sound records.
// Telling the main window about the new palette and document set, and showing
// MissingWeavesMessage(record.MissingWeaves) when a legacy file named weave files that
// were not found, are the caller's.
void ApplyProjectRecord(const TProjectRecord &record, TPatternGrid &grid, TMesh &document);
