#include "shell/ui/librarynamedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "shell/documentquestions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

TLibraryNameDialog::TLibraryNameDialog(
    TBrowseMode mode, const QString &root, TDocumentQuestions &questions, QWidget *parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_root(root)
    , m_questions(questions)
{
    // Both dialogs carry the one caption of the interface texts.
    setWindowTitle(GetUiString(UiKey::TileWeave::New_Weave_Library));
    auto *form = new QFormLayout(this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EdtName"));
    form->addRow(GetUiString(UiKey::TileWeave::Library_Name), m_name);
    auto *buttons = NewOkCancelButtons(this);
    form->addRow(buttons);
}

void TLibraryNameDialog::SetLibraryName(const QString &name)
{
    m_name->setText(name);
}

QString TLibraryNameDialog::LibraryName() const
{
    return m_name->text().trimmed();
}

void TLibraryNameDialog::accept()
{
    QString error;
    bool exists = false;
    QString path;
    if (!CreateLibraryFolder(m_root, LibraryName(), m_mode, path, &exists, &error)) {
        m_questions.ShowMessage(error,
            exists ? GetUiMessage(UiKey::String::DuplicateNameCaption)
                   : GetUiMessage(UiKey::String::ErrorCaption),
            TMessageKind::Warning);
        return; // the dialog stays open for another name
    }
    m_created = path;
    QDialog::accept();
}
