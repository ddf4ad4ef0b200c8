#pragma once
// TFrmSelectScanner: the scanner chooser.
// Lists the scanners SANE found; OK (or a double click) takes the chosen one, Cancel none.

#include "shell/scanner.h"

#include <QDialog>

class QListWidget;

class TFrmSelectScanner : public QDialog {
    Q_OBJECT
public:
    TFrmSelectScanner(const QList<TScanDevice> &devices, QWidget *parent = nullptr);
    // The chosen device's name; empty when none is chosen.
    QString ChosenDevice() const;

private:
    QList<TScanDevice> m_devices;
    QListWidget *m_list = nullptr;
};
