#pragma once
// The OK and Cancel buttons at the foot of a plain dialog: captioned from the interface
// texts (so they follow the chosen language) and wired to the dialog's accept and reject.

class QDialog;
class QDialogButtonBox;

QDialogButtonBox *NewOkCancelButtons(QDialog *dialog);
