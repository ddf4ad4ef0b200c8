#pragma once
// TFrmSetPattern: the grid settings of a document (意匠设置).
// The pattern's size (with the kept ratio, unticked, the percentage and the stretch box),
// the compartment intervals, the layer count, the densities and the two line colours; two
// hidden boxes carry the record's repeat counts. OK applies them to the document
// (ApplyGridSettings); a refusal is shown and the dialog stays open.

#include "shell/gridsettings.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class TDocument;
class TPicSizeGroup;

class TFrmSetPattern : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSetPattern(TDocument &document, QWidget *parent = nullptr);

    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }
    const TGridSettings &StartValues() const { return m_start; }
    // What the controls hold now.
    TGridSettings Values() const;

    void accept() override;

private:
    void applyTexts();

    TDocument &m_document;
    TGridSettings m_start;
    TPicSizeGroup *m_size = nullptr;
    QSpinBox *m_colCompart = nullptr;
    QSpinBox *m_rowCompart = nullptr;
    QSpinBox *m_layerCount = nullptr;
    QDoubleSpinBox *m_warpDensity = nullptr;
    QDoubleSpinBox *m_weftDensity = nullptr;
    QComboBox *m_compartLineColor = nullptr;
    QComboBox *m_gridLineColor = nullptr;
    QSpinBox *m_warpRepeat = nullptr; // hidden
    QSpinBox *m_weftRepeat = nullptr; // hidden
    std::function<void(const QString &)> m_showMessage;
};
