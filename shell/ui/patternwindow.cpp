#include "shell/ui/patternwindow.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/ui/patterngridview.h"
#include "shell/ui/mainwindow.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

bool ShowPatternFile(TMainForm &form, const QString &fileName, QString *error)
{
    auto model = std::make_unique<TPatternGrid>();
    if (!model->LoadPictureFile(fileName, error))
        return false;
    model->SetLineColor(StartSettings().GrossOption.GridLineColor);
    model->SetCompartLineColor(StartSettings().GrossOption.CompartLineColor);
    model->Grid().DefaultColCompart = StartSettings().GrossOption.GridColCount;
    model->Grid().DefaultRowCompart = StartSettings().GrossOption.GridRowCount;
    auto *view = new TPatternGridView(std::move(model));
    view->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *sub = form.mdiArea()->addSubWindow(view);
    sub->setWindowTitle(QFileInfo(fileName).fileName());
    sub->resize(form.mdiArea()->size() * 0.9);
    view->Model().SetZoom(12);
    sub->show();
    return true;
}
