#pragma once
// TFrmTabbySketch and TFrmMultiSketch: the plain-weave outline (平纹勾边) and multi-needle
// outline (多针梭勾边) windows. OK outlines the fore-colour area of the window's document
// (editor/outlines.h) with the grid's fore and back index as they are at that moment.

#include "editor/outlines.h"
#include "editor/ui/gridtoolwindow.h"

class QLabel;
class QSpinBox;
class TRadioGroup;

class TFrmTabbySketch : public TGridToolWindow {
    Q_OBJECT
public:
    explicit TFrmTabbySketch(QWidget *parent = nullptr);
    void ApplyLanguage() override;
    TSketchStart Start() const;
    void SetStart(TSketchStart start);

protected:
    bool runOn(TPatternGrid &grid, QString &error, QString &caption) override;
    QString caption() const override;

private:
    TRadioGroup *m_style = nullptr;
};

class TFrmMultiSketch : public TGridToolWindow {
    Q_OBJECT
public:
    explicit TFrmMultiSketch(QWidget *parent = nullptr);
    void ApplyLanguage() override;
    // Needles (across) and shuttles (down) of a block, 1 to 99 each.
    void SetBlock(int needles, int shuttles);
    int Needles() const;
    int Shuttles() const;

protected:
    bool runOn(TPatternGrid &grid, QString &error, QString &caption) override;
    QString caption() const override;

private:
    QLabel *m_needleLabel = nullptr, *m_shuttleLabel = nullptr;
    QSpinBox *m_needles = nullptr, *m_shuttles = nullptr;
};
