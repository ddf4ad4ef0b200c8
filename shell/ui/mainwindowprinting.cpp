#include "shell/ui/mainwindowprinting.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/pagesetupdialog.h"
#include "shell/ui/printpattern.h"
#include "shell/ui/printpreview.h"

#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

TMainWindowPrinting::TMainWindowPrinting(TMainForm &form)
    : m_form(form)
{
    m_form.SetActionHandler("ActSetPage", [this] { setupPage(); });
    m_form.SetDocumentActionHandler("ActPrintPreview", [this](TMDIChild &child) {
        TFrmPrintPreview preview(child, &m_form);
        preview.exec();
    });
    m_form.SetDocumentActionHandler("ActPrint", [this](TMDIChild &) { printDocument(); });
}

// New margins apply to the previews and prints made afterwards.
void TMainWindowPrinting::setupPage()
{
    TFrmSetPage dialog(&m_form);
    dialog.SetMargins(StartSettings().PageOption);
    if (dialog.exec() != QDialog::Accepted)
        return;
    StartSettings().PageOption = dialog.Margins();
    WritePageOption(StartSettings().PageOption);
}

void TMainWindowPrinting::printDocument()
{
    TMDIChild *child = m_form.ActiveChild();
    if (!child)
        return;
    TPrintPattern pattern;
    pattern.SetSource(*child);
    QPrinter printer(QPrinter::HighResolution);
    pattern.CalcPageSize(&printer);
    const TPrintLayout &layout = pattern.Layout();
    const int count = std::max(1, layout.PageCount());
    QPrintDialog dialog(&printer, &m_form);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setMinMax(1, count);
    dialog.setFromTo(1, count);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The printer the dialog chose may have another page.
    pattern.CalcPageSize(&printer);
    const TPageSpan pages = ChosenPages(printer, layout);
    QString error;
    if (!pattern.Print(printer, pages, &error))
        QMessageBox::warning(&m_form, m_form.windowTitle(), error);
}
