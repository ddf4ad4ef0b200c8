#pragma once
// TDocument: one pattern document (意匠) without its window.
// The logic of a document window: its caption (the file it is, or "Untitled-n"), its
// record (TMesh) and hidden sample card (样卡), the row-table mode of its row-table
// windows, the colour last picked for the shuttle-by-colour window, saving by file type
// and the decision whether it may close. The grid it works on belongs to the window that
// shows it; every question goes through TDocumentQuestions.

#include "card/samplecard.h"
#include "core/base/document.h"
#include "editor/patterngrid.h"
#include "shell/documentquestions.h"
#include "shell/newpattern.h"

#include <QString>

enum class TSaveCommand { Save, SaveAs };
// What the row-table windows of a document work on.
enum class TRowTableMode { None, Shuttle, WeftDensity };
// How PrepareDocumentRecord treats the colour weaves.
enum class TPrepareMode {
    KeepColorWeaves = 0, // kept when they still fit the colours and repeats
    ResetColorWeaves = 1, // every colour weave back to its default
};

class TDocument {
public:
    explicit TDocument(TPatternGrid &grid);

    TPatternGrid &Grid() { return m_grid; }
    const TPatternGrid &Grid() const { return m_grid; }
    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &caption) { m_caption = caption; }
    TMesh &Record() { return m_record; }
    const TMesh &Record() const { return m_record; }
    void SetRecord(const TMesh &record) { m_record = record; }
    TYangkaImage &SampleCard() { return m_sampleCard; }
    bool Modified() const { return m_grid.Modified(); }

    TRowTableMode RowTableMode() const { return m_rowTableMode; }
    void SetRowTableMode(TRowTableMode mode) { m_rowTableMode = mode; }
    // Cleared whenever the row tables grow or shrink.
    bool RowTablesUnchanged() const { return m_rowTablesUnchanged; }
    void SetRowTablesUnchanged(bool value) { m_rowTablesUnchanged = value; }
    // The colour last picked in the document and the value taken with it.
    int LastPickedIndex() const { return m_lastPickedIndex; }
    int LastPickedValue() const { return m_lastPickedValue; }
    void SetLastPicked(int index, int value)
    {
        m_lastPickedIndex = index;
        m_lastPickedValue = value;
    }

    // Saves the document. Save writes the existing bitmap or project that the document is
    // again, as that type, without asking (a project keeps its row tables, weaves and
    // sample card only as a project); otherwise the save dialog asks where and as what,
    // starting from the document's own type and folder (else a bitmap in the picture
    // folder). A project is saved with its sample card (SaveProjectDocument). A bitmap or
    // project becomes the document's caption and clears the modified mark; an export
    // (PCX, card, weave) leaves both, since the caption still names the old file. The file
    // goes to the top of the recent-file list. True when a file was written; a cancelled
    // dialog or a failed write (reported through questions) changes nothing.
    bool SaveDocument(TSaveCommand command, TDocumentQuestions &questions);
    // Whether the document may close: without changes yes; otherwise the question Yes
    // (save, and close only when the document itself was saved), No (close) or Cancel.
    bool CloseQuery(TDocumentQuestions &questions);

    // The record of a new or newly opened document, from its grid: size, repeats 1,
    // densities, the picture and its colours most frequent first, row tables, weave slots
    // and the sample card. The grid's piece count and the record's layer count become
    // layerCount.
    void InitDocument(int layerCount = 1);
    // Applies the parameters of File > New to the grid (size, compartments, line colours,
    // densities, zoom 12, piece count) and keeps them as the new-pattern defaults.
    void ApplyNewDocumentParameters(const TNewPatternValues &values);

    // After a command that changed the pattern's height: the record takes the picture's
    // size and its row tables keep what was entered for the rows that remain, new row r
    // being old row firstOldRow + r (FitRowTablesToHeight). Returns how many entered rows
    // were dropped.
    int FollowPatternHeight(int firstOldRow = 0);
    // Adds or removes weft entries of the row tables (see GrowPickTables of the row tables).
    void GrowPickTables(bool noPick, int count);
    // Makes the record ready for card work: the colours of the picture, most frequent
    // first, the size from the picture, row tables rebuilt only when missing or not
    // matching (entered values are kept), at least 3 x WeftRepeat technical weaves kept as
    // they are, and |Colors| x WarpRepeat x WeftRepeat colour weaves. False with a message,
    // changing nothing, when the record asks for more than a document holds.
    bool PrepareDocumentRecord(TPrepareMode mode, QString *error = nullptr);
    // A fresh hidden sample card. When the record names a sample-card file, exactly that
    // card: a file that cannot be read leaves the card blank and gives false with a message
    // naming it (another card would build the loom's card on the wrong needles). Otherwise
    // the sample-card editor's most recent file when there is one and it loads.
    bool CreateSampleCard(QString *error = nullptr);

    // Setters that also keep the value as the new-pattern default (GrossOption).
    void SetPatternSize(int warps, int wefts);
    void SetCompartIntervals(int cols, int rows);
    void SetDensities(double weftDensity, double warpDensity);
    void SetLineColors(TColor compartLineColor, TColor gridLineColor);

    // The caption without its extension, as the close question shows it.
    QString CaptionWithoutExtension() const;

private:
    TPatternGrid &m_grid;
    QString m_caption;
    TMesh m_record;
    TYangkaImage m_sampleCard;
    TRowTableMode m_rowTableMode = TRowTableMode::None;
    bool m_rowTablesUnchanged = true;
    int m_lastPickedIndex = -1;
    int m_lastPickedValue = 0;
};
