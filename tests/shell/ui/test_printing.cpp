// Printing as a designer meets it: pages of a document printed to a PDF file (a range, a
// cancel after the first page, an output that cannot be written), the print preview stepped
// with the page keys and its boxes, the page setup, and the whole road through the real
// main window's commands.
#include "shell/ui/cancelprintwindow.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/pagesetupdialog.h"
#include "shell/ui/printpattern.h"
#include "shell/ui/printpreview.h"

#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace {
// The pages of a PDF file Qt wrote.
int pdfPages(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(text.count(page));
}

struct PrintingFixture : TMainWindowFixture {
    TMDIChild *child = nullptr;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        StartSettings().PageOption = TPageOption {};
        ShowMainWindow(QSize(1000, 760));
        child = form->OpenChild(QString(), true);
        ASSERT_NE(child, nullptr);
    }
    // Sizes the document to pagesAcross x pagesDown pages at the page without a printer.
    void sizeForPages(int pagesAcross, int pagesDown)
    {
        TPrintPattern probe;
        probe.SetSource(*child);
        const TPrintLayout &layout = probe.Layout();
        ASSERT_TRUE(layout.Fits());
        TPatternGrid &grid = child->PatternGrid();
        grid.SetColCount(layout.ColumnsPerPage() * (pagesAcross - 1) + 3);
        grid.SetRowCount(layout.RowsPerPage() * (pagesDown - 1) + 5);
    }
    void toPdf(QPrinter &printer, const QString &name)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
    }
};
} // namespace

TEST_F(PrintingFixture, PrintsTheChosenPagesAndStopsOnCancel)
{
    ASSERT_NO_FATAL_FAILURE(sizeForPages(3, 2));
    TPrintPattern pattern;
    pattern.SetSource(*child);
    ASSERT_EQ(pattern.Layout().PageCount(), 6);

    QPrinter range(QPrinter::HighResolution);
    toPdf(range, "range.pdf");
    range.setPrintRange(QPrinter::PageRange);
    range.setFromTo(2, 3);
    QString error;
    ASSERT_TRUE(pattern.Print(range, ChosenPages(range, pattern.Layout()), &error)) << error.toStdString();
    EXPECT_EQ(pdfPages(dir.filePath("range.pdf")), 2);

    QPrinter selection(QPrinter::HighResolution);
    toPdf(selection, "selection.pdf");
    selection.setPrintRange(QPrinter::Selection);
    selection.setFromTo(1, 1);
    ASSERT_TRUE(pattern.Print(selection, ChosenPages(selection, pattern.Layout())));
    EXPECT_EQ(pdfPages(dir.filePath("selection.pdf")), 1) << "one to one is one page";

    // The cancel button pressed while the first page goes out: the job ends after it.
    QObject::connect(&pattern, &TPrintPattern::PagePrinted, &pattern, [&pattern](int page) {
        if (page == 0)
            if (auto *cancel = pattern.findChild<TFrmCancelPrint *>())
                cancel->CancelButton()->click();
    });
    QPrinter all(QPrinter::HighResolution);
    toPdf(all, "all.pdf");
    ASSERT_TRUE(pattern.Print(all, { 0, 5 }));
    EXPECT_EQ(pdfPages(dir.filePath("all.pdf")), 1);
    EXPECT_EQ(pattern.findChild<TFrmCancelPrint *>(), nullptr) << "the cancel window goes with the job";

    QPrinter nowhere(QPrinter::HighResolution);
    toPdf(nowhere, "missing/folder/x.pdf");
    error.clear();
    EXPECT_FALSE(pattern.Print(nowhere, { 0, 0 }, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("missing/folder/x.pdf")));
}

