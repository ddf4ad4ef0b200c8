#pragma once
// TBmp: the floating picture (a piece of pattern lying over the grid, not yet stamped).
// A piece of pattern that was copied, cut or pasted floats over the pattern grid: the user
// moves it, turns it by its rotation handle or a fixed angle, stretches it by its eight
// frame handles, flips it, makes colours of it transparent and finally stamps it into the
// pattern. It is also what travels through the clipboard as a "CF_BMP" block.
//
// It keeps the untransformed picture (Companion) with a shape mask (cells 1 where the piece
// is opaque; null when every cell is), and renders from them, anew for every change, the
// shown picture: stretched to the frame, turned by Angle and reduced by the grid's view
// scales, with a mask that also leaves out the corners a turn uncovers. Colours in
// TransparentColors are never drawn or stamped; the key index (a palette entry no cell of
// the piece uses) fills what is not part of the piece.
//
// Frame, handles, Position and Centre are in pattern cells; the shown picture is in view
// cells (pattern cells times HorzScale and VertScale, which are at most 1). Handles 0 to 7
// run clockwise round the frame from its top-left corner (even: corners, odd: edge
// middles); handle 8, 20 cells right of the middle of the right edge, turns the piece.
//
// Every operation that renders fails, changing nothing, when the result would exceed
// MaxPictureSide cells a side or the picture memory budget.
#include "core/base/document.h"
#include "core/base/geometry.h"
#include "core/palette/palette.h"
#include "core/picture/floatingblock.h"
#include "core/undo/undorecord.h"

#include <QImage>
#include <QRegion>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

// What a press on the piece started.
enum class TFloatDragMode : std::uint8_t {
    Resize = 0, // a frame handle
    Rotate = 1, // the rotation handle
    Move = 2, // the inside
    None = 3
};

class TBmp : public TUndoObject {
public:
    using TEvent = std::function<void(TBmp &)>;
    using THandleEvent = std::function<void(TBmp &, int)>;

    // An empty piece: active, frame shown, angle 0, scales 1, no drag.
    TBmp();
    ~TBmp() override = default;
    TBmp(const TBmp &) = delete;
    TBmp &operator=(const TBmp &) = delete;

    // --- State --------------------------------------------------------------------------
    // The shown picture and its mask (null: every cell opaque).
    const QImage &Image() const { return m_image; }
    const QImage &ImageMask() const { return m_imageMask; }
    const QImage &Companion() const { return m_companion; }
    const QImage &CompanionMask() const { return m_companionMask; }
    bool Active() const { return m_active; }
    double Angle() const { return m_angle; }
    bool ShowFrame() const { return m_showFrame; }
    TPoint Centre() const { return m_centre; }
    TPoint Position() const { return m_position; }
    int KeyIndex() const { return m_keyIndex; }
    TColor KeyColor() const { return m_keyColor; }
    // The unturned frame and the box of the turned one (Right and Bottom inclusive).
    const TRect &SelRect() const { return m_selRect; }
    const TRect &Bounds() const { return m_bounds; }
    TPoint ViewportOrigin() const { return m_viewportOrigin; }
    const std::array<TPoint, 9> &HandlePoints() const { return m_handlePoints; }
    // The handles turned by Angle about Centre: what the user sees and grabs.
    const std::array<TPoint, 9> &FramePoints() const { return m_framePoints; }
    const TPalette256 &Palette() const { return m_palette; }
    // The cells of the piece's box outside the selection's shape (box at (0, 0)).
    const QRegion &Region() const { return m_region; }
    int HandleIndex() const { return m_handleIndex; }
    TFloatDragMode DragMode() const { return m_dragMode; }
    TPoint DragStart() const { return m_dragStart; }
    TColor ClipKeyColor() const { return m_clipKeyColor; }
    const TColorSet &TransparentColors() const { return m_transparentColors; }
    const TColorSet &KeptColors() const { return m_keptColors; }
    const TColorArray &KeptColorValues() const { return m_keptColorValues; }
    double HorzScale() const { return m_horzScale; }
    double VertScale() const { return m_vertScale; }
    bool ColorFilter() const { return m_colorFilter; }
    void SetColorFilter(bool value) { m_colorFilter = value; }

