#include "shell/ui/mainwindowsystem.h"

#include "core/base/help.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "shell/calculator.h"
#include "shell/dialogdocument.h"
#include "shell/scanner.h"
#include "shell/ui/aboutdialog.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/scannerdialog.h"
#include "shell/ui/systemsettingsdialog.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QProgressDialog>

TMainWindowSystem::TMainWindowSystem(TMainForm &form)
    : m_form(form)
{
    m_form.SetActionHandler("ActSetSystem", [this] { showSettings(); });
    m_form.SetActionHandler("ActAbout", [this] {
        auto *about = new TFrmAbout(&m_form);
        about->exec();
    });
    m_form.SetActionHandler("ActHelp", [this] {
        QString error;
        if (!ShowHelp(THelpContext::Start, &error))
            showError(error);
    });
    m_form.SetActionHandler("ActCalc", [this] {
        QString error;
        if (!StartDesktopCalculator(&error))
            showError(error);
    });
    m_form.SetActionHandler("ActScan", [this] { scan(); });
    UpdateCalculator();
    // A calculator installed while the program runs is offered the next time the menu opens.
    connect(m_form.FileMenu(), &QMenu::aboutToShow, this, &TMainWindowSystem::UpdateCalculator);
}

void TMainWindowSystem::UpdateCalculator()
{
    m_form.setActionAllowed("ActCalc", !FindDesktopCalculator().isEmpty());
}

void TMainWindowSystem::showError(const QString &text)
{
    m_form.Questions().ShowMessage(text, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
}

void TMainWindowSystem::showSettings()
{
    std::function<void()> clearBackup;
    if (!m_form.Children().isEmpty())
        clearBackup = [this] {
            // The active document's steps go; the other documents keep theirs.
            if (TMDIChild *child = m_form.ActiveChild()) {
                child->PatternGrid().UndoStore().Clear();
                child->PatternGrid().NotifyUndoState();
            }
        };
    TFrmSetSystem dialog(&m_form, clearBackup);
    if (dialog.exec() == QDialog::Accepted)
        m_form.UpdateRecentFileMenu();
}

void TMainWindowSystem::scan()
{
    QImage picture;
    if (acquire(picture))
        openScan(picture);
}

// Chooses the device and acquires its picture; false when nothing was scanned (chosen
// none, cancelled, or failed and reported). The device and the library close on every road
// with the session.
bool TMainWindowSystem::acquire(QImage &picture)
{
    TScanSession session;
    QList<TScanDevice> devices;
    QString error;
    if (!session.Devices(devices, &error)) {
        showError(error);
        return false;
    }
    if (devices.isEmpty()) {
        m_form.Questions().ShowMessage(GetUiMessage(UiKey::String::ScanNoScanner),
            GetUiString(UiKey::Scan::Choose_Device), TMessageKind::Information);
        return false;
    }
    TFrmSelectScanner chooser(devices, &m_form);
    if (chooser.exec() != QDialog::Accepted || chooser.ChosenDevice().isEmpty())
        return false;
    if (!session.Open(chooser.ChosenDevice(), &error)) {
        showError(error);
        return false;
    }
    QProgressDialog gauge(
        GetUiString(UiKey::Scan::Scanning), GetUiString(UiKey::General::BtnCancel), 0, 100, &m_form);
    gauge.setObjectName(QStringLiteral("ScanProgress"));
    gauge.setWindowModality(Qt::WindowModal);
    gauge.setMinimumDuration(0);
    gauge.setAutoReset(false);
    gauge.setValue(0);
    const TScanResult result = session.Acquire(
        picture,
        [&gauge](int percent) {
            if (percent < 0)
                gauge.setRange(0, 0);
            else
                gauge.setValue(percent);
            QApplication::processEvents();
            return !gauge.wasCanceled();
        },
        &error);
    session.Close();
    gauge.close();
    if (result == TScanResult::Failed)
        showError(error);
    return result == TScanResult::Done;
}

// The scan becomes a new document through a bitmap in the private temporary folder, which
// goes as soon as it is read: the document has no file and is named like one a dialog made.
void TMainWindowSystem::openScan(const QImage &picture)
{
    const QString path = Folders().ScanImgPath + QStringLiteral(".bmp");
    QString error;
    if (!WriteScanBitmap(picture, path, &error)) {
        QFile::remove(path);
        showError(error);
        return;
    }
    const int number = int(m_form.Children().size()) + 1;
    TMDIChild *child = m_form.OpenChild(path, false, true);
    QFile::remove(path);
    if (!child)
        return;
    child->SetCaption(DialogDocumentCaption(number));
    child->PatternGrid().SetModified();
}
