#include "shell/document.h"

#include "card/cardbuild.h"
#include "card/rowtables.h"
#include "core/base/messages.h"
#include "core/palette/palette.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/savetypes.h"

#include <QFileInfo>

namespace {
// The name without its last extension; a leading dot alone is no extension.
QString withoutExtension(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash + 1 ? path.left(dot) : path;
}

void setPieceCount(TPatternGrid &grid, int count)
{
    std::array<std::int32_t, 4> values = grid.RepeatDisplayValues();
    values[2] = count;
    grid.SetRepeatDisplayValues(values);
}
} // namespace

TDocument::TDocument(TPatternGrid &grid)
    : m_grid(grid)
{
    m_record.WeftRepeat = 1;
    m_record.WarpRepeat = 1;
    m_record.LayerCount = 1;
}

QString TDocument::CaptionWithoutExtension() const
{
    return withoutExtension(m_caption);
}

bool TDocument::SaveDocument(TSaveCommand command, TDocumentQuestions &questions)
{
    TSaveFileType type = TSaveFileType::Bitmap;
    QString fileName;
    const QFileInfo current(m_caption);
    if (command == TSaveCommand::Save && current.isFile()
        && current.suffix().compare(QLatin1String("BMP"), Qt::CaseInsensitive) == 0) {
        fileName = m_caption;
    } else {
        QString chosen;
        const QString proposed = withoutExtension(current.fileName());
        if (!questions.ChooseSaveFile(Folders().PictureDir, proposed, type, chosen) || chosen.isEmpty())
            return false;
        fileName = SaveTypeFileName(chosen, type);
    }

    // The grid writes its own copy of the record (the project file holds it).
    m_grid.SetMesh(m_record);
    QStringList warnings;
    QString error;
    if (!m_grid.SaveToFile(fileName, &warnings, &error)) {
        questions.ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
        return false;
    }
    for (const QString &warning : std::as_const(warnings))
        questions.ShowMessage(warning, GetUiMessage(UiKey::String::ConfigHint), TMessageKind::Warning);
    if (SaveTypeKeepsDocument(type)) {
        m_caption = fileName;
        m_grid.ClearModified();
    }
    AddRecentFile(fileName);
    return true;
}

bool TDocument::CloseQuery(TDocumentQuestions &questions)
{
    if (!Modified())
        return true;
    switch (questions.AskSaveChanges(CaptionWithoutExtension() + GetUiMessage(UiKey::String::FileHasModified),
        GetUiMessage(UiKey::String::ConfigHint))) {
    case TSaveAnswer::Yes:
        // An export leaves the document itself unsaved: the window stays.
        return SaveDocument(TSaveCommand::Save, questions) && !Modified();
    case TSaveAnswer::No:
        return true;
    case TSaveAnswer::Cancel:
        break;
    }
    return false;
}

void TDocument::InitDocument(int layerCount)
{
    layerCount = std::max(layerCount, 1);
    TColorArray colors;
    QImage *picture = &m_grid.Picture();
    if (!picture->isNull())
        GetUsedColorsByFrequency(*picture, m_grid.Palette(), colors);
    TMesh fresh;
    fresh.WeftRepeat = 1;
    fresh.WarpRepeat = 1;
    InitNewDocument(fresh, picture->isNull() ? nullptr : picture, m_grid.WarpDensity(), m_grid.WeftDensity(),
        layerCount, colors);
    fresh.Warps = m_grid.ColCount();
    fresh.Wefts = m_grid.RowCount();
    fresh.SampleCardFile = m_record.SampleCardFile;
    m_record = fresh;
    CreateSampleCard();
    setPieceCount(m_grid, layerCount);
    SendChildState(1);
}

