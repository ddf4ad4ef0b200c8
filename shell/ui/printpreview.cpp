#include "shell/ui/printpreview.h"

#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "shell/printlayout.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/printpattern.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QToolButton *toolButton(const char *name, const QString &text, const char *icon)
{
    auto *button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(text);
    button->setIcon(QIcon::fromTheme(QLatin1String(icon)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

} // namespace

TFrmPrintPreview::TFrmPrintPreview(TMDIChild &document, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("TFrmPrintPreview"));
    setWindowTitle(GetUiString(UiKey::PrintPreview::Print_Preview_Caption));
    setWindowModality(Qt::WindowModal);
    SetHelpKey(this, THelpContext::PrintPreview);

    auto *print
        = toolButton("Print_Hint_Two", GetUiString(UiKey::PrintPreview::Print_Hint_Two), "document-print");
    auto *options
        = toolButton("Print_Option", GetUiString(UiKey::PrintPreview::Print_Option), "document-properties");
    auto *close = toolButton("ActClose", GetUiString(UiKey::PrintPreview::Close_Hint), "window-close");
    m_pageBox = new QSpinBox;
    m_pageBox->setObjectName(QStringLiteral("RdtPageIndex"));
    m_pageBox->installEventFilter(this);
    m_lines = new QCheckBox(GetUiString(UiKey::PrintPreview::Has_Separation_Line));
    m_lines->setObjectName(QStringLiteral("Has_Separation_Line"));
    m_fit = new QCheckBox(GetUiString(UiKey::PrintPreview::Fit_With_Paper));
    m_fit->setObjectName(QStringLiteral("Fit_With_Paper"));
    auto *tools = new QHBoxLayout;
    for (QWidget *w :
        { static_cast<QWidget *>(print), static_cast<QWidget *>(options), static_cast<QWidget *>(close) })
        tools->addWidget(w);
    tools->addSpacing(12);
    tools->addWidget(new QLabel(GetUiString(UiKey::PrintPreview::Page_Number)));
    tools->addWidget(m_pageBox);
    tools->addWidget(new QLabel(GetUiString(UiKey::PrintPreview::Page)));
    tools->addSpacing(12);
    tools->addWidget(m_lines);
    tools->addWidget(m_fit);
    tools->addStretch();

    m_pattern = new TPrintPattern;
    m_pattern->SetSource(document);
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidget(m_pattern);

    auto *status = new QStatusBar;
    status->setSizeGripEnabled(false);
    m_countPanel = new QLabel;
    m_countPanel->setMinimumWidth(150);
    m_pagePanel = new QLabel;
    m_pagePanel->setMinimumWidth(50);
    status->addWidget(m_countPanel);
    status->addWidget(m_pagePanel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(status);

    m_lines->setChecked(m_pattern->Layout().ShowSeparationLines());
    refreshPanels();

    connect(print, &QToolButton::clicked, this, [this] { PrintChosenPages(); });
    connect(options, &QToolButton::clicked, this, [this] { showPrintOptions(); });
    connect(close, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int value) { showPage(value - 1); });
    connect(m_lines, &QCheckBox::toggled, this, [this](bool on) { m_pattern->SetShowSeparationLines(on); });
    connect(m_fit, &QCheckBox::toggled, this, [this](bool on) {
        m_pattern->SetFitToPaper(on);
        const QSignalBlocker block(m_lines);
        m_lines->setChecked(m_pattern->Layout().ShowSeparationLines());
        refreshPanels();
    });
    resize(m_pattern->width() + 80, std::min(m_pattern->height() + 120, 900));
}

void TFrmPrintPreview::refreshPanels()
{
    const TPrintLayout &layout = m_pattern->Layout();
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setRange(layout.PageCount() > 0 ? 1 : 0, layout.PageCount());
    m_pageBox->setValue(layout.PageIndex() + 1);
    m_countPanel->setText(
        GetUiMessage(UiKey::String::CurrentPageCount) + QString::number(layout.PageCount()));
    m_pagePanel->setText(
        QString::number(layout.PageIndex() + 1) + QLatin1Char(' ') + GetUiString(UiKey::PrintPreview::Page));
}

void TFrmPrintPreview::showPage(int index)
{
    m_pattern->SetPageIndex(index);
    refreshPanels();
}

bool TFrmPrintPreview::stepPage(int key)
{
    const TPrintLayout &layout = m_pattern->Layout();
    switch (key) {
    case Qt::Key_Home:
        showPage(0);
        return true;
    case Qt::Key_End:
        showPage(layout.PageCount() - 1);
        return true;
    case Qt::Key_PageUp:
        showPage(layout.PageIndex() - 1);
        return true;
    case Qt::Key_PageDown:
        showPage(layout.PageIndex() + 1);
        return true;
    default:
        return false;
    }
}

void TFrmPrintPreview::keyPressEvent(QKeyEvent *event)
{
    if (!stepPage(event->key()))
        QDialog::keyPressEvent(event);
}

// The page box would take the page keys for its own steps: here they step the pages.
bool TFrmPrintPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageBox && event->type() == QEvent::KeyPress
        && stepPage(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TFrmPrintPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_scroll->horizontalScrollBar()->setValue(0);
    m_scroll->verticalScrollBar()->setValue(0);
}

void TFrmPrintPreview::showPrintOptions()
{
    const int count = std::max(1, m_pattern->Layout().PageCount());
    QPrintDialog dialog(&m_printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    dialog.setMinMax(1, count);
    dialog.setFromTo(std::clamp(m_printer.fromPage(), 1, count), count);
    dialog.exec(); // only the choices are kept; nothing prints here
}

bool TFrmPrintPreview::PrintChosenPages()
{
    m_pattern->CalcPageSize(&m_printer);
    m_pattern->SetShowSeparationLines(m_lines->isChecked());
    refreshPanels();
    const TPrintLayout &layout = m_pattern->Layout();
    const TPageSpan pages = ChosenPages(m_printer, layout);
    QString error;
    if (m_pattern->Print(m_printer, pages, &error))
        return true;
    QMessageBox::warning(this, windowTitle(), error);
    return false;
}
