// The pattern grid's side of the project file: writing the document and taking in what
// a project file gave.
#include "editor/patterngridproject.h"

#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/base/messages.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

// Streamed from the picture's rows: no buffer of the whole file is made.
bool TPatternGrid::WriteProjectFile(const QString &fileName, QString *error)
{
    if (m_picture.isNull())
        return Fail(error, GetUiMessage(UiKey::String::ProjectNoPicture));
    // A file holds one repeat unit: the tiled view is never written.
    if (!SetRepeatView(false, error))
        return false;
    return WriteFileStreamed(
        fileName,
        [&](const TFileSink &sink, QString *why) {
            return WriteProjectContent(m_mesh, m_picture, m_repeatDisplayValues, sink, why);
        },
        error);
}

bool EncodeGridProject(TPatternGrid &grid, const TMesh &mesh, QByteArray &bytes, QString *error)
{
    if (grid.Picture().isNull())
        return Fail(error, GetUiMessage(UiKey::String::ProjectNoPicture));
    // A file holds one repeat unit: the tiled view is never written.
    if (!grid.SetRepeatView(false, error))
        return false;
    return EncodeProjectFile(mesh, grid.Picture(), grid.RepeatDisplayValues(), bytes, error);
}

bool WriteGridProject(TPatternGrid &grid, const TMesh &mesh, const TFileSink &sink, QString *error)
{
    if (grid.Picture().isNull())
        return Fail(error, GetUiMessage(UiKey::String::ProjectNoPicture));
    // A file holds one repeat unit: the tiled view is never written.
    if (!grid.SetRepeatView(false, error))
        return false;
    return WriteProjectContent(mesh, grid.Picture(), grid.RepeatDisplayValues(), sink, error);
}

void TPatternGrid::WriteProjectTail(QByteArray &out) const
{
    ::WriteProjectTail(out, m_repeatDisplayValues);
}

void TPatternGrid::ReadProjectTail(const std::array<std::int32_t, 4> &values)
{
    m_repeatDisplayValues = values;
    if (m_ownsPicture)
        SendPatternMergeState();
}

void TPatternGrid::TakeProjectPicture(const QImage &picture)
{
    takeLoadedPicture(picture);
}

void ApplyProjectRecord(const TProjectRecord &record, TPatternGrid &grid, TMesh &document)
{
    grid.SetWarpDensity(record.Mesh.WarpDensity);
    grid.SetWeftDensity(record.Mesh.WeftDensity);
    grid.TakeProjectPicture(record.Picture);
    grid.ReadProjectTail(record.PieceLayout);
    document = record.Mesh;
    document.Picture = &grid.Picture();
    document.LayerCount = std::max(record.PieceLayout[2], 1);
    grid.SetMesh(document);
}
