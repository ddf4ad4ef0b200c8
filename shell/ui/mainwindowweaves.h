#pragma once
// TMainWindowWeaves: the main window's weave-assignment and picture-conversion commands:
// the assign-weaves window on the active document, the layer documents its OK makes, and
// the conversion dialog whose weave picture becomes a new document.

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

class TMainForm;
class TMDIChild;

class TMainWindowWeaves : public QObject {
    Q_OBJECT
public:
    // Gives ActTechTileWeave and ActConvertWeave their commands.
    explicit TMainWindowWeaves(TMainForm &form);

    // The layer pictures of the assign-weaves window as documents named base + "_W" + n,
    // all or none; then the document windows are tiled.
    QList<TMDIChild *> MakeLayerDocuments(const QList<QImage> &layers, const QString &baseName);
    void ApplyTexts();

private:
    void assignWeaves(TMDIChild &child);
    void convertWeave(TMDIChild &child);
    TMainForm &m_form;
};
