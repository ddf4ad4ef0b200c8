#pragma once
// TMDIChild: the window of one pattern document (意匠) inside the main window.
// It shows the document's grid between its two rulers and keeps the document (record,
// sample card, caption) and the document's shuttle-by-colour window. Saving and the close
// decision are the document's (shell/document.h); the window only asks its questions
// through the main window's question object.

#include "card/ui/shuttlebycolorwindow.h"
#include "shell/document.h"

#include <QMdiSubWindow>
#include <QPointer>

class TDocumentQuestions;
class TPatternGridView;
class TRuler;

class TMDIChild : public QMdiSubWindow {
    Q_OBJECT
public:
    TMDIChild(TDocumentQuestions &questions, QWidget *parent = nullptr);
    ~TMDIChild() override;

    TDocument &Document() { return m_document; }
    TPatternGrid &PatternGrid();
    TPatternGridView *GridView() const { return m_view; }
    TRuler *HorzRuler() const { return m_horzRuler; }
    TRuler *VertRuler() const { return m_vertRuler; }

    // The caption is the document's file name (or its "Untitled" name).
    void SetCaption(const QString &caption);
    QString Caption() const { return m_document.Caption(); }

    // ActFileSave and ActFileSaveAs.
    bool SaveDocument(TSaveCommand command);

    // The shuttle-by-colour window of this document: made on first use, kept while the
    // document is open, freed with it. Shows it working on this document's record.
    TFrmSetPickWithColor *ShowPickWithColorWindow();
    TFrmSetPickWithColor *PickWithColorWindow() const { return m_pickWithColor; }

    void UpdateRulers();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    TDocumentQuestions &m_questions;
    TPatternGridView *m_view = nullptr;
    TRuler *m_horzRuler = nullptr;
    TRuler *m_vertRuler = nullptr;
    TDocument m_document;
    QPointer<TFrmSetPickWithColor> m_pickWithColor;
};
