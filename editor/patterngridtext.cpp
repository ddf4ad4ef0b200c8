// The floating text on the pattern grid: the text tool's dialog making or changing it, its
// stamp into the picture, its turns with the whole-picture commands, and its drawing.
#include "editor/patterngrid.h"

#include "core/base/cursors.h"
#include "editor/insertword.h"

#include <algorithm>

void TPatternGrid::InsertWordAt(const TCellEvent &e)
{
    checkFloatingObjects();
    // A press on the floating text opens the dialog on it; elsewhere on the pressed cell.
    TInsertWord *hit = nullptr;
    if (m_floatingText && !m_floatingHidden && m_floatingText->HitTest(e.Cell))
        hit = m_floatingText;
    TInsertWordValues values;
    if (hit) {
        values = InsertWordValuesOf(*hit);
        hit->CancelDrag();
    } else {
        values.X = e.Cell.X;
        values.Y = e.Cell.Y;
    }
    const bool ok = m_insertWordAsker && m_insertWordAsker->AskInsertWord(values);
    m_pressEnded = m_insertWordAsker != nullptr;
    // The dialog may have run the event loop: the text may be gone meanwhile.
    checkFloatingObjects();
    if (hit && hit != m_floatingText)
        hit = nullptr;
    const QString line = InsertWordFirstLine(values.Text);
    if (ok && !line.trimmed().isEmpty()) {
        std::unique_ptr<TInsertWord> made;
        TInsertWord *text = hit;
        if (!text) {
            made = std::make_unique<TInsertWord>();
            text = made.get();
        }
        ClearRegion();
        const QFont font = InsertWordFont(values);
        // A changed text, font or spacing is measured anew and takes a new frame: the old
        // one was made for other letters.
        const QFont &now = text->Font();
        const bool fresh = !hit || line != text->Text() || font.family() != now.family()
            || text->FontPointSize() != values.Size || font.bold() != now.bold()
            || font.italic() != now.italic() || font.underline() != now.underline()
            || font.strikeOut() != now.strikeOut() || values.Spacing != text->CharSpacing();
        text->SetFontColor(GetForeColor(), m_foreIndex);
        text->SetPictureCanvas(&m_picture);
        text->SetWorkCanvas(&m_viewBitmap);
        if (fresh) {
            text->SetFont(font);
            text->SetText(line);
            text->SetCharSpacing(values.Spacing);
            text->SetFirstFrame();
        }
        text->SetPosition({ values.X, values.Y });
        text->SetScaleX(m_scaleX);
        text->SetScaleY(m_scaleY);
        text->SetAngle(InsertWordAngle(values.Angle));
        text->Rebuild();
        if (made)
            AttachFloatingText(std::move(made));
        NotifyEditState();
        Repaint();
    }
    // The move tool follows, as if released where the text tool was pressed: the dialog
    // took the real release.
    SetDrawTool(TToolId::Move);
    TCellEvent up = e;
    up.Button = TMouseButton::Left;
    MouseUp(up);
}

bool TPatternGrid::stampFloatingText(bool record)
{
    TInsertWord *text = m_floatingText;
    if (!text || m_floatingHidden || m_picture.isNull())
        return false;
    if (text->ShowHandles() == 0)
        text->SetShowHandles(1); // a drag still under way ends where it is
    text->SetPictureCanvas(&m_picture);
    if (!text->Stamp())
        return false;
    if (!record)
        return true;
    recordStampedBox(text->TextBox());
    return true;
}

bool TPatternGrid::turnFloatingText(double delta)
{
    checkFloatingObjects();
    if (!m_floatingText)
        return false;
    m_floatingText->SetAngle(m_floatingText->Angle() + delta);
    m_floatingText->Rebuild();
    Repaint();
    return true;
}

void TPatternGrid::paintFloatingText() const
{
    if (!m_floatingText || m_floatingHidden || m_pictureSource)
        return;
    m_floatingText->SetWorkCanvas(&m_viewBitmap);
    m_floatingText->SetPreviewOrigin({ -LeftCol(), -TopRow() });
    m_floatingText->SetScaleX(m_scaleX);
    m_floatingText->SetScaleY(m_scaleY);
    m_floatingText->Paint();
}
