#pragma once
// TMainWindowSampleCard: the main window's sample-card and row-table commands: the
// sample-card editor, the pick and weft-density tables, the rule input and the
// shuttle-by-colour window, and which row table a document's row-table windows work on.

#include <QObject>
#include <QPointer>

class TFrmInput;
class TMDIChild;
class TMainForm;

class TMainWindowSampleCard : public QObject {
    Q_OBJECT
public:
    // Gives the sample-card and row-table actions their commands.
    explicit TMainWindowSampleCard(TMainForm &form);

    // See TMainForm::DesignSampleCard.
    bool DesignSampleCard(TMDIChild &child, bool showEditor);

private:
    bool prepare(TMDIChild &child);
    void setupRowTableModes();
    void showRuleInput(TMDIChild &child);

    TMainForm &m_form;
    // The rule input: one window for the program, made on first use, given the active
    // document each time its command runs, freed when it closes.
    QPointer<TFrmInput> m_ruleInput;
};
