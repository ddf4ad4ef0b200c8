#pragma once
// TInsertWord: the floating text (插入文字), one line of text lying over the grid, not yet
// stamped.
// The text tool makes it: one line in a chosen font, size, style, character spacing and
// angle. The user moves it, stretches it by its four side handles (the top and bottom ones
// make the letters taller or shorter, the left and right ones wider or narrower by a whole
// cell a character), turns it by its rotation handle, copies it as a "CF_WORD" block and
// finally stamps it into the pattern in its colour.
//
// Everything is in pattern cells: the frame, its nine handles (0 to 7 clockwise from the
// top-left corner, even the corners and odd the side middles; 8, 10 cells right of the
// right-middle handle, turns the text), the centre, the text position (where the text's
// top-left reference point lies, the turned top-left handle) and the sizes. ScaleX and
// ScaleY are the grid's view factors (at most 1 in a reduced view): painting maps cells
// onto the view with them, stamping writes one cell a pixel.
//
// The font: its family and styles, the text height (the height of a line, ascent and
// descent together, in cells) and the character width (the average width of a character,
// in cells) decide how the text is drawn; the font's own pixel size only decides them when
// the text is measured. The text is drawn without smoothing, so a cell is either text or
// not, and stamping writes exactly the text's colour index, nothing else.
#include "core/base/document.h"
#include "core/base/geometry.h"
#include "core/picture/wordblock.h"
#include "core/undo/undorecord.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

// What a press on the text started.
enum class TWordDragMode : std::uint8_t {
    Resize = 0, // a frame handle
    Rotate = 1, // the rotation handle
    Move = 2, // the inside
    None = 3
};

class TInsertWord : public TUndoObject {
public:
    using TEvent = std::function<void(TInsertWord &)>;
    using THandleEvent = std::function<void(TInsertWord &, int)>;

    // Distance in cells from the right-middle handle to the rotation handle.
    static constexpr int RotationHandleOffset = 10;

    // No text: active, handles shown, angle 0, scales 1, no drag, the default font.
    TInsertWord();
    ~TInsertWord() override = default;
    TInsertWord(const TInsertWord &) = delete;
    TInsertWord &operator=(const TInsertWord &) = delete;

    // The family new texts start with: "宋体" when installed, else the family the font
    // configuration puts in its place.
    static QString DefaultFamily();

