#include "editor/ui/digitsbox.h"

#include <QIntValidator>
#include <QLineEdit>

QLineEdit *NewDigitsBox(const char *name, int max, int digits, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setValidator(new QIntValidator(0, max, box));
    box->setMaxLength(digits);
    return box;
}
