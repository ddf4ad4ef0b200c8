#pragma once
// TFrmSetSystem: the system settings (系统设置) dialog.
// Page "System" edits the settings of section "Main" (undo steps, backup size, recent files,
// colour flash, automatic colour reduction); page "File Types" associates the card file
// types with this program on the desktop. OK registers or unregisters the rows whose check
// changed, then writes the settings; Cancel and Escape write nothing. The clear-backup
// button empties the active document's undo store after asking.

#include "shell/filetypes.h"
#include "shell/systemsettings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

class TFrmSetSystem : public QDialog {
    Q_OBJECT
public:
    // clearBackup empties the active document's undo store (null: no document is open, and
    // the button is disabled).
    explicit TFrmSetSystem(QWidget *parent, std::function<void()> clearBackup,
        const TFileTypeRoots &roots = DefaultFileTypeRoots());

    TSystemSettingValues Values() const;
    void accept() override;

private:
    QSpinBox *addNumber(class QGridLayout *grid, const char *name, const QString &label, const QString &unit,
        TSettingRange range, std::int32_t value);
    QWidget *systemPage(const TSystemSettingValues &values);
    QWidget *fileTypePage();
    QList<bool> checkedRows() const;
    void setAllRows(bool checked);
    void clearBackupData();

    TFileTypeRoots m_roots;
    std::function<void()> m_clearBackup;
    QList<bool> m_registeredAtOpen;
    QSpinBox *m_maxUndoCount = nullptr;
    QSpinBox *m_maxBakDataSize = nullptr;
    QLineEdit *m_curBakDataSize = nullptr;
    QSpinBox *m_maxRecentFile = nullptr;
    QSpinBox *m_flashFrequence = nullptr;
    QSpinBox *m_flashTime = nullptr;
    QSpinBox *m_autoReduceColor = nullptr;
    QTreeWidget *m_list = nullptr;
    QCheckBox *m_autoOpenRecent = nullptr;
};