    // --- State --------------------------------------------------------------------------
    bool Active() const { return m_active; }
    double Angle() const { return m_angle; }
    int AverageCharWidth() const { return m_averageCharWidth; }
    QImage *PictureCanvas() const { return m_pictureCanvas; }
    QImage *WorkCanvas() const { return m_workCanvas; }
    QImage *DisplayCanvas() const { return m_displayCanvas; }
    TPoint Centre() const { return m_centre; }
    // The four corner handles turned back to the unturned position: their box.
    const TRect &CornerBox() const { return m_cornerBox; }
    int CharWidth() const { return m_charWidth; }
    const QFont &Font() const { return m_font; }
    TColor FontColor() const { return m_fontColor; }
    // The palette index stamped; -1: the index of the font colour in the picture.
    int ColorIndex() const { return m_colorIndex; }
    int TextHeight() const { return m_textHeight; }
    int CharSpacing() const { return m_charSpacing; }
    TPoint Position() const { return m_position; }
    const std::array<TPoint, 9> &HandlePoints() const { return m_handles; }
    const TRect &Frame() const { return m_frame; }
    TPoint PreviewOrigin() const { return m_previewOrigin; }
    const TRect &TextBox() const { return m_textBox; }
    // The handles turned by Angle about Centre: what the user sees and grabs.
    const std::array<TPoint, 9> &RotatedHandles() const { return m_rotated; }
    int HandleIndex() const { return m_handleIndex; }
    TWordDragMode DragMode() const { return m_dragMode; }
    TPoint GrabbedHandle() const { return m_grabbed; }
    const QString &Text() const { return m_text; }
    QSize TextExtent() const { return m_extent; }
    int TextWidth() const { return m_textWidth; }
    std::uint8_t ShowHandles() const { return m_showHandles; }
    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }
    // The font size in points the text dialog shows: the line height's em at 96 pixels an
    // inch.
    int FontPointSize() const;

    // Events; an unset one does nothing. The handle event gets the handle hit (-1 for none,
    // 8 the rotation handle) from which the owner chooses the cursor; the state event fires
    // when an active text becomes inactive; the release event is the owner's to fire.
    void SetOnHandleHit(THandleEvent e) { m_onHandleHit = std::move(e); }
    void SetOnStateChange(TEvent e) { m_onStateChange = std::move(e); }
    void SetOnRelease(TEvent e) { m_onRelease = std::move(e); }
    void FireRelease();

    // --- Setters ------------------------------------------------------------------------
    // The pattern picture stamped into (8-bit), the grid's view image drawn on (32-bit,
    // one pixel a view cell) and the grid's display.
    void SetPictureCanvas(QImage *canvas) { m_pictureCanvas = canvas; }
    void SetWorkCanvas(QImage *canvas) { m_workCanvas = canvas; }
    void SetDisplayCanvas(QImage *canvas) { m_displayCanvas = canvas; }
    // Family, pixel size and styles; the text is measured anew.
    void SetFont(const QFont &font);
    void SetFontColor(TColor color, int index);
    // Measured anew only when it changed.
    void SetText(const QString &text);
    // Kept in [0, 2 pi) by adding or taking one turn, then the turned handles follow.
    void SetAngle(double angle);
    // Cells added between characters; the text is measured anew.
    void SetCharSpacing(int spacing);
    // Moves the whole text (frame, handles, centre, text box) so that its position is p.
    void SetPosition(TPoint p);
    // The unturned frame; the handles follow.
    void SetFrame(const TRect &frame);
    // 0 hides the handle squares while a drag is under way; showing them again (0 to 1)
    // ends a resize or a turn.
    void SetShowHandles(std::uint8_t value);
    void SetScaleX(double value) { m_scaleX = value > 0 ? value : 1.0; }
    void SetScaleY(double value) { m_scaleY = value > 0 ? value : 1.0; }
    // Becoming inactive ends any drag and fires the state event.
    void SetActive(bool value);
    void SetPreviewOrigin(TPoint origin) { m_previewOrigin = origin; }

    // --- Measuring and the frame --------------------------------------------------------
    // Extent, text height, average character width and character width from the font.
    void Measure();
    // The frame of a new text: position (0, 0), text box and frame (0, 0) to the extent,
    // the centre in the frame's middle.
    void SetFirstFrame();
    // The corner box, text height, position and text box from the turned handles.
    void Rebuild();

    // --- Pointer ------------------------------------------------------------------------
    // A press at p (pattern cells): a handle closer than 2 cells, else the inside; the
    // text when it is then active, else null.
    TInsertWord *HitTest(TPoint p);
    // For the cursor over the text, changing nothing: the handle a press at p would report
    // (-1 for none), and whether p lies inside the frame.
    int HandleAt(TPoint p) const;
    bool Contains(TPoint p) const;
    // A press that started no drag (a click) is over: the next press tests the handles
    // again.
    void CancelDrag()
    {
        m_dragMode = TWordDragMode::None;
        m_handleIndex = -1;
    }
    // The pointer moved by (dx, dy) pattern cells with the button down; pointer is its
    // previous point (pattern cells), which the drag moves on: by the distance the frame
    // actually went where a stretch goes in whole characters.
    void Drag(int dx, int dy, TPoint &pointer);

    // --- Drawing and stamping -----------------------------------------------------------
    // Text, outline and handles on WorkCanvas, in view cells from PreviewOrigin.
    void Paint();
    // The text's cells in ColorIndex written into PictureCanvas. False with a message when
    // there is no picture or the text would be larger than a picture may be.
    bool Stamp(QString *error = nullptr);
    // The cells the text covers at the given scales, as an 8-bit mask (1 text, 0 not) with
    // the position of its top-left cell. False with a message when it is too large.
    bool RenderMask(
        double scaleX, double scaleY, QImage &mask, TPoint &origin, QString *error = nullptr) const;

    // --- Clipboard ----------------------------------------------------------------------
    TWordBlock ToBlock() const;
    // Takes a block's text, font, colour and frame; the colour index is then unknown (-1).
    void FromBlock(const TWordBlock &block);
    // False with a message (the clipboard untouched) when the text cannot be written.
    bool CopyToClipboard(QString *error = nullptr);
    // False with a message, nothing changed, when the clipboard holds no "CF_WORD" block
    // or the block does not read.
    bool PasteFromClipboard(QString *error = nullptr);

