#include "shell/ui/mainwindowjoins.h"

#include "core/picture/imageproc.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "shell/ui/autolinkpicturewindow.h"
#include "shell/ui/directmergedialog.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/linkpicturewindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/splitpicturedialog.h"
#include "shell/ui/unitepicturedialog.h"

#include <memory>

TMainWindowJoins::TMainWindowJoins(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    m_form.SetActionHandler("ActUnitePic", [this] { unitePictures(); });
    m_form.SetActionHandler("ActDirectMerge", [this] { mergePictures(); });
    m_form.SetDocumentActionHandler("ActSplitePicture", [this](TMDIChild &child) { splitPicture(child); });
    m_form.SetActionHandler("ActLeftLink", [this] { linkByHand(1); });
    m_form.SetActionHandler("ActManualLink", [this] { linkByHand(1); });
    m_form.SetActionHandler("ActTopLink", [this] { linkByHand(0); });
    m_form.SetActionHandler("ActAutoLeftLink", [this] { linkByLines(1); });
    m_form.SetActionHandler("ActAutoTopLink", [this] { linkByLines(0); });
}

void TMainWindowJoins::unitePictures()
{
    TFrmUnitePic dialog(m_form.Questions(), &m_form);
    if (dialog.exec() == QDialog::Accepted && dialog.HasResult())
        m_form.NewChildFromPicture(dialog.GetUnitedPicture());
}

void TMainWindowJoins::mergePictures()
{
    TFrmDirectMerge dialog(m_form.Questions(), &m_form);
    if (dialog.exec() == QDialog::Accepted)
        m_form.NewChildFromPicture(dialog.Result());
}

void TMainWindowJoins::splitPicture(TMDIChild &child)
{
    const QImage &picture = child.PatternGrid().Picture();
    TFrmSplitePicture dialog(picture.width(), &m_form);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int count = dialog.SpliteNumber();
    TBmpArray pieces;
    if (!SplitPicture(pieces, count, picture))
        return;
    const QList<QImage> parts(pieces.begin(), pieces.end());
    // Each part keeps the pattern's height; its width is every count-th warp.
    const TSplitPieces layout { picture.height(), (picture.width() - 1) / count + 1, count };
    m_form.NewChildrenFromSplit(parts, layout);
}

void TMainWindowJoins::linkByHand(int direction)
{
    std::unique_ptr<TFrmManualLinkPic> dialog;
    if (direction == 1)
        dialog = std::make_unique<TFrmLeftRightLinkPic>(m_form.Questions(), &m_form);
    else
        dialog = std::make_unique<TFrmTopBottomLinkPic>(m_form.Questions(), &m_form);
    if (dialog->exec() == QDialog::Accepted && !dialog->Result().isNull())
        m_form.NewChildFromPicture(dialog->Result());
}

void TMainWindowJoins::linkByLines(int direction)
{
    std::unique_ptr<TFrmGuidedLinkPic> dialog;
    if (direction == 1)
        dialog = std::make_unique<TFrmAutoLeftRightLinkPic>(m_form.Questions(), &m_form);
    else
        dialog = std::make_unique<TFrmAutoTopBottomLinkPic>(m_form.Questions(), &m_form);
    if (dialog->exec() == QDialog::Accepted && !dialog->Result().isNull())
        m_form.NewChildFromPicture(dialog->Result());
}
