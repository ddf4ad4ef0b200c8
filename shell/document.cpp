#include "shell/document.h"

#include "card/cardbuild.h"
#include "card/rowtables.h"
#include "core/base/error.h"
#include "core/base/messages.h"
#include "core/palette/palette.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/projectcard.h"
#include "shell/savetypes.h"

#include <QDir>
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
    const QFileInfo current(m_caption);
    // The file the document is, when its type holds the whole document (bitmap or
    // project): Save writes it again as that type, Save As starts from it.
    TSaveFileType type = TSaveFileType::Bitmap;
    const bool ownType
        = current.isAbsolute() && SaveTypeOfFileName(m_caption, type) && SaveTypeKeepsDocument(type);
    if (!ownType)
        type = TSaveFileType::Bitmap;
    QString fileName;
    if (command == TSaveCommand::Save && ownType && current.isFile()) {
        fileName = m_caption;
    } else {
        QString chosen;
        const QString folder = current.isAbsolute() && current.absoluteDir().exists() ? current.absolutePath()
                                                                                      : Folders().PictureDir;
        const QString proposed = withoutExtension(current.fileName());
        if (!questions.ChooseSaveFile(folder, proposed, type, chosen) || chosen.isEmpty())
            return false;
        fileName = SaveTypeFileName(chosen, type);
    }

    QStringList warnings;
    QString error;
    bool saved = false;
    if (type == TSaveFileType::Project) {
        saved = SaveProjectDocument(*this, fileName, &warnings, &error);
    } else {
        // The grid writes its own copy of the record.
        m_grid.SetMesh(m_record);
        saved = m_grid.SaveToFile(fileName, &warnings, &error);
    }
    if (!saved) {
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

int TDocument::FollowPatternHeight(int firstOldRow)
{
    const QImage &picture = m_grid.Picture();
    if (picture.isNull() || m_record.PickRows.isEmpty())
        return 0;
    m_record.Warps = picture.width();
    m_record.Wefts = picture.height();
    return FitRowTablesToHeight(m_record, firstOldRow);
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
    const qint64 perRow = qint64(m_record.Colors.length()) * m_record.WarpRepeat;
    const qint64 slots = perRow * m_record.WeftRepeat;
    const qint64 have = m_record.ColorWeaves.length();
    // Colour weaves are laid out by colour, one row of C x R slots per layer: once the
    // colours or repeats no longer fit the slots, no slot means its colour any more and all
    // take their defaults. Rows beyond the weft entries (more layers assigned) are kept.
    const bool fits = perRow == 0 ? have == 0 : have >= slots && have % perRow == 0;
    if (!fits || !m_record.ColorWeaveNames)
        return SetDefaultColourWeaves(m_record);
    while (m_record.ColorWeaveNames->size() < have)
        m_record.ColorWeaveNames->append(QString());
    return true;
}

bool TDocument::CreateSampleCard(QString *error)
{
    m_sampleCard = TYangkaImage();
    // A document that names its own sample-card file (a project saved with its card) takes
    // that card or none: the editor's most recent card may belong to another pattern, and
    // the card built from it would drive the loom wrongly.
    const QString named = m_record.SampleCardFile;
    if (!named.isEmpty()) {
        QString why;
        if (m_sampleCard.LoadFromFile(named, &why))
            return true;
        m_sampleCard = TYangkaImage();
        return Fail(error, GetUiMessage(UiKey::String::ProjectCardUnreadable).arg(named, why));
    }
    const QStringList recent = ReadRecentList(QLatin1String(CardFormRecentSection));
    if (!recent.isEmpty() && !m_sampleCard.LoadFromFile(recent.first()))
        m_sampleCard = TYangkaImage();
    return true;
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
