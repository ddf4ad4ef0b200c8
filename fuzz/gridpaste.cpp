// Any clipboard content offered to a pattern grid's paste ends in a floating piece over an
// unchanged picture, or in a refusal that changed nothing. The first byte chooses the
// formats the rest travels as: 0 a floating block, 1 a 256-colour picture, 2 both, 3 a
// floating block with the second half as its shape entry.
#include "core/picture/clipboardpicture.h"
#include "core/picture/floatingblock.h"
#include "core/settings/sharedstate.h"
#include "editor/gridclipboard.h"
#include "editor/patterngrid.h"

#include <QMimeData>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {
struct TBytesClipboard : TGridClipboard {
    std::unique_ptr<QMimeData> Data;
    const QMimeData *MimeData() const override { return Data.get(); }
    void SetMimeData(QMimeData *data) override { Data.reset(data); }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int mode = data[0] & 3;
    QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    auto *mime = new QMimeData;
    if (mode == 0 || mode == 2)
        mime->setData(ClipboardMimeType(CF_BMP), rest);
    if (mode == 1 || mode == 2)
        mime->setData(ClipboardMimeType(CF_256Bitmap), rest);
    if (mode == 3) {
        const qsizetype half = rest.size() / 2;
        mime->setData(ClipboardMimeType(CF_BMP), rest.left(half));
        mime->setData(ClipboardMimeType(CF_BMP_Shape), rest.mid(half));
    }
    TBytesClipboard clipboard;
    clipboard.SetMimeData(mime);

    TPatternGrid grid;
    grid.SetClipboard(&clipboard);
    grid.SetClientSize(64, 64);
    QImage picture(16, 12, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table << qRgb(i, 255 - i, i / 2);
    picture.setColorTable(table);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            picture.scanLine(y)[x] = std::uint8_t(x + y);
    grid.SetPicture(picture);
    grid.ReadPaletteFromPicture();
    grid.RebuildDisplayBitmap();
    const QImage before = grid.Picture().copy();
    QString error;
    const bool pasted = grid.PasteFromClipboard({ 3, 2 }, true, &error);
    if (pasted != grid.HasFloatingBitmap() || (!pasted && error.isEmpty()))
        std::abort();
    // The same grid's block asks nothing and joins nothing: the picture is as it was.
    if (grid.Picture() != before && !pasted)
        std::abort();
    if (pasted) {
        QImage view;
        grid.Paint(view);
        grid.MoveFloatingObject(1, 1);
        grid.DropFloatingObjects();
        if (grid.Picture().size() != before.size() || grid.HasFloatingBitmap())
            std::abort();
    }
    return 0;
}
