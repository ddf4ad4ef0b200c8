#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/ui/uitextsetters.h"

#include "testutil.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

TEST(UiTextSetters, EachSetterPutsTheTextWhereItBelongs)
{
    QTemporaryDir dir;
    Folders().LanguageDir = dir.path() + "/";
    Folders().ConfigIniPath = dir.filePath("Config.Ini");
    ASSERT_TRUE(WriteAll(Folders().LanguageDir + "A.ini",
        "[Dlg]\nDlgCaption=Title\nLblName=Name:\nBtnGo=Go\nBtnTip=Tip\n"
        "GrpBox=Group\nChkA=Check\nRadA=Radio\nTbtn=Tool\nAct=Action\n"
        "Edt=edit text\n"));
    OpenLanguageFile();

    QDialog dialog;
    SetControlUiText(&dialog, "Dlg", "DlgCaption");
    EXPECT_EQ(dialog.windowTitle(), "Title");

    auto named = [&](auto *w, const char *name) {
        w->setObjectName(name);
        return w;
    };
    auto *label = named(new QLabel(&dialog), "LblName");
    SetLabelUiText(label, "Dlg");
    EXPECT_EQ(label->text(), "Name:");
    auto *button = named(new QPushButton("old", &dialog), "BtnGo");
    SetButtonUiText(button, "Dlg");
    EXPECT_EQ(button->text(), "Go");
    auto *bit = named(new QPushButton("keep", &dialog), "BtnTip");
    SetBitBtnUiHint(bit, "Dlg");
    EXPECT_EQ(bit->text(), "keep");
    EXPECT_EQ(bit->toolTip(), "Tip");
    auto *group = named(new QGroupBox(&dialog), "GrpBox");
    SetGroupBoxUiText(group, "Dlg");
    EXPECT_EQ(group->title(), "Group");
    auto *check = named(new QCheckBox(&dialog), "ChkA");
    SetCheckBoxUiText(check, "Dlg");
    EXPECT_EQ(check->text(), "Check");
    auto *radio = named(new QRadioButton(&dialog), "RadA");
    SetRadioButtonUiText(radio, "Dlg");
    EXPECT_EQ(radio->text(), "Radio");
    auto *tool = named(new QToolButton(&dialog), "Tbtn");
    SetToolButtonUiText(tool, "Dlg");
    EXPECT_EQ(tool->text(), "Tool");
    EXPECT_EQ(tool->toolTip(), "Tool");
    auto *action = named(new QAction(&dialog), "Act");
    SetActionUiText(action, "Dlg");
    EXPECT_EQ(action->text(), "Action");
    EXPECT_EQ(action->toolTip(), "Action");
    SetActionUiText(action, "MainMenu", "Zoom_In"); // a given key; the file lacks it
    EXPECT_EQ(action->text(), "Zoom In");
    auto *edit = named(new QLineEdit(&dialog), "Edt");
    SetControlUiText(edit, "Dlg");
    EXPECT_EQ(edit->text(), "edit text");
    SetButtonUiText(nullptr, "Dlg"); // no control: nothing happens
}
