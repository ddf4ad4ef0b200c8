#pragma once
// TFrmWenBan: the card viewer (纹板显示).
// The card viewer: shows a card handed over by the main window or read from a card file,
// scrolls through its cards, shows the needle under the pointer, saves the card in another
// format and opens the splitter. Only the visible cards are painted, in both display
// modes: the electronic card (one pixel per needle and card, scaled by the zoom) and the
// cards on the sample-card layout, one below the other with their numbers.
//
// A card counts as saved when it was read from a file or written by Save As; a handed-over
// card ("Untitled*") is unsaved, and loading another file or closing first asks whether to
// save it. Every question and message goes through the replaceable functions below, so
// tests answer without a modal loop.

#include "card/cardfile.h"
#include "card/samplecard.h"

#include <QDialog>

#include <functional>

class QAction;
class QGridLayout;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollBar;
class TCardViewCanvas;
class TNumricEdit;

enum class TCardSaveAnswer { Yes, No, Cancel };

class TFrmWenBan : public QDialog {
    Q_OBJECT
public:
    explicit TFrmWenBan(QWidget *owner = nullptr);
    ~TFrmWenBan() override;

    // --- What the viewer asks (message boxes and file dialogs unless replaced) ---------
    std::function<TCardSaveAnswer(const QString &text, const QString &caption)> AskSave;
    // kind: 0 information, 1 warning, 2 error.
    std::function<void(const QString &text, const QString &caption, int kind)> ShowMessage;
    // The save dialog: false when cancelled; else the file and the chosen filter (from 1).
    std::function<bool(QString &fileName, int &filterIndex)> ChooseSaveFile;
    // The open dialog: an empty name when cancelled.
    std::function<QString()> ChooseOpenFile;

    // --- The card ------------------------------------------------------------------
    // A card just built: the display mode, the card (shared) and the sample card of the
    // document; named "Untitled*" and unsaved.
    void LoadCard(const TMultiByteArray &card, bool showElectronic, const TYangkaImage &sampleCard);
    // Reads a card file; a file without cards, or one that does not read, is reported and
    // leaves the viewer as it was. Asks first about an unsaved card (Cancel: false).
    bool LoadCardFile(const QString &fileName);
    // Writes the card as WriteCardFile does, the sample-card data from the viewer's own
    // sample card (or the file's counts); on success the card takes that name and counts
    // as saved. A failed write is reported and changes nothing.
    bool SaveCardFile(const QString &fileName, int filterIndex);

    // The actions.
    bool ActLoad(); // asks for a file, then LoadCardFile
    bool ActSave(); // a saved card: nothing to do; otherwise as ActSaveAs
    bool ActSaveAs();
    void ActSplit();
    void SetElectronic(bool on);
    void ZoomIn();
    void ZoomOut();
    // Shows card `number` (from 1) at the top.
    void JumpToCard(int number);

    // --- State --------------------------------------------------------------------------
    const TMultiByteArray &Card() const { return m_card; }
    const TYangkaImage &SampleCard() const { return m_sampleCard; }
    const QString &FileName() const { return m_fileName; }
    bool HasCard() const { return !m_card.isEmpty(); }
    bool Saved() const { return m_saved; }
    bool Electronic() const { return m_electronic; }
    int Zoom() const { return m_zoom; }
    int FirstCard() const; // the first card shown, from 0
    QString StatusText() const;
    // The pointer hint at a canvas point: "(needle,card)" from 1, the needle counted from
    // the sample card's start corner; empty outside the picture.
    QString HintAt(QPoint canvasPoint) const;
    QWidget *Canvas() const; // the picture area
    QScrollBar *VertScroll() const { return m_vert; }
    // The hidden number box: Enter in it shows that card at the top.
    TNumricEdit *CardNumberEdit() const { return m_cardNumber; }
    QAction *Action(const char *name) const;

    // Closing (Escape, the window's close button, "关闭") first asks about an unsaved card.
    void reject() override;
    // Puts the texts of the chosen language on the menus, caption and status; a language
    // switch calls it.
    void ApplyLanguage();

protected:
    void changeEvent(QEvent *event) override;

private:
    friend class TCardViewCanvas; // paints from the card and scroll state
    // One builder per part of the window.
    QMenuBar *buildMenus();
    QGridLayout *buildCardArea();
    void buildCardNumberEdit();
    void setDefaultQuestions();
    bool querySave();
    void cardChanged();
    void updateCaption();
    void updateScroll();
    TWenBanIO fileData() const;
    QImage cardPicture() const;

    TMultiByteArray m_card;
    TYangkaImage m_sampleCard;
    QString m_fileName;
    QString m_extension; // of the file read, orders the electronic picture
    std::uint16_t m_jacquardCount = 0; // of the file read; 0: from the sample card
    TNumricEdit *m_cardNumber = nullptr;
    std::uint16_t m_statedNeedles = 0; // a narrow VBJ128 card's needle count, written again
    std::uint8_t m_ykStyle = 0;
    bool m_fromFile = false;
    bool m_saved = true;
    bool m_electronic = true;
    int m_zoom = 2;
    TCardViewCanvas *m_canvas = nullptr;
    QScrollBar *m_vert = nullptr;
    QScrollBar *m_horz = nullptr;
    QLabel *m_status = nullptr;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QList<QAction *> m_actions;
};
