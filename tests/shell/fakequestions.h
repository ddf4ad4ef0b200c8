#pragma once
// Answers a document's questions from prepared answers and records what was asked.

#include "shell/documentquestions.h"

#include <QString>
#include <QStringList>

struct TFakeQuestions : TDocumentQuestions {
    TSaveAnswer SaveAnswer = TSaveAnswer::Cancel;
    bool OkAnswer = false;
    bool DialogAccepts = false; // false: the save dialog is cancelled
    TSaveFileType DialogType = TSaveFileType::Bitmap;
    QString DialogFile;

    QStringList Asked; // the texts of every question and message, in order
    int DialogsShown = 0;
    QString DialogFolder, DialogProposed;
    TSaveFileType DialogOfferedType = TSaveFileType::Bitmap; // the type the dialog started at
    QStringList Messages;

    TSaveAnswer AskSaveChanges(const QString &text, const QString &) override
    {
        Asked << text;
        return SaveAnswer;
    }
    bool AskOkCancel(const QString &text, const QString &) override
    {
        Asked << text;
        return OkAnswer;
    }
    bool ChooseSaveFile(
        const QString &folder, const QString &proposed, TSaveFileType &type, QString &file) override
    {
        ++DialogsShown;
        DialogFolder = folder;
        DialogProposed = proposed;
        DialogOfferedType = type;
        if (!DialogAccepts)
            return false;
        type = DialogType;
        file = DialogFile;
        return true;
    }
    void ShowMessage(const QString &text, const QString &, TMessageKind) override
    {
        Asked << text;
        Messages << text;
    }
};
