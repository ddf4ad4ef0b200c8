// The main window's tiling commands: the tile-weave window, the tile-pattern dialog, the
// colour-change hint and the float-length box.
#include "shell/ui/mainwindow.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/queryfloatwindow.h"
#include "editor/ui/tilepatterndialog.h"
#include "editor/ui/tileweavewindow.h"
#include "editor/weavetiling.h"
#include "shell/ui/documentwindow.h"

#include <QAction>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>

void TMainForm::setupTilingActions()
{
    // The float-length box: the float length of weave tiling, stored at once.
    auto *bar = addToolBar(QString());
    bar->setObjectName(QStringLiteral("TbrFloat"));
    auto *floatLabel = new QLabel(bar);
    floatLabel->setObjectName(QStringLiteral("LblFloat"));
    bar->addWidget(floatLabel);
    auto *floatBox = new QSpinBox(bar);
    floatBox->setObjectName(QStringLiteral("RxFloat"));
    floatBox->setRange(0, 99);
    floatBox->setValue(StartSettings().TileWeaveParam.FloatLength);
    bar->addWidget(floatBox);

    QAction *hint = Action("ActChangeColorHint");
    hint->setCheckable(true);
    hint->setChecked(StartSettings().TileWeaveParam.ChangeColorHint);
    applyTilingTexts();

    // Every change of the settings reaches the ini file, new documents, the active grid,
    // the open tile-weave window and both controls.
    auto store = [this, floatBox, hint](const TTileWeaveParam &param) {
        TMDIChild *child = ActiveChild();
        StoreTileWeaveParam(param, child ? &child->PatternGrid() : nullptr);
        const QSignalBlocker blockBox(floatBox);
        floatBox->setValue(param.FloatLength);
        hint->setChecked(param.ChangeColorHint);
        if (auto *window = findChild<TFrmTileWeave *>())
            window->SetParam(param);
    };
    connect(floatBox, &QSpinBox::valueChanged, this, [store](int value) {
        TTileWeaveParam param = StartSettings().TileWeaveParam;
        param.FloatLength = value;
        store(param);
    });
    SetActionHandler("ActChangeColorHint", [store, hint] {
        TTileWeaveParam param = StartSettings().TileWeaveParam;
        param.ChangeColorHint = hint->isChecked();
        store(param);
    });

    SetDocumentActionHandler("ActTileWeave", [this, floatBox, hint](TMDIChild &child) {
        auto *window = findChild<TFrmTileWeave *>();
        if (!window) {
            window = new TFrmTileWeave(this, this);
            window->SetParam(StartSettings().TileWeaveParam);
            connect(
                window, &TFrmTileWeave::settingsStored, this, [floatBox, hint](const TTileWeaveParam &param) {
                    const QSignalBlocker blockBox(floatBox);
                    floatBox->setValue(param.FloatLength);
                    hint->setChecked(param.ChangeColorHint);
                });
            connect(window, &TFrmTileWeave::colorPickToolWanted, this, [this] {
                if (QAction *pick = Action("ActAbsorbColor"); pick && pick->isEnabled())
                    pick->trigger();
            });
        }
        window->SetGrid(&child.PatternGrid(), &child);
        // The weave picked in the library (the grid's tiling weave) is the one to tile.
        window->TakePickedWeave();
        window->show();
        window->raise();
        if (QAction *pick = Action("ActAbsorbColor"); pick && pick->isEnabled())
            pick->trigger();
    });

    // The listed colours' swatches follow the palette of the window's document.
    connect(this, &TMainForm::PaletteSynced, this, [this](TMDIChild &child, bool) {
        if (auto *window = findChild<TFrmTileWeave *>(); window && window->Grid() == &child.PatternGrid())
            window->SyncPalette();
    });

    // The pattern-tiling settings: stored on OK and copied into every open document.
    SetActionHandler("ActTilePattern", [this] {
        TFrmTilePattern dialog(this);
        TTilePatternParam param;
        ReadTilePatternParam(param);
        dialog.SetParam(param);
        if (dialog.exec() != QDialog::Accepted)
            return;
        param = dialog.Param();
        WriteTilePatternParam(param);
        for (TMDIChild *child : Children())
            child->PatternGrid().SetTilePatternParam(param);
    });
}

// The texts the action table has no key for, the float box's label and the open tile-weave
// window, at start and after a language switch.
void TMainForm::applyTilingTexts()
{
    const QString floatHint = GetUiString(UiKey::TileWeave::Float_Hint);
    if (auto *bar = findChild<QToolBar *>(QStringLiteral("TbrFloat"))) {
        bar->setWindowTitle(floatHint);
        if (auto *label = bar->findChild<QLabel *>(QStringLiteral("LblFloat")))
            label->setText(floatHint + QStringLiteral("："));
    }
    Action("ActChangeColorHint")->setText(GetUiString(UiKey::TileWeave::Change_Color_Hint));
    Action("ActTilePattern")->setText(GetUiMessage(UiKey::String::TilePatternCaption));
    if (auto *window = findChild<TFrmTileWeave *>())
        window->ApplyLanguage();
}

// A weave picked in the library while the tile-weave window works on that document is the
// one its OK tiles.
void TMainForm::GiveTileWindowPickedWeave(TMDIChild &child)
{
    if (auto *window = findChild<TFrmTileWeave *>(); window && window->Grid() == &child.PatternGrid())
        window->TakePickedWeave();
}

// The picked-weave and picked-pattern tools of a new document: their refusals are shown,
// and the floats the weave tool marks open the float query on this document.
void TMainForm::connectPickedTools(TMDIChild *child)
{
    child->PatternGrid().SetPickedToolReport(
        [this, child](const TFloatMarking *marking, const QString &message) {
            if (!message.isEmpty())
                m_questions->ShowMessage(
                    message, GetUiMessage(UiKey::String::TileErrorCaption), TMessageKind::Warning);
            if (marking)
                TFrmQueryFloat::ShowFloats(&child->PatternGrid(), child, *marking, this);
        });
}
