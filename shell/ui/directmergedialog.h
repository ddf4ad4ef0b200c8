#pragma once
// TFrmDirectMerge: pictures joined side by side or one under another (图象合并).
// The status bar shows the first file's size ("基准图片大小：") and the size of the file
// added or clicked last ("选中图片大小："). OK loads the listed files again and joins them
// in list order; pictures lower (narrower) than the largest are padded with black below
// (right). Fewer than two files, a file that no longer loads or a result too large is
// reported and the dialog stays open.

#include "shell/ui/picturelistdialog.h"

class QRadioButton;
class QStatusBar;

class TFrmDirectMerge : public TPictureListDialog {
    Q_OBJECT
public:
    explicit TFrmDirectMerge(TDocumentQuestions &questions, QWidget *parent = nullptr);
    // The joined 8-bit picture after OK.
    QImage Result() const { return m_result; }
    QSize BaseSize() const { return m_baseSize; }
    QSize LargestSize() const { return m_largest; }
    void accept() override;

protected:
    bool takeFile(const QString &path) override;
    void removedAt(int) override { }
    void clickedAt(int row) override;

private:
    void showSelected(const QImage &picture);

    QRadioButton *m_horizontal = nullptr, *m_vertical = nullptr;
    QLabel *m_basePanel = nullptr, *m_selectedPanel = nullptr;
    QSize m_baseSize, m_largest;
    QImage m_result;
};
