#include "shell/ui/mainwindowtiling.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/queryfloatwindow.h"
#include "editor/ui/tilepatterndialog.h"
#include "editor/ui/tileweavewindow.h"
#include "editor/weavetiling.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include <QAction>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>

TMainWindowTiling::TMainWindowTiling(TMainForm &form)
    : m_form(form)
{
    // The float-length box: the float length of weave tiling, stored at once.
    auto *bar = m_form.addToolBar(QString());
    bar->setObjectName(QStringLiteral("TbrFloat"));
    auto *floatLabel = new QLabel(bar);
    floatLabel->setObjectName(QStringLiteral("LblFloat"));
    bar->addWidget(floatLabel);
    auto *floatBox = new QSpinBox(bar);
    floatBox->setObjectName(QStringLiteral("RxFloat"));
    floatBox->setRange(0, 99);
    floatBox->setValue(StartSettings().TileWeaveParam.FloatLength);
    bar->addWidget(floatBox);

    QAction *hint = m_form.Action("ActChangeColorHint");
    hint->setCheckable(true);
    hint->setChecked(StartSettings().TileWeaveParam.ChangeColorHint);
    ApplyTexts();

    // Every change of the settings reaches the ini file, new documents, the active grid,
    // the open tile-weave window and both controls.
    auto store = [this, floatBox, hint](const TTileWeaveParam &param) {
        TMDIChild *child = m_form.ActiveChild();
        StoreTileWeaveParam(param, child ? &child->PatternGrid() : nullptr);
        const QSignalBlocker blockBox(floatBox);
        floatBox->setValue(param.FloatLength);
        hint->setChecked(param.ChangeColorHint);
        if (auto *window = m_form.findChild<TFrmTileWeave *>())
            window->SetParam(param);
    };
    connect(floatBox, &QSpinBox::valueChanged, this, [store](int value) {
        TTileWeaveParam param = StartSettings().TileWeaveParam;
        param.FloatLength = value;
        store(param);
    });
    m_form.SetActionHandler("ActChangeColorHint", [store, hint] {
        TTileWeaveParam param = StartSettings().TileWeaveParam;
        param.ChangeColorHint = hint->isChecked();
        store(param);
    });

    m_form.SetDocumentActionHandler("ActTileWeave", [this, floatBox, hint](TMDIChild &child) {
        auto *window = m_form.findChild<TFrmTileWeave *>();
        const bool made = !window;
        if (made) {
            window = new TFrmTileWeave(&m_form, &m_form);
            window->SetParam(StartSettings().TileWeaveParam);
            connect(
                window, &TFrmTileWeave::settingsStored, this, [floatBox, hint](const TTileWeaveParam &param) {
                    const QSignalBlocker blockBox(floatBox);
                    floatBox->setValue(param.FloatLength);
                    hint->setChecked(param.ChangeColorHint);
                });
            connect(window, &TFrmTileWeave::colorPickToolWanted, this, [this] {
                if (QAction *pick = m_form.Action("ActAbsorbColor"); pick && pick->isEnabled())
                    pick->trigger();
            });
        }
        window->SetGrid(&child.PatternGrid(), &child);
        // The weave picked in the library (the grid's tiling weave) is the one to tile.
        window->TakePickedWeave();
        window->show();
        if (made)
            m_form.placeToolWindow(window);
        window->raise();
        if (QAction *pick = m_form.Action("ActAbsorbColor"); pick && pick->isEnabled())
            pick->trigger();
    });

    // The listed colours' swatches follow the palette of the window's document.
    connect(&m_form, &TMainForm::PaletteSynced, this, [this](TMDIChild &child, bool) {
        if (auto *window = m_form.findChild<TFrmTileWeave *>();
            window && window->Grid() == &child.PatternGrid())
            window->SyncPalette();
    });

    // The pattern-tiling settings: stored on OK and copied into every open document.
    m_form.SetActionHandler("ActTilePattern", [this] {
        TFrmTilePattern dialog(&m_form);
        TTilePatternParam param;
        ReadTilePatternParam(param);
        dialog.SetParam(param);
        if (dialog.exec() != QDialog::Accepted)
            return;
        param = dialog.Param();
        WriteTilePatternParam(param);
        for (TMDIChild *child : m_form.Children())
            child->PatternGrid().SetTilePatternParam(param);
    });
}

void TMainWindowTiling::ApplyTexts()
{
    const QString floatHint = GetUiString(UiKey::TileWeave::Float_Hint);
    if (auto *bar = m_form.findChild<QToolBar *>(QStringLiteral("TbrFloat"))) {
        bar->setWindowTitle(floatHint);
        if (auto *label = bar->findChild<QLabel *>(QStringLiteral("LblFloat")))
            label->setText(floatHint + QStringLiteral("："));
    }
    m_form.Action("ActChangeColorHint")->setText(GetUiString(UiKey::TileWeave::Change_Color_Hint));
    m_form.Action("ActTilePattern")->setText(GetUiMessage(UiKey::String::TilePatternCaption));
    if (auto *window = m_form.findChild<TFrmTileWeave *>())
        window->ApplyLanguage();
}

void TMainWindowTiling::GiveTileWindowPickedWeave(TMDIChild &child)
{
    if (auto *window = m_form.findChild<TFrmTileWeave *>(); window && window->Grid() == &child.PatternGrid())
        window->TakePickedWeave();
}

void TMainWindowTiling::ConnectPickedTools(TMDIChild *child)
{
    child->PatternGrid().SetPickedToolReport(
        [this, child](const TFloatMarking *marking, const QString &message) {
            if (!message.isEmpty())
                m_form.Questions().ShowMessage(
                    message, GetUiMessage(UiKey::String::TileErrorCaption), TMessageKind::Warning);
            if (marking)
                TFrmQueryFloat::ShowFloats(&child->PatternGrid(), child, *marking, &m_form);
        });
}
