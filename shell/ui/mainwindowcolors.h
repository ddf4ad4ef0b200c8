#pragma once
// TMainWindowColors: the main window's colour windows: colour reduction, the protected and
// transparent colours and the colour statistics. The two tool windows follow the active
// document, take the colours picked and the palette notifications, and close with the
// last document.

#include <QObject>

class TFrmDispProtATransColor;
class TFrmReduceColor;
class TMDIChild;
class TMainForm;

class TMainWindowColors : public QObject {
    Q_OBJECT
public:
    // Gives ActReduceColor, ActDispProtATransColor and ActColorRatio their commands.
    explicit TMainWindowColors(TMainForm &form);

    // The open windows' texts again, after a language switch.
    void ApplyTexts();

private:
    void showReduceColor(TMDIChild &child);
    void showProtectTransColor(TMDIChild &child);
    void colorPicked(int index);
    void paletteSynced(TMDIChild &child, bool toDocument);
    void activeChildChanged(TMDIChild *child);
    TFrmReduceColor *reduceWindow() const;
    TFrmDispProtATransColor *protectWindow() const;

    TMainForm &m_form;
};
