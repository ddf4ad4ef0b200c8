// Dorwen CAD: start-up.
#include "core/sharedstate.h"
#include "shell/ui/mainform.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorwen CAD"));
    QApplication::setOrganizationName(QStringLiteral("dorwen-cad"));

    QString error;
    if (!InitSharedState(QString(), &error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Dorwen CAD"), error);
        return 1;
    }

    TMainForm mainForm;
    mainForm.show();
    return app.exec();
}
