#pragma once
// TFrmNavigatorPatternMerge: the multi-layer merge chooser (多造合并).
// The user picks, among the open documents, the layers that the main window's merge weaves
// side by side again, in the order chosen. The dialog only chooses and checks: OK accepts
// when at least one document is chosen and every chosen picture has the size of the first;
// otherwise it says so and stays open. A click in either list previews that document.

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPointer>

#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TMDIChild;
class TPatternGridView;

class TFrmNavigatorPatternMerge : public QDialog {
    Q_OBJECT
public:
    // documents: the open document windows in the main window's order; all start unchosen.
    explicit TFrmNavigatorPatternMerge(const QList<TMDIChild *> &documents, QWidget *parent = nullptr);
    ~TFrmNavigatorPatternMerge() override;

    // The buttons: the current item of one list to the end of the other, or all items,
    // first to last.
    void Select();
    void Delete();
    void SelectAll();
    void DeleteAll();

    // The chosen documents, in the order chosen (a document closed since is left out).
    int SelectedCount() const;
    // The picture of the n-th chosen document (from 0), in its palette; a null picture for n
    // out of range.
    QImage SelectedPicture(int n) const;
    QList<QImage> SelectedPictures() const;
    // The document the preview shows, or null.
    TMDIChild *PreviewedDocument() const { return m_previewed; }

    // Who shows the refusal of OK (text, caption): a stop message box unless replaced.
    void SetMessageHandler(std::function<void(const QString &, const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }

    void accept() override;
    void done(int result) override;

private:
    void applyTexts();
    void moveItem(QListWidget *from, QListWidget *to, int row);
    void moveAll(QListWidget *from, QListWidget *to);
    void preview(QListWidgetItem *item);
    void updateCount();
    TMDIChild *documentOf(const QListWidgetItem *item) const;
    QList<TMDIChild *> chosen() const;

    std::vector<QPointer<TMDIChild>> m_documents; // item data is an index into it
    QListWidget *m_from = nullptr;
    QListWidget *m_selected = nullptr;
    QLabel *m_fromLabel = nullptr, *m_selectedLabel = nullptr, *m_count = nullptr;
    QPushButton *m_select = nullptr, *m_delete = nullptr, *m_selectAll = nullptr, *m_deleteAll = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
    TPatternGridView *m_preview = nullptr;
    QPointer<TMDIChild> m_previewed;
    QMetaObject::Connection m_previewGone;
    std::function<void(const QString &, const QString &)> m_showMessage;
};
