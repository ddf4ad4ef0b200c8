#pragma once
// TFrmTileWeave: the tile-weave (平铺组织) window.
// A tool window beside the pattern: the user chooses colours (each pick in the pattern or
// on the palette bar adds one), types the float lengths of each, sets the margins and the
// float rule, and OK tiles the weave over those colours of its document. It takes its
// settings, document and weave in and gives its settings out; it never reads them from
// anywhere else. The settings are stored (ini, the start settings and the grid's copy)
// before every tiling and by Save_Parameter, and settingsStored tells the main window.

#include "editor/ui/tilemarginboxes.h"
#include "editor/weavetiling.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

class TFrmTileWeave : public QWidget {
    Q_OBJECT
public:
    // colorSource: the object the colour picks are sent to (the main window), or null.
    explicit TFrmTileWeave(QObject *colorSource = nullptr, QWidget *parent = nullptr);
    ~TFrmTileWeave() override;

    // The document worked on; gridOwner is the object whose end ends the grid (the
    // document window). Null: none, and OK does nothing.
    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const;

    void SetParam(const TTileWeaveParam &param);
    TTileWeaveParam Param() const;
    void SetFloatRule(TTileFloatRule rule);
    TTileFloatRule FloatRule() const;

    // The weave to tile and the name shown for it (a file name); an empty weave is none.
    void SetWeave(const TWeaveArray &weave, const QString &name);
    // The weave picked in the library for this window's document (the grid's tiling
    // weave), when there is one; a weave read from a file stays otherwise.
    void TakePickedWeave();
    const TWeaveArray &Weave() const { return m_weave; }
    // Reads a weave file; false with the reason, keeping the weave, when it cannot be read.
    bool LoadWeave(const QString &fileName, QString *error = nullptr);

    // A chosen colour: the index with its palette colour, unless listed.
    void AddColor(int index);
    // The document's palette changed: the listed colours take their entries' new colours.
    void SyncPalette();
    // The interface texts again, after a language switch.
    void ApplyLanguage();
    // The list with the texts typed in the table.
    TTileColorList Colors() const;
    void SetFloatText(int row, const QString &text);

    // Who shows a refusal (a message box unless replaced, as tests do).
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }

    // The buttons.
    void Reset(); // 重设: the list emptied
    void SaveParameter(); // 保存参数: settings stored, window closed
    bool Tile(); // 确定: settings stored, then the tiling; false when refused

Q_SIGNALS:
    // The settings were stored: the main window's float box and colour-change hint follow.
    void settingsStored(const TTileWeaveParam &param);
    // Reset asks for the colour-pick tool (TToolId::AbsorbColor) in the grid.
    void colorPickToolWanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The window's parts, built once by the constructor.
    QGridLayout *buildMargins();
    void buildConditions(QGridLayout *grid);
    QHBoxLayout *buildWeaveRow();
    QTableWidget *buildColorTable();
    QHBoxLayout *buildButtons();
    void chooseWeaveFile();
    void storeSettings();
    void fitHeight();

    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    QPointer<QObject> m_colorSource;
    TWeaveArray m_weave;
    QString m_weaveLabel; // the name the weave is shown with
    TTileColorList m_colors;
    std::function<void(const QString &)> m_showMessage;
    int m_baseHeight = 0;

    TTileMarginBoxes m_margins;
    QLabel *m_floatLabel = nullptr;
    QCheckBox *m_changeColorHint = nullptr;
    QComboBox *m_pointCondition = nullptr;
    QComboBox *m_floatCondition = nullptr;
    QLabel *m_pointLabel = nullptr, *m_floatConditionLabel = nullptr;
    QLabel *m_weaveName = nullptr;
    QPushButton *m_weaveFile = nullptr;
    QTableWidget *m_table = nullptr;
    QPushButton *m_reset = nullptr, *m_save = nullptr, *m_ok = nullptr, *m_cancel = nullptr;
};
