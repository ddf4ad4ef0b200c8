#pragma once
// TMessageBoxQuestions: a document's questions answered by message boxes and the save
// dialog.

#include "shell/documentquestions.h"

class QWidget;

class TMessageBoxQuestions : public TDocumentQuestions {
public:
    explicit TMessageBoxQuestions(QWidget *parent)
        : m_parent(parent)
    {
    }
    TSaveAnswer AskSaveChanges(const QString &text, const QString &caption) override;
    bool AskOkCancel(const QString &text, const QString &caption) override;
    bool ChooseSaveFile(
        const QString &folder, const QString &proposedName, TSaveFileType &type, QString &fileName) override;
    void ShowMessage(const QString &text, const QString &caption, TMessageKind kind) override;

private:
    // The window a question opens over (see the source).
    QWidget *owner() const;
    QWidget *m_parent;
};
