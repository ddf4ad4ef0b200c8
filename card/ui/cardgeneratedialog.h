#pragma once
// TfrmPutOut: the card generation (生成纹板) dialog.
// The card generation dialog: the user drags the red circle on a preview of the pattern to
// the corner where reading starts, then "开始" builds the card while the gauge moves.
// "取消" or Escape during the build stops it; the dialog then closes with result 2 and
// Card() stays empty, so the caller's card is left as it was. A successful build closes
// the dialog with result 1 and Card() holds the card.

#include "card/ui/cardbuildpanel.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

class TfrmPutOut : public QDialog {
    Q_OBJECT
public:
    enum { ResultGenerated = 1, ResultCancelled = 2 };

    // picture: the document's pattern, drawn into the preview. The corner starts as kept
    // in "VIZ.ini".
    TfrmPutOut(QWidget *owner, const QImage &picture);

    // Builds the card from the chosen corner; set by the caller before the dialog runs.
    std::function<bool(
        int scanStart, TMultiByteArray &card, TCardBuildResult &result, const TCardProgress &progress)>
        Build;
    // Shows a build's message (text, caption, information rather than error icon); a
    // message box unless replaced (tests).
    TCardMessageFunction ShowMessage;

    QLabel *Image = nullptr; // the 400 x 200 preview
    TCardBuildPanel *PanelGuage = nullptr; // hidden until the build starts
    QCheckBox *DispEWenBanCheckBox = nullptr; // "显示电子纹板", hidden, checked
    QPushButton *BitBtnGenerateWenBan = nullptr; // "开始"
    QPushButton *BitBtn2 = nullptr; // "取消"

    int ScanStart() const { return m_scanStart; }
    // Releasing the mouse at point of the preview: chooses the corner of its quadrant and
    // keeps it in "VIZ.ini".
    void ChooseCorner(QPoint point);
    // "开始".
    void Generate();
    const TMultiByteArray &Card() const { return m_card; }
    bool ShowElectronicCard() const;

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void drawPreview();

    QImage m_picture;
    int m_scanStart = 0;
    TMultiByteArray m_card;
};
