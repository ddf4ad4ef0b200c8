#include "shell/ui/documentwindow.h"

#include "card/ui/shuttlebycolorwindow.h"
#include "core/base/messages.h"
#include "editor/ui/patterngridview.h"
#include "shell/ui/rulerwidget.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QMdiArea>
#include <QScrollBar>

namespace {
TPatternGridView *makeView()
{
    auto *view = new TPatternGridView(std::make_unique<TPatternGrid>());
    view->setObjectName(QStringLiteral("PatternGrid"));
    return view;
}
} // namespace

TMDIChild::TMDIChild(TDocumentQuestions &questions, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_questions(questions)
    , m_view(makeView())
    , m_document(m_view->Model())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("TMDIChild"));
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("PalGrdPatternGrid"));
    m_horzRuler = new TRuler(Qt::Horizontal, m_view->Model(), panel);
    m_horzRuler->setObjectName(QStringLiteral("ImgHorz"));
    m_vertRuler = new TRuler(Qt::Vertical, m_view->Model(), panel);
    m_vertRuler->setObjectName(QStringLiteral("ImgVert"));
    auto *layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_horzRuler, 0, 1);
    layout->addWidget(m_vertRuler, 1, 0);
    layout->addWidget(m_view, 1, 1);
    setWidget(panel);
    // The rulers follow the grid when it scrolls or is resized.
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TMDIChild::UpdateRulers);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, &TMDIChild::UpdateRulers);
    // ... and whenever it is to be painted anew (a zoom, new compartments), in the same paint.
    connect(m_view, &TPatternGridView::ViewUpdated, this, &TMDIChild::UpdateRulers);
    m_view->Model().SetStatusWnd(parent ? parent->window() : nullptr);
    // Cells four pixels wide: a pattern opens readable cell by cell, as a new one does.
    m_view->Model().SetZoom(12);
}

TMDIChild::~TMDIChild()
{
    delete m_pickWithColor;
}

TPatternGrid &TMDIChild::PatternGrid()
{
    return m_view->Model();
}

void TMDIChild::SetCaption(const QString &caption)
{
    m_document.SetCaption(caption);
    setWindowTitle(caption);
}

bool TMDIChild::SaveDocument(TSaveCommand command)
{
    const bool saved = m_document.SaveDocument(command, m_questions);
    setWindowTitle(m_document.Caption());
    return saved;
}

TFrmSetPickWithColor *TMDIChild::ShowPickWithColorWindow()
{
    if (!m_pickWithColor) {
        // A tool window over the main window, freed when this document closes.
        m_pickWithColor = new TFrmSetPickWithColor(mdiArea() ? mdiArea()->window() : nullptr);
        m_pickWithColor->setWindowFlag(Qt::Tool);
    }
    TPickWithColorTarget target;
    target.Mesh = &m_document.Record();
    target.Picture = &PatternGrid().Picture();
    target.PickedIndex = m_document.LastPickedIndex();
    if (target.PickedIndex >= 0 && target.PickedIndex < 256) {
        const TPaletteEntry &e = PatternGrid().Palette()[target.PickedIndex];
        target.PickedColor = QColor(e.Red, e.Green, e.Blue);
    }
    target.Value = m_document.LastPickedValue();
    target.WeftDensMode = m_document.RowTableMode() == TRowTableMode::WeftDensity;
    m_pickWithColor->SetTarget(target);
    m_pickWithColor->show();
    return m_pickWithColor;
}

void TMDIChild::UpdateRulers()
{
    m_horzRuler->update();
    m_vertRuler->update();
}

void TMDIChild::closeEvent(QCloseEvent *event)
{
    if (!m_document.CloseQuery(m_questions)) {
        event->ignore();
        return;
    }
    if (m_pickWithColor)
        m_pickWithColor->close();
    // Told while this window still counts among the documents.
    SendChildState(0);
    QMdiSubWindow::closeEvent(event);
}
