#pragma once
// TMainWindowTools: the main window's drawing tools: choosing a tool (every drawing action
// shares one command, its row names the tool), the tool bars with their fly-out buttons and
// icons, the pen-width spin edits, the current-tool and pen-width notifications and the
// spray settings.

#include <QObject>

#include <functional>

class QActionGroup;
class QSpinBox;
class TMainForm;
class TMessageEvent;
class TPatternGrid;
struct TSprayOption;

class TMainWindowTools : public QObject {
    Q_OBJECT
public:
    // Builds the tool bars and gives the drawing actions their command.
    explicit TMainWindowTools(TMainForm &form);

    // The command every drawing action shares: choosing the tool toolId.
    void ActFreeLineExecute(int toolId);
    // Who answers the spray settings dialog (tests); empty: the dialog itself.
    void SetSprayOptionAsker(std::function<bool(TSprayOption &)> ask) { m_askSprayOption = std::move(ask); }
    // The tool-changed and pen-width notifications; false for other messages.
    bool HandleNotification(const TMessageEvent &message);
    // A new document's grid takes the current tool, the pen widths and the cross-hair.
    void ApplyToolSettings(TPatternGrid &grid);

private:
    bool askSprayOption(TSprayOption &option);
    void showCurrentTool();
    void showPenWidths(int horz, int vert);

    TMainForm &m_form;
    QActionGroup *m_toolGroup = nullptr; // the drawing actions, one pressed at a time
    QSpinBox *m_horzWidthEdit = nullptr; // RdtHorzWidth
    QSpinBox *m_vertWidthEdit = nullptr; // RdtVertWidth
    std::function<bool(TSprayOption &)> m_askSprayOption;
};
