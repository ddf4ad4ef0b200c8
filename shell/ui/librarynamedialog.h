#pragma once
// TFrmCreateWeaveLib, TFrmCreatePatternLib: the name dialogs of a new weave (组织库) or
// pattern (花样库) library.
// One name edit with OK and Cancel. OK makes the library folder under the root it was given;
// a name that exists already shows the duplicate-name message and keeps the dialog open,
// as does a name that cannot be a folder.

#include "shell/libraryfolders.h"

#include <QDialog>

class QLineEdit;
class TDocumentQuestions;

class TLibraryNameDialog : public QDialog {
    Q_OBJECT
public:
    TLibraryNameDialog(TBrowseMode mode, const QString &root, TDocumentQuestions &questions, QWidget *parent);
    void SetLibraryName(const QString &name);
    QString LibraryName() const;
    // The folder made on OK.
    const QString &CreatedPath() const { return m_created; }
    void accept() override;

private:
    QLineEdit *m_name = nullptr;
    TBrowseMode m_mode;
    QString m_root;
    TDocumentQuestions &m_questions;
    QString m_created;
};

class TFrmCreateWeaveLib : public TLibraryNameDialog {
    Q_OBJECT
public:
    TFrmCreateWeaveLib(const QString &root, TDocumentQuestions &questions, QWidget *parent = nullptr)
        : TLibraryNameDialog(TBrowseMode::Weaves, root, questions, parent)
    {
    }
};

class TFrmCreatePatternLib : public TLibraryNameDialog {
    Q_OBJECT
public:
    TFrmCreatePatternLib(const QString &root, TDocumentQuestions &questions, QWidget *parent = nullptr)
        : TLibraryNameDialog(TBrowseMode::Patterns, root, questions, parent)
    {
    }
};
