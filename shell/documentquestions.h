#pragma once
// TDocumentQuestions: what a document asks the person at the screen.
// Every question on the way of opening, saving and closing a document (already open, save
// the changes, where to save, a message) goes through this interface, so that the logic
// runs without widgets and tests answer without a modal loop. The windows answer with
// message boxes and the file dialog (shell/ui/messageboxquestions.h).

#include <QString>

enum class TSaveAnswer { Yes, No, Cancel };
enum class TMessageKind { Information, Warning, Error };

// The file types of the save dialog, in the dialog's order (1 = bitmap ... 8 = weave).
enum class TSaveFileType {
    Bitmap = 1,
    Project = 2,
    Pcx = 3,
    Ep = 4,
    Jc5 = 5,
    Qs = 6,
    Ovwb = 7,
    Weave = 8,
};

class TDocumentQuestions {
public:
    virtual ~TDocumentQuestions() = default;
    // "Save the changes?" with Yes, No and Cancel.
    virtual TSaveAnswer AskSaveChanges(const QString &text, const QString &caption) = 0;
    // OK and Cancel; true for OK.
    virtual bool AskOkCancel(const QString &text, const QString &caption) = 0;
    // The save dialog: starts in folder with the proposed name (no extension) and type.
    // False when cancelled; otherwise type holds the chosen file type and fileName the
    // chosen path. The caller writes SaveTypeFileName(fileName, type) (shell/savetypes.h);
    // an answer that asks before replacing a file asks about exactly that name.
    virtual bool ChooseSaveFile(
        const QString &folder, const QString &proposedName, TSaveFileType &type, QString &fileName)
        = 0;
    virtual void ShowMessage(const QString &text, const QString &caption, TMessageKind kind) = 0;
};
