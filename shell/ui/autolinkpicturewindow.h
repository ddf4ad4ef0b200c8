#pragma once
// TFrmAutoLeftRightLinkPic, TFrmAutoTopBottomLinkPic: two scans of one design linked along
// guide lines (左右自动拼接, 上下自动拼接).
// One window with a direction: both pictures are shown in their link arrangement; on each
// the user draws a straight line along the same feature of the design (Space or Enter takes
// it, Delete drops it). With both lines the second picture is turned until its line runs as
// the first's does and the pictures are joined where the lines meet; the window ends with
// OK only with a result.

#include "core/palette/palette.h"
#include "editor/picturejoin.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>

class QAction;
class QScrollArea;
class TDocumentQuestions;

// The arrangement of both pictures with the guide lines over it, one pixel per cell.
class TLinkMergeView : public QWidget {
    Q_OBJECT
public:
    TLinkMergeView(TGuideLines &lines, QWidget *parent = nullptr);
    void SetArrangement(const QImage &arrangement);

Q_SIGNALS:
    void LinesChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TGuideLines &m_lines;
    QImage m_shown;
};

class TFrmGuidedLinkPic : public QDialog {
    Q_OBJECT
public:
    // direction: 1 left-right, 0 top-bottom.
    TFrmGuidedLinkPic(int direction, TDocumentQuestions &questions, QWidget *parent = nullptr);
    int Direction() const { return m_direction; }

    // Loads a picture file into side 0 (left or top) or 1 (right or bottom); with both the
    // arrangement is made and every line cleared. A file that does not load is reported
    // and leaves that side as it was.
    bool OpenPicture(int side, const QString &fileName);
    const QImage &Picture(int side) const { return m_pictures.at(std::size_t(side)); }
    // The arrangement shown (8-bit, one palette), and the places of the two pictures in it.
    const QImage &Arrangement() const { return m_arrangement; }
    TRect PictureRect(int side) const { return side == 0 ? m_rectA : m_rectB; }

    // Space or Enter: the line being drawn is taken, or refused with a message.
    TGuideLines::TAccept AcceptLine();
    void DropLine();
    bool ReDefine();
    // The join; false, with a message and the window open, when it gives no picture.
    bool StartMerge();

    TGuideLines &Lines() { return m_lines; }
    TLinkMergeView *View() const { return m_view; }
    QImage Result() const { return m_result; }
    TPalette256 GetPalette() const;
    void SetFileChooser(std::function<QString(int side)> choose) { m_choose = std::move(choose); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void open(int side);
    void updateActions();
    QAction *newAction(const char *name, const QString &text, const char *icon);

    int m_direction;
    TDocumentQuestions &m_questions;
    std::array<QImage, 2> m_pictures;
    QImage m_arrangement;
    TRect m_rectA, m_rectB;
    TGuideLines m_lines;
    TLinkMergeView *m_view = nullptr;
    QScrollArea *m_scroll = nullptr;
    QAction *m_reDefine = nullptr, *m_startMerge = nullptr;
    QImage m_result;
    std::function<QString(int)> m_choose;
};

class TFrmAutoLeftRightLinkPic : public TFrmGuidedLinkPic {
    Q_OBJECT
public:
    explicit TFrmAutoLeftRightLinkPic(TDocumentQuestions &questions, QWidget *parent = nullptr)
        : TFrmGuidedLinkPic(1, questions, parent)
    {
    }
};

class TFrmAutoTopBottomLinkPic : public TFrmGuidedLinkPic {
    Q_OBJECT
public:
    explicit TFrmAutoTopBottomLinkPic(TDocumentQuestions &questions, QWidget *parent = nullptr)
        : TFrmGuidedLinkPic(0, questions, parent)
    {
    }
};
