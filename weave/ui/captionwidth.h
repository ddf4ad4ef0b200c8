#pragma once
// Keeps a small dialog wide enough for its caption, which window managers otherwise cut.

class QDialog;

// Sets the dialog's minimum width to fit its caption beside the title bar's buttons, now and
// whenever the caption changes.
void WidenForCaption(QDialog *dialog);