    // The pattern picture stamped into, and the grid's view image drawn on (32-bit).
    QImage *PictureCanvas() const { return m_pictureCanvas; }
    void SetPictureCanvas(QImage *canvas) { m_pictureCanvas = canvas; }
    QImage *FrameCanvas() const { return m_frameCanvas; }
    void SetFrameCanvas(QImage *canvas) { m_frameCanvas = canvas; }

    // Events; an unset one does nothing. OnHandleChange gets the handle under the pointer
    // (-1 for none) from which the owner chooses the cursor.
    void SetOnActivate(TEvent e) { m_onActivate = std::move(e); }
    void SetOnDeactivate(TEvent e) { m_onDeactivate = std::move(e); }
    void SetOnHandleChange(THandleEvent e) { m_onHandleChange = std::move(e); }

    // --- Taking a picture ---------------------------------------------------------------
    // Companion and shown picture := Source (made 8-bit when it is not), unshaped; frame
    // and bounds its size at (0, 0), centre in its middle. False (nothing changed) for an
    // empty picture.
    bool Assign(const QImage &source, QString *error = nullptr);
    bool LoadFromFile(const QString &fileName, QString *error = nullptr);
    // Companion := the "CF_256Bitmap" clipboard picture, bounds its size, rendered anew and
    // keyed. False (nothing changed) when the clipboard holds none that reads.
    bool ResetBounds(QString *error = nullptr);

    // --- Frame --------------------------------------------------------------------------
    void CalcHandlePoints();
    // Stores the angle (one turn added to a negative one, or taken from one of a turn or
    // more), then the handles and frame points. Renders nothing.
    void SetAngle(double angle);
    void SetBounds(const TRect &r);
    // Moves frame and centre so that the frame's top-left is topLeft.
    void UpdateFrame(TPoint topLeft);

    // --- Scales and rendering -----------------------------------------------------------
    // Either scale renders the shown picture anew when it changes.
    bool SetHorzScale(double value, QString *error = nullptr);
    bool SetVertScale(double value, QString *error = nullptr);
    bool UpdateTransformedImage(QString *error = nullptr);

    // --- Pointer ------------------------------------------------------------------------
    // The first handle strictly closer than 2 cells to p; with setMode it is grabbed.
    bool HitTestHandle(TPoint p, bool setMode);
    // A press at p: a handle, else the inside grabs the piece (and activates it when p is
    // on the pattern); this object when it is then active, else null.
    TBmp *SelectAt(TPoint p);
    // The piece grabbed by its inside whatever lies under the pointer (a selection dragged
    // on as the piece it became), and activated.
    void GrabInside();
    // The pointer moved by (dx, dy) to p with the button down.
    void DragHandleTo(int dx, int dy, TPoint p);
    // The end of a drag (and of the turn and flip commands): a resize takes the frame from
    // the dragged handles; the bounds follow the frame. A move keeps the rendered picture.
    // False (frame, angle and picture as before the drag) when the result is too large.
    bool ApplyDrag(QString *error = nullptr);
    // Showing the frame again ends a drag (ApplyDrag).
    void SetShowFrame(bool value);
    void SetActive(bool value);

    // --- Drawing and stamping -----------------------------------------------------------
    void SetViewMapping(int x, int y);
    // Draws the opaque cells of the shown picture that fall on FrameCanvas (only those: the
    // cost is the view's, not the piece's), then, when active, the frame and its handles.
    void DrawWithFrame();
    // Writes the piece's opaque cells 1:1 into PictureCanvas at Position, each as the
    // index of its colour there (the same index when the palettes are equal, else the
    // nearest colour). Cells off the picture and transparent cells are not touched.
    bool StampOntoPicture(QString *error = nullptr);

    // --- Shape and colours --------------------------------------------------------------
    // Rgn is the selection the piece was taken from (pattern cells): the box's cells
    // outside it become transparent and take the key index.
    bool UpdateRegion(const QRegion &rgn, QString *error = nullptr);
    // KeyIndex := a palette entry no cell of the companion uses, with a colour no used
    // entry has (-1 when all 256 are used).
    void UpdateColorKey();
    void ApplyTransparentColors();
    void SetTransparentColors(const TColorSet &colors);
    void AddTransparentColor(std::uint8_t index);
    // The key index is never removed.
    void RemoveTransparentColor(std::uint8_t index);
    void IncludeKeptColor(std::uint8_t index);
    // Every used colour that is not kept becomes transparent.
    void UpdateTransparentFromUsage();
    // After the shown picture's colour table changed: the companion takes the new palette
    // (each cell the nearest colour), the picture is rendered anew and, with the colour
    // filter, the kept colours become the entries nearest to their colour values.
    bool UpdateKeptColorSet(QString *error = nullptr);
    // Gives the shown picture palette as its colour table and runs UpdateKeptColorSet.
    bool MapToPalette(const TPalette256 &palette, QString *error = nullptr);

