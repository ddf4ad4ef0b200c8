#pragma once
// TOvwDialog: the open dialog for weave files, with a preview of the weave under the cursor.
// The program's own (non-native) file dialog with a column beside the file list: the size
// of the weave (or "(None)" for anything that is not a readable weave file), a button that
// shows the weave larger in a window of its own, and the preview itself.

#include "core/base/document.h"

#include <QFileDialog>
#include <QImage>

class QLabel;
class QPushButton;

class TOvwDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit TOvwDialog(QWidget *parent = nullptr, const QString &folder = QString());
    // The selection moved to fileName: the preview follows.
    void SelectionChanged(const QString &fileName);
    // Shows the weave stretched in a modal window of its own.
    void ShowPreviewWindow();
    // The preview as shown (null when there is none).
    const QImage &Preview() const { return m_preview; }
    QLabel *SizeLabel() const { return m_sizeLabel; }
    QPushButton *PreviewButton() const { return m_previewButton; }

    // Asks for a weave file in this dialog, starting in folder; empty when cancelled.
    static QString GetWeaveFileName(QWidget *parent, const QString &folder);

private:
    TWeaveArray m_cells;
    QImage m_preview;
    QLabel *m_sizeLabel = nullptr;
    QPushButton *m_previewButton = nullptr;
    QLabel *m_previewBox = nullptr;
};
