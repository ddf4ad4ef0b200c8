#pragma once
// The numeric-shape windows: a straight line (设定直线点), rectangle (设置矩形), circle
// (设置圆), copy area (设置拷贝区域) or paste position (粘贴到) typed as numbers.
// Tool windows on top of the main window that act on the grid of the active document and
// follow it (SetGrid); each opens with its settings section, and OK places the shape (or
// copies, or pastes), writes the section and closes the window. Escape and Cancel close it
// without either. Coordinates are those of editor/numericshapes.h.

#include "core/settings/settings.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;
class TPatternGrid;
struct TPoint;

class TNumericShapeWindow : public QWidget {
    Q_OBJECT
public:
    // The document worked on (null: none, and OK does nothing); gridOwner ends the grid.
    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const;
    // OK: false when there is no document or the values are refused (the reason is shown);
    // the window then stays open.
    bool Ok();
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }

Q_SIGNALS:
    // The grid's picture or selection changed.
    void applied();

protected:
    TNumericShapeWindow(const char *objectName, QWidget *parent);
    // The body's rows go here; the buttons follow.
    QVBoxLayout *body() const { return m_body; }
    // Acts on grid with the values; false (with error) when refused.
    virtual bool place(TPatternGrid &grid, QString &error) = 0;
    // Writes the settings section.
    virtual void store() const = 0;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    QVBoxLayout *m_body = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
    std::function<void(const QString &)> m_showMessage;
};

// The rectangle fields the rectangle and circle windows share: the bottom-left and top-right
// corners, or the bottom-left corner with a width and height (CbxWdAndHi).
class TRectangleFields : public QObject {
    Q_OBJECT
public:
    // The fields in rows from firstRow of grid.
    TRectangleFields(QWidget &window, QGridLayout &grid, int firstRow);
    QSpinBox *LeftX = nullptr, *LeftY = nullptr, *RightX = nullptr, *RightY = nullptr;
    QSpinBox *Width = nullptr, *Height = nullptr;
    QCheckBox *WidthAndHeight = nullptr;
    // The top-right corner or the size is offered, as the check box says; off: none.
    void SetEnabled(bool enabled);

private:
    void follow();
    bool m_enabled = true;
};

class TFrmDigitalBeeLine : public TNumericShapeWindow {
    Q_OBJECT
public:
    explicit TFrmDigitalBeeLine(QWidget *parent = nullptr);
    TBeeLineInfo Info() const;
    void SetInfo(const TBeeLineInfo &info);

protected:
    bool place(TPatternGrid &grid, QString &error) override;
    void store() const override;

private:
    QSpinBox *m_oneX, *m_oneY, *m_twoX, *m_twoY;
};

class TFrmDigitalRectangle : public TNumericShapeWindow {
    Q_OBJECT
public:
    explicit TFrmDigitalRectangle(QWidget *parent = nullptr);
    TRectangleInfo Info() const;
    void SetInfo(const TRectangleInfo &info);

protected:
    bool place(TPatternGrid &grid, QString &error) override;
    void store() const override;

private:
    TRectangleFields *m_fields;
    QCheckBox *m_filled, *m_defineArea;
};

class TFrmDigitalCircle : public TNumericShapeWindow {
    Q_OBJECT
public:
    explicit TFrmDigitalCircle(QWidget *parent = nullptr);
    TCircleInfo Info() const;
    void SetInfo(const TCircleInfo &info);

protected:
    bool place(TPatternGrid &grid, QString &error) override;
    void store() const override;

private:
    void follow();
    QRadioButton *m_outRectangle, *m_centre;
    TRectangleFields *m_fields;
    QSpinBox *m_centreX, *m_centreY, *m_radius;
    QCheckBox *m_filled, *m_defineArea;
};

class TFrmDigitalCopy : public TNumericShapeWindow {
    Q_OBJECT
public:
    // What selects and copies an area of the grid (cells, clipped to the picture); false
    // with a reason when it cannot.
    using TCopier = std::function<bool(TPatternGrid &, const QRect &, QString *)>;
    explicit TFrmDigitalCopy(TCopier copier, QWidget *parent = nullptr);
    TCopyAreaInfo Info() const;
    void SetInfo(const TCopyAreaInfo &info);

protected:
    bool place(TPatternGrid &grid, QString &error) override;
    void store() const override;

private:
    TCopier m_copier;
    QSpinBox *m_startX, *m_startY, *m_width, *m_height;
};

class TFrmPasteTo : public TNumericShapeWindow {
    Q_OBJECT
public:
    // What pastes the clipboard as a floating piece with its top-left at a cell; false with
    // a reason when it cannot.
    using TPaster = std::function<bool(TPatternGrid &, TPoint, QString *)>;
    explicit TFrmPasteTo(TPaster paster, QWidget *parent = nullptr);
    TPasteInfo Info() const;
    void SetInfo(const TPasteInfo &info);

protected:
    bool place(TPatternGrid &grid, QString &error) override;
    void store() const override;

private:
    TPaster m_paster;
    QSpinBox *m_pasteX, *m_pasteY;
};