    // --- Flips and turns of the piece ---------------------------------------------------
    // The companion flipped across its full width or height, rendered anew.
    bool FlipHorizontal(QString *error = nullptr);
    bool FlipVertical(QString *error = nullptr);
    // SetAngle(Angle + delta) and ApplyDrag; nothing changes when that fails.
    bool TurnBy(double delta, QString *error = nullptr);

    // --- Clipboard ----------------------------------------------------------------------
    // The block and the shape entry (empty for an unshaped piece); the kept lists are
    // rebuilt from KeptColors first.
    void WriteBlock(QByteArray &block, QByteArray &shape);
    // Takes a block (and its shape entry, or null); the owner calls RebuildAll next.
    bool ReadBlock(const QByteArray &block, const QByteArray *shape, QString *error = nullptr);
    // Frame, bounds, key and shown picture made anew from what ReadBlock took.
    bool RebuildAll(QString *error = nullptr);
    // False without a GUI application.
    bool CopyToClipboard();
    // False with a message when the clipboard holds no "CF_BMP" block or it does not read.
    bool PasteFromClipboard(QString *error = nullptr);

private:
    // What a failed render or drag puts back.
    struct TFrameState {
        double Angle = 0;
        TPoint Centre, Position;
        TRect SelRect, Bounds;
        std::array<TPoint, 9> HandlePoints {}, FramePoints {};
    };
    TFrameState frameState() const;
    void restoreFrame(const TFrameState &s);
    void fireHandleChange(int index);
    TRect turnedBounds() const;
    void dragResize(int dx, int dy, TPoint p);
    bool renderScaled(double horz, double vert, QImage &image, QImage &mask, QString *error) const;
    bool opaqueLookup(std::array<bool, 256> &opaque) const;
    void deriveShapeFromKey();

    QImage m_image, m_imageMask;
    QImage m_companion, m_companionMask;
    bool m_active = true;
    double m_angle = 0;
    bool m_showFrame = true;
    TPoint m_centre, m_position;
    QImage *m_pictureCanvas = nullptr;
    QImage *m_frameCanvas = nullptr;
    int m_keyIndex = -1;
    TColor m_keyColor = 0;
    TRect m_selRect, m_bounds;
    TPoint m_viewportOrigin;
    std::array<TPoint, 9> m_handlePoints {};
    TPalette256 m_palette {};
    QRegion m_region;
    std::array<TPoint, 9> m_framePoints {};
    int m_handleIndex = -1;
    TFloatDragMode m_dragMode = TFloatDragMode::None;
    TPoint m_dragStart;
    TColor m_clipKeyColor = 0;
    TColorSet m_transparentColors;
    TColorSet m_keptColors;
    TColorArray m_keptColorValues;
    double m_horzScale = 1.0;
    double m_vertScale = 1.0;
    bool m_colorFilter = false;
    TFrameState m_dragOrigin; // the frame when the piece was grabbed
    bool m_hasDragOrigin = false;
    TEvent m_onActivate, m_onDeactivate;
    THandleEvent m_onHandleChange;
};

// The shown picture of a piece: Companion (with its mask, null for all opaque) stretched to
// frameWidth x frameHeight, turned clockwise by angle as RotatePictureByAngle turns it (the
// uncovered corners masked out and given backIndex), then reduced to Trunc(size x scale)
// (at least 1). False with a message (nothing changed) when a step would exceed the
// picture limits. mask comes back null when every cell is opaque.
bool RenderFloatingPicture(const QImage &companion, const QImage &companionMask, int frameWidth,
    int frameHeight, double angle, std::uint8_t backIndex, double horzScale, double vertScale, QImage &image,
    QImage &mask, QString *error = nullptr);
