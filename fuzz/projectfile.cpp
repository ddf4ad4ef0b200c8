// Any bytes given to the pattern project reader (every layout) end in a project record or
// a clear error, never in a crash; a record that was read writes back and reads again to
// the same document, and a preview
// that reads finds a picture of the same size.
#include "card/projectfile.h"
#include "card/fmt_pictures.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TProjectRecord record;
    QString error;
    if (!ReadProjectBytes(bytes, {}, record, &error)) {
        if (error.isEmpty() || record.Version != -1 || !record.Picture.isNull())
            std::abort();
        return 0;
    }
    const TMesh &m = record.Mesh;
    if (record.Picture.format() != QImage::Format_Indexed8 || record.Picture.colorCount() != 256
        || m.Warps != record.Picture.width() || m.Wefts != record.Picture.height() || m.WeftRepeat < 1
        || m.WarpRepeat < 1 || !m.ColorWeaveNames || !m.TechWeaveNames
        || m.ColorWeaveNames->size() != m.ColorWeaves.length()
        || m.TechWeaveNames->size() < m.TechWeaves.length())
        std::abort();
    for (const TWeaveArray *t : { &m.PickRows, &m.RegulatorRows, &m.WeftDensRows })
        for (const auto &row : *t)
            if (row.length() != m.Wefts)
                std::abort();
    QImage preview;
    if (ReadProjectPreview(bytes, preview) && preview.size() != record.Picture.size())
        std::abort();

    QByteArray written;
    if (!EncodeProjectFile(m, record.Picture, record.PieceLayout, written, &error)) {
        // Only a name that the file cannot hold (a sample-card name with a line break or
        // a character GBK lacks) is refused.
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    TProjectRecord again;
    if (!ReadProjectBytes(written, {}, again, &error) || again.Version != 2 || again.Picture != record.Picture
        || !(again.Mesh.Colors == m.Colors) || again.Mesh.ColorWeaves.length() != m.ColorWeaves.length()
        || again.Mesh.TechWeaves.length() != m.TechWeaves.length() || !(again.Mesh.PickRows == m.PickRows)
        || !(again.Mesh.WeftDensRows == m.WeftDensRows))
        std::abort();
    return 0;
}
