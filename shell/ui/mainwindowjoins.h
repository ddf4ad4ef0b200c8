#pragma once
// TMainWindowJoins: the main window's commands that make new documents from several
// pictures or from parts of one: the column interleave (意匠合并), the picture join
// (图象合并), the split (拆图) and the four links of two scans (拼接).

#include <QObject>

class TMainForm;
class TMDIChild;

class TMainWindowJoins : public QObject {
    Q_OBJECT
public:
    // Gives ActUnitePic, ActDirectMerge, ActSplitePicture, ActLeftLink, ActManualLink,
    // ActTopLink, ActAutoLeftLink and ActAutoTopLink their commands.
    explicit TMainWindowJoins(TMainForm &form);

private:
    void unitePictures();
    void mergePictures();
    void splitPicture(TMDIChild &child);
    void linkByHand(int direction);
    void linkByLines(int direction);

    TMainForm &m_form;
};