void TDocument::ApplyNewDocumentParameters(const TNewPatternValues &values)
{
    SetCompartIntervals(values.ColCount, values.RowCount);
    SetPatternSize(values.Warps, values.Wefts);
    SetLineColors(values.CompartLineColor, values.GridLineColor);
    SetDensities(values.WeftDensity, values.WarpDensity);
    StartSettings().GrossOption.SpaceCount = values.SpaceCount;
    m_grid.SetZoom(12);
    setPieceCount(m_grid, std::max(values.LayerCount, 1));
    m_grid.ResetRepeatSize();
    WriteGrossOption(StartSettings().GrossOption);
}

void TDocument::GrowPickTables(bool noPick, int count)
{
    ::GrowPickTables(m_record, noPick, count);
    m_rowTablesUnchanged = false;
}

bool TDocument::PrepareDocumentRecord(TPrepareMode mode, QString *error)
{
    QImage *picture = &m_grid.Picture();
    TColorArray colors;
    if (!picture->isNull())
        GetUsedColorsByFrequency(*picture, m_grid.Palette(), colors);
    // Everything is checked before anything changes.
    TMesh sized = m_record;
    sized.Colors = colors;
    sized.Warps = picture->isNull() ? m_record.Warps : picture->width();
    sized.Wefts = picture->isNull() ? m_record.Wefts : picture->height();
    if (!CheckMeshRepeats(sized, error))
        return false;

    m_record.Colors = colors;
    m_record.Picture = picture->isNull() ? nullptr : picture;
    if (mode == TPrepareMode::ResetColorWeaves)
        return PrepareCardDocument(m_record, error);
    m_record.Warps = sized.Warps;
    m_record.Wefts = sized.Wefts;
    EnsureRowTables(m_record);
    InitTechWeaveSlots(m_record);
    const qint64 slots = qint64(m_record.Colors.length()) * m_record.WarpRepeat * m_record.WeftRepeat;
    // Colour weaves are laid out by colour: once the colours or repeats no longer fit the
    // slots, no slot means its colour any more and all take their defaults.
    if (m_record.ColorWeaves.length() != slots || !m_record.ColorWeaveNames)
        return SetDefaultColourWeaves(m_record);
    return true;
}

void TDocument::CreateSampleCard()
{
    m_sampleCard = TYangkaImage();
    // A document that names its own sample-card file (a project saved after its card was
    // designed) takes that card: the editor's most recent card may belong to another
    // pattern, and the card built from it would drive the loom wrongly.
    if (!m_record.SampleCardFile.isEmpty() && QFileInfo(m_record.SampleCardFile).isFile()
        && m_sampleCard.LoadFromFile(m_record.SampleCardFile))
        return;
    m_sampleCard = TYangkaImage();
    const QStringList recent = ReadRecentList(QLatin1String(CardFormRecentSection));
    if (!recent.isEmpty() && !m_sampleCard.LoadFromFile(recent.first()))
        m_sampleCard = TYangkaImage();
}

void TDocument::SetPatternSize(int warps, int wefts)
{
    m_grid.SetColCount(warps);
    m_grid.SetRowCount(wefts);
    SendPaletteFromChild();
    StartSettings().GrossOption.Warp = m_grid.ColCount();
    StartSettings().GrossOption.Weft = m_grid.RowCount();
}

void TDocument::SetCompartIntervals(int cols, int rows)
{
    m_grid.Grid().DefaultColCompart = cols;
    m_grid.Grid().DefaultRowCompart = rows;
    StartSettings().GrossOption.GridColCount = cols;
    StartSettings().GrossOption.GridRowCount = rows;
}

void TDocument::SetDensities(double weftDensity, double warpDensity)
{
    m_grid.SetWeftDensity(weftDensity);
    m_grid.SetWarpDensity(warpDensity);
    StartSettings().GrossOption.WeftDensity = weftDensity;
    StartSettings().GrossOption.WarpDensity = warpDensity;
}

void TDocument::SetLineColors(TColor compartLineColor, TColor gridLineColor)
{
    m_grid.SetCompartLineColor(compartLineColor);
    m_grid.SetLineColor(gridLineColor);
    StartSettings().GrossOption.CompartLineColor = compartLineColor;
    StartSettings().GrossOption.GridLineColor = gridLineColor;
}
