#pragma once
// A one-line box for a whole number from 0 to max in at most `digits` digits, named for
// the window's tests and settings.

class QLineEdit;
class QWidget;

QLineEdit *NewDigitsBox(const char *name, int max, int digits, QWidget *parent);