private:
    struct TMaskCache {
        QString Text;
        QFont Font;
        int TextHeight = 0, CharWidth = 0, Spacing = 0;
        double Angle = 0, ScaleX = 0, ScaleY = 0;
        QImage Mask;
        TPoint Offset; // the mask's top-left from the reference point
        bool Valid = false;
    };
    void calcHandles();
    void calcRotated();
    void fireHandleHit(int index);
    int handleIndexAt(TPoint p) const;
    int reportedHandle(int index) const;
    void dragResize(int dx, int dy, TPoint p, int &dxOut, int &dyOut);
    void placeSideHandle(int i, TPoint r, int dx, int dy);
    TRect rotatedCornerBounds() const;
    TRect cornersTurnedBack(TPoint centre) const;
    bool textMask(double scaleX, double scaleY, QImage &mask, TPoint &offset, QString *error) const;

    bool m_active = true;
    double m_angle = 0;
    int m_averageCharWidth = 1;
    QImage *m_pictureCanvas = nullptr;
    TPoint m_centre;
    TRect m_cornerBox;
    int m_charWidth = 1;
    QImage *m_workCanvas = nullptr;
    QFont m_font;
    TColor m_fontColor = 0;
    int m_colorIndex = -1;
    int m_textHeight = 1;
    int m_charSpacing = 0;
    TPoint m_position;
    std::array<TPoint, 9> m_handles {};
    TRect m_frame;
    TPoint m_previewOrigin;
    TRect m_textBox;
    std::array<TPoint, 9> m_rotated {};
    int m_handleIndex = -1;
    TWordDragMode m_dragMode = TWordDragMode::None;
    TPoint m_grabbed;
    QString m_text;
    QSize m_extent;
    int m_textWidth = 0;
    std::uint8_t m_showHandles = 1;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    QImage *m_displayCanvas = nullptr;
    THandleEvent m_onHandleHit;
    TEvent m_onStateChange, m_onRelease;
    mutable TMaskCache m_cache;
};

// What the text tool asks for: the text dialog's values.
struct TInsertWordValues {
    QString Family;
    int Size = 12; // points
    int Spacing = 0; // cells between characters
    int Angle = 0; // degrees, clockwise
    int X = 0, Y = 0; // pattern cells
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    QString Text; // every line typed; the first is the text
};
// Who shows the text dialog: the logic asks through it, so that it runs without widgets and
// tests answer without a modal loop.
class TInsertWordAsker {
public:
    virtual ~TInsertWordAsker() = default;
    // False when the person cancels; values are then left as they were.
    virtual bool AskInsertWord(TInsertWordValues &values) = 0;
};

// The font of the values: family, size in points and styles.
QFont InsertWordFont(const TInsertWordValues &values);
// The first line of a typed text, blanks kept.
QString InsertWordFirstLine(const QString &text);
// Degrees taken within one turn, in radians: three digits reach 999, which one turn taken
// off would still leave above a turn.
double InsertWordAngle(int degrees);
// The values that show a text: its font, size (points), spacing, angle in whole degrees,
// styles, text and position (pattern cells, as the dialog takes them).
TInsertWordValues InsertWordValuesOf(const TInsertWord &word);

// The font as drawn: family and styles of base, pixel size making a line lineHeight pixels
// high, stretched so that the average character is charWidth pixels wide, spacing pixels
// between characters, never smoothed.
QFont WordDrawFont(const QFont &base, double lineHeight, double charWidth, double spacing);
// The em pixel size at which base's lines are lineHeight pixels high (at least 1).
int WordEmForLineHeight(const QFont &base, double lineHeight);