// A cell that does not fit the page: nothing prints, and the reason is given.
TEST_F(PrintingFixture, APageTooSmallPrintsNothing)
{
    StartSettings().PageOption = TPageOption { 100, 100, 20, 20 };
    TPrintPattern pattern;
    pattern.SetSource(*child);
    EXPECT_FALSE(pattern.Layout().Fits());
    QPrinter printer(QPrinter::HighResolution);
    toPdf(printer, "small.pdf");
    QString error;
    EXPECT_FALSE(pattern.Print(printer, { 0, 0 }, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("small.pdf")));
}

TEST_F(PrintingFixture, PreviewStepsThroughThePages)
{
    ASSERT_NO_FATAL_FAILURE(sizeForPages(7, 3));
    TFrmPrintPreview preview(*child, form.get());
    preview.show();
    const TPrintLayout &layout = preview.PrintPattern()->Layout();
    ASSERT_EQ(layout.PageCount(), 21);
    auto *pageBox = preview.findChild<QSpinBox *>("RdtPageIndex");
    ASSERT_NE(pageBox, nullptr);
    const QList<QLabel *> panels = preview.findChild<QStatusBar *>()->findChildren<QLabel *>();
    ASSERT_GE(panels.size(), 2);
    EXPECT_TRUE(panels[0]->text().endsWith("21"));

    struct Step {
        Qt::Key key;
        int page; // 1-based, as the page box shows it
    };
    for (const Step s :
        { Step { Qt::Key_End, 21 }, Step { Qt::Key_PageDown, 21 }, Step { Qt::Key_PageUp, 20 },
            Step { Qt::Key_Home, 1 }, Step { Qt::Key_PageUp, 1 }, Step { Qt::Key_PageDown, 2 } }) {
        QTest::keyClick(pageBox, s.key); // the page box in focus does not take them
        EXPECT_EQ(layout.PageIndex() + 1, s.page) << s.key;
        EXPECT_EQ(pageBox->value(), s.page);
        EXPECT_TRUE(panels[1]->text().startsWith(QString::number(s.page)));
    }
    pageBox->setValue(5);
    EXPECT_EQ(layout.PageIndex(), 4);
    // 0 cannot be typed: the box holds the page numbers.
    pageBox->selectAll();
    QTest::keyClicks(pageBox, "0");
    QTest::keyClick(pageBox, Qt::Key_Return);
    EXPECT_EQ(layout.PageIndex(), 4);
    EXPECT_EQ(pageBox->minimum(), 1);

    auto *lines = preview.findChild<QCheckBox *>("Has_Separation_Line");
    auto *fit = preview.findChild<QCheckBox *>("Fit_With_Paper");
    ASSERT_TRUE(lines && fit);
    EXPECT_EQ(lines->isChecked(), child->PatternGrid().GridLineWidth() > 0);
    lines->setChecked(false);
    EXPECT_FALSE(layout.ShowSeparationLines());
    fit->setChecked(true);
    EXPECT_EQ(layout.PageCount(), 1);
    EXPECT_EQ(pageBox->maximum(), 1);
    EXPECT_TRUE(panels[0]->text().endsWith("1"));
    EXPECT_TRUE(panels[1]->text().startsWith("1"));
    fit->setChecked(false);
    EXPECT_EQ(layout.PageCount(), 21);

    // F1 opens the guide at the preview's section.
    bool helpKey = false;
    for (const QShortcut *key : preview.findChildren<QShortcut *>())
        helpKey = helpKey || key->key() == QKeySequence(QKeySequence::HelpContents);
    EXPECT_TRUE(helpKey);

    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

// OK stores and writes the four margins; Escape leaves the settings file as it was, byte for
// byte; margins that leave too little of the page keep the dialog open.
TEST_F(PrintingFixture, PageSetupWritesTheMarginsOnlyOnOk)
{
    WritePageOption(TPageOption {});
    const QByteArray before = ReadAll(Folders().ConfigIniPath);
    {
        TFrmSetPage dialog;
        dialog.SetMargins(TPageOption {});
        dialog.show();
        dialog.findChild<QDoubleSpinBox *>("RdtLeftMargins")->setValue(35);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(ReadAll(Folders().ConfigIniPath), before);

    TModalScript script({ On<QDialog>([](QDialog *d) { // the page setup
                             d->findChild<QDoubleSpinBox *>("RdtLeftMargins")->setValue(95);
                             d->findChild<QDoubleSpinBox *>("RdtRightMargins")->setValue(96);
                             d->accept(); // refused: 191 of 200 mm
                         }),
        On<QMessageBox>([](QMessageBox *box) { box->accept(); }), On<TFrmSetPage>([](TFrmSetPage *d) {
            d->findChild<QDoubleSpinBox *>("RdtRightMargins")->setValue(12.5);
            d->findChild<QDoubleSpinBox *>("RdtTopMargins")->setValue(30);
            d->accept();
        }) });
    action("ActSetPage")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(",").toStdString();
    EXPECT_EQ(StartSettings().PageOption, (TPageOption { 95, 12.5, 30, 20 }));
    TPageOption stored;
    ReadPageOption(stored);
    EXPECT_EQ(stored, StartSettings().PageOption);
}

// The road in the real main window: a picture opened, its preview stepped, fitted and printed
// to a PDF file; new margins taken by the next preview; the print command through the print
// dialog.
TEST_F(PrintingFixture, PreviewPageSetupAndPrintFromTheMainWindow)
{
    QImage image = NewPicture(300, 200, GreyPalette());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.scanLine(y)[x] = uchar((x / 7 + y / 5) % 256);
    ASSERT_TRUE(SavePicture("road.bmp", image));
    TMDIChild *document = form->OpenChild(picture);
    ASSERT_NE(document, nullptr);
    const QString previewPdf = dir.filePath("preview.pdf");
    int pagesShown = 0;
    TModalScript preview({ On<TFrmPrintPreview>([&](TFrmPrintPreview *p) {
        QTest::keyClick(p->findChild<QSpinBox *>("RdtPageIndex"), Qt::Key_End);
        pagesShown = p->PrintPattern()->Layout().PageIndex() + 1;
        p->findChild<QCheckBox *>("Fit_With_Paper")->setChecked(true);
        p->Printer().setOutputFormat(QPrinter::PdfFormat);
        p->Printer().setOutputFileName(previewPdf);
        p->findChild<QToolButton *>("Print_Hint_Two")->click();
        p->reject();
    }) });
    action("ActPrintPreview")->trigger();
    EXPECT_TRUE(preview.Done()) << preview.Unexpected().join(",").toStdString();
    EXPECT_GT(pagesShown, 1);
    EXPECT_EQ(pdfPages(previewPdf), 1) << "fitted to one sheet";

    TModalScript setup({ On<TFrmSetPage>([](TFrmSetPage *d) {
        d->findChild<QDoubleSpinBox *>("RdtLeftMargins")->setValue(40);
        d->accept();
    }) });
    action("ActSetPage")->trigger();
    EXPECT_TRUE(setup.Done());
    int leftPx = 0;
    TModalScript again({ On<TFrmPrintPreview>([&](TFrmPrintPreview *p) {
        leftPx = p->PrintPattern()->Layout().LeftPx();
        p->reject();
    }) });
    action("ActPrintPreview")->trigger();
    EXPECT_TRUE(again.Done());
    EXPECT_EQ(leftPx, MillimetresToPixels(40, form->logicalDpiX()));

    const QString printed = dir.filePath("printed.pdf");
    TModalScript print({ On<QPrintDialog>([&](QPrintDialog *d) {
        d->printer()->setOutputFormat(QPrinter::PdfFormat);
        d->printer()->setOutputFileName(printed);
        d->printer()->setPrintRange(QPrinter::PageRange);
        d->printer()->setFromTo(1, 2);
        d->done(QDialog::Accepted); // the choices as set, without the dialog's own fields
    }) });
    action("ActPrint")->trigger();
    EXPECT_TRUE(print.Done()) << print.Unexpected().join(",").toStdString();
    EXPECT_EQ(pdfPages(printed), 2);
}
