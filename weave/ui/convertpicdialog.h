#pragma once
// TFrmConvertPic: the dialog that turns a picture into weaves (生成组织).
// The user names a shading weave (影光组织, a twill of one point per weft) and OK turns the
// picture into a black-and-white weave picture of the same size, each colour shaded by its
// brightness. The picture is referenced and never changed; the result is handed to the
// caller, which opens it as a new document. A weave that cannot be read or is no shading
// weave keeps the dialog open with a message.

#include "weave/shadingconversion.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TFrmConvertPic : public QDialog {
    Q_OBJECT
public:
    // picture must outlive the dialog; its colours are counted here, once.
    TFrmConvertPic(QWidget *owner, const QImage &picture);

    // The colours of the picture, most frequent first, with the shading weave's slot.
    const TSpecifyWeave &SpecifyWeave() const { return m_specify; }
    const TClrIndex &ColorList() const { return m_specify.ColorList(); }
    // The weave picture made by OK (null before).
    const QImage &ResultPicture() const { return m_result; }

    // OK: reads the weave named in EdtFileName and converts; false (dialog open) with a
    // message when the weave cannot be read or is no shading weave.
    bool ConvertToWeave();
    void accept() override;

    // How a refusal is shown and how a weave file is asked for (the weave open dialog in the
    // weave folder); both replaceable (tests).
    std::function<void(const QString &text)> ShowMessage;
    std::function<QString(QWidget *parent, const QString &folder)> AskWeaveFile;

    QLineEdit *EdtFileName = nullptr;
    QToolButton *SbnOpenDlg = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

private:
    const QImage &m_picture;
    TSpecifyWeave m_specify;
    QImage m_result;
    QLabel *m_label = nullptr;
    QLabel *m_note = nullptr;
};
