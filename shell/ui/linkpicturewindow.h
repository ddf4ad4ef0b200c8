#pragma once
// TFrmLeftRightLinkPic, TFrmTopBottomLinkPic: two scans of one design linked by hand
// (左右拼接, 上下拼接).
// One window with a direction: the first picture (left or top) sits against the seam side
// of its pane, the second against the other; the bar across the seam moves each picture
// towards or away from the seam, the bar along it moves it along the seam on screen only.
// The first picture's bar across the seam is how much of it the seam cuts off (0 to its
// size - 1). Start asks how the two palettes become one, joins the pictures and ends
// with OK; the caller takes the result and its palette.

#include "core/palette/palette.h"
#include "editor/palettechoice.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>

class QAction;
class QScrollBar;
class QToolBar;
class TDocumentQuestions;

// A pane that shows one picture at an offset, clipped to the pane.
class TLinkPicturePane : public QWidget {
    Q_OBJECT
public:
    explicit TLinkPicturePane(QWidget *parent = nullptr);
    void SetPicture(const QImage &picture);
    void SetOffset(QPoint offset);
    QPoint Offset() const { return m_offset; }
    bool HasPicture() const { return !m_shown.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_shown;
    QPoint m_offset;
};

class TFrmManualLinkPic : public QDialog {
    Q_OBJECT
public:
    // direction: 1 left-right, 0 top-bottom.
    TFrmManualLinkPic(int direction, TDocumentQuestions &questions, QWidget *parent = nullptr);
    int Direction() const { return m_direction; }

    // Loads a picture file into side 0 (left or top) or 1 (right or bottom). A file that
    // does not load is reported and leaves that side as it was.
    bool OpenPicture(int side, const QString &fileName);
    const QImage &Picture(int side) const { return m_pictures.at(std::size_t(side)); }
    // The bars back where opening put them.
    void Reposition();
    // Nothing without both pictures; otherwise the palette question, the join and OK.
    bool StartLink();

    // The bar across the seam (true) or along it of a side.
    QScrollBar *Bar(int side, bool across) const;
    TLinkPicturePane *Pane(int side) const { return m_panes.at(std::size_t(side)); }
    QImage Result() const { return m_result; }
    // The result's 256 colours.
    TPalette256 GetPalette() const;

    // Who picks the file of a side (tests); empty: the open-picture dialog at the picture
    // folder.
    void SetFileChooser(std::function<QString(int side)> choose) { m_choose = std::move(choose); }
    // Who answers the palette question (tests); null: the palette choice dialog.
    void SetPaletteAsker(TPaletteChoiceAsker *ask) { m_askPalette = ask; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void open(int side);
    void placePictures();
    QAction *newAction(const char *name, const QString &text, const char *icon);

    int m_direction;
    TDocumentQuestions &m_questions;
    std::array<QImage, 2> m_pictures;
    std::array<TLinkPicturePane *, 2> m_panes {};
    std::array<QScrollBar *, 2> m_across {}, m_along {};
    QImage m_result;
    std::function<QString(int)> m_choose;
    TPaletteChoiceAsker *m_askPalette = nullptr;
};

class TFrmLeftRightLinkPic : public TFrmManualLinkPic {
    Q_OBJECT
public:
    explicit TFrmLeftRightLinkPic(TDocumentQuestions &questions, QWidget *parent = nullptr)
        : TFrmManualLinkPic(1, questions, parent)
    {
    }
};

class TFrmTopBottomLinkPic : public TFrmManualLinkPic {
    Q_OBJECT
public:
    explicit TFrmTopBottomLinkPic(TDocumentQuestions &questions, QWidget *parent = nullptr)
        : TFrmManualLinkPic(0, questions, parent)
    {
    }
};

// The open-picture dialog at the picture folder; the chosen file or an empty text.
QString ChooseLinkPictureFile(QWidget *parent);

// The width a link window's bar needs to show every command, none behind its overflow button.
int WholeBarWidth(const QToolBar *bar);
