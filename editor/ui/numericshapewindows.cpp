#include "editor/ui/numericshapewindows.h"

#include "core/base/geometry.h"
#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/ui/toolwindowkeys.h"
#include "editor/numericshapes.h"
#include "editor/patterngrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

namespace Shape = UiKey::DigitalShape;

// A number box of 1 .. 65,535: five digits.
QSpinBox *numberBox(QWidget *parent, const char *name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(1, MaxNumericShapeValue);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 40);
    return box;
}

// Settings beyond the boxes' range (a damaged file) are brought within it.
void setNumber(QSpinBox *box, std::int32_t value)
{
    box->setValue(std::clamp(value, 1, MaxNumericShapeValue));
}

QLabel *label(QWidget *parent, const QString &text)
{
    return new QLabel(text, parent);
}

// A row of the coordinate grid: its caption, then X and Y.
void coordinateRow(
    QWidget *parent, QGridLayout &grid, int row, const QString &caption, QSpinBox *x, QSpinBox *y)
{
    grid.addWidget(label(parent, caption), row, 0);
    grid.addWidget(x, row, 1);
    grid.addWidget(y, row, 2);
}

// The heading row of a coordinate grid.
void headingRow(QWidget *parent, QGridLayout &grid, int row, bool fromTop)
{
    grid.addWidget(label(parent, GetUiString(Shape::From_Left)), row, 1);
    grid.addWidget(label(parent, GetUiString(fromTop ? Shape::From_Top : Shape::From_Bottom)), row, 2);
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

// ---- The window ---------------------------------------------------------------------------

TNumericShapeWindow::TNumericShapeWindow(const char *objectName, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QLatin1String(objectName));
    setAttribute(Qt::WA_DeleteOnClose);
    m_showMessage = [this](const QString &text) {
        QMessageBox::warning(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    auto *layout = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body);
    m_ok = new QPushButton(GetUiString(UiKey::General::BtnOK), this);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
}

void TNumericShapeWindow::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    m_grid = grid;
    m_gridOwner = gridOwner;
    m_hasOwner = gridOwner != nullptr;
}

// A grid whose document closed is none: the window never reaches a freed grid.
TPatternGrid *TNumericShapeWindow::Grid() const
{
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

bool TNumericShapeWindow::Ok()
{
    TPatternGrid *grid = Grid();
    if (!grid)
        return false;
    QString error;
    if (!place(*grid, error)) {
        if (!error.isEmpty())
            m_showMessage(error);
        return false;
    }
    store();
    Q_EMIT applied();
    close();
    return true;
}

// Enter in a number box is OK, as the default button of a dialog; Escape closes.
void TNumericShapeWindow::keyPressEvent(QKeyEvent *event)
{
    if (!HandleToolWindowKey(*this, *event, [this] { Ok(); }))
        QWidget::keyPressEvent(event);
}

// ---- Rectangle fields ---------------------------------------------------------------------

TRectangleFields::TRectangleFields(QWidget &window, QGridLayout &grid, int firstRow)
    : QObject(&window)
{
    LeftX = numberBox(&window, "RdtLeftX");
    LeftY = numberBox(&window, "RdtLeftY");
    RightX = numberBox(&window, "RdtRightX");
    RightY = numberBox(&window, "RdtRightY");
    Width = numberBox(&window, "RdtWidth");
    Height = numberBox(&window, "RdtHeight");
    Width->setValue(8);
    Height->setValue(8);
    WidthAndHeight = checkBox(&window, "CbxWdAndHi", GetUiString(Shape::CbxWdAndHi));
    headingRow(&window, grid, firstRow, false);
    coordinateRow(&window, grid, firstRow + 1, GetUiString(Shape::Left_Bottom), LeftX, LeftY);
    coordinateRow(&window, grid, firstRow + 2, GetUiString(Shape::Right_Top), RightX, RightY);
    grid.addWidget(WidthAndHeight, firstRow + 3, 0, 1, 3);
    grid.addWidget(label(&window, GetUiString(Shape::Warp_Count)), firstRow + 4, 1);
    grid.addWidget(label(&window, GetUiString(Shape::Weft_Count)), firstRow + 4, 2);
    grid.addWidget(Width, firstRow + 5, 1);
    grid.addWidget(Height, firstRow + 5, 2);
    connect(WidthAndHeight, &QCheckBox::toggled, this, &TRectangleFields::follow);
    follow();
}

void TRectangleFields::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    follow();
}

// The size is offered only when checked, and then the top-right corner is not.
void TRectangleFields::follow()
{
    const bool sized = WidthAndHeight->isChecked();
    LeftX->setEnabled(m_enabled);
    LeftY->setEnabled(m_enabled);
    WidthAndHeight->setEnabled(m_enabled);
    RightX->setEnabled(m_enabled && !sized);
    RightY->setEnabled(m_enabled && !sized);
    Width->setEnabled(m_enabled && sized);
    Height->setEnabled(m_enabled && sized);
}

// ---- Straight line ------------------------------------------------------------------------

TFrmDigitalBeeLine::TFrmDigitalBeeLine(QWidget *parent)
    : TNumericShapeWindow("FrmDigitalBeeLine", parent)
    , m_oneX(numberBox(this, "RdtOneX"))
    , m_oneY(numberBox(this, "RdtOneY"))
    , m_twoX(numberBox(this, "RdtTwoX"))
    , m_twoY(numberBox(this, "RdtTwoY"))
{
    setWindowTitle(GetUiString(Shape::Line_Caption));
    SetHelpKey(this, THelpContext::StraightLine);
    auto *grid = new QGridLayout;
    headingRow(this, *grid, 0, false);
    coordinateRow(this, *grid, 1, GetUiString(Shape::Start_Point), m_oneX, m_oneY);
    coordinateRow(this, *grid, 2, GetUiString(Shape::End_Point), m_twoX, m_twoY);
    body()->addLayout(grid);
    TBeeLineInfo info;
    ReadBeeLineInfo(info);
    SetInfo(info);
}

TBeeLineInfo TFrmDigitalBeeLine::Info() const
{
    return { m_oneX->value(), m_oneY->value(), m_twoX->value(), m_twoY->value() };
}

void TFrmDigitalBeeLine::SetInfo(const TBeeLineInfo &info)
{
    setNumber(m_oneX, info.OnePointX);
    setNumber(m_oneY, info.OnePointY);
    setNumber(m_twoX, info.TwoPointX);
    setNumber(m_twoY, info.TwoPointY);
}

bool TFrmDigitalBeeLine::place(TPatternGrid &grid, QString &)
{
    PlaceBeeLine(grid, Info());
    return true;
}

void TFrmDigitalBeeLine::store() const
{
    WriteBeeLineInfo(Info());
}

// ---- Rectangle ----------------------------------------------------------------------------

TFrmDigitalRectangle::TFrmDigitalRectangle(QWidget *parent)
    : TNumericShapeWindow("FrmDigitalRectangle", parent)
{
    setWindowTitle(GetUiString(Shape::Rectangle_Caption));
    auto *grid = new QGridLayout;
    m_fields = new TRectangleFields(*this, *grid, 0);
    m_filled = checkBox(this, "CbxFilledRectangle", GetUiString(Shape::CbxFilledRectangle));
    m_defineArea = checkBox(this, "CbxDefineArea", GetUiString(Shape::CbxDefineArea));
    body()->addLayout(grid);
    body()->addWidget(m_filled);
    body()->addWidget(m_defineArea);
    TRectangleInfo info;
    ReadRectangleInfo(info);
    SetInfo(info);
}

TRectangleInfo TFrmDigitalRectangle::Info() const
{
    TRectangleInfo info;
    info.LeftBottomX = m_fields->LeftX->value();
    info.LeftBottomY = m_fields->LeftY->value();
    info.RightTopX = m_fields->RightX->value();
    info.RightTopY = m_fields->RightY->value();
    info.IsSetWidthAndHeight = m_fields->WidthAndHeight->isChecked();
    info.IsFilled = m_filled->isChecked();
    info.Width = m_fields->Width->value();
    info.Height = m_fields->Height->value();
    info.IsDefineArea = m_defineArea->isChecked();
    return info;
}

void TFrmDigitalRectangle::SetInfo(const TRectangleInfo &info)
{
    setNumber(m_fields->LeftX, info.LeftBottomX);
    setNumber(m_fields->LeftY, info.LeftBottomY);
    setNumber(m_fields->RightX, info.RightTopX);
    setNumber(m_fields->RightY, info.RightTopY);
    setNumber(m_fields->Width, info.Width);
    setNumber(m_fields->Height, info.Height);
    m_fields->WidthAndHeight->setChecked(info.IsSetWidthAndHeight);
    m_filled->setChecked(info.IsFilled);
    m_defineArea->setChecked(info.IsDefineArea);
}

bool TFrmDigitalRectangle::place(TPatternGrid &grid, QString &)
{
    PlaceRectangle(grid, Info());
    return true;
}

void TFrmDigitalRectangle::store() const
{
    WriteRectangleInfo(Info());
}

// ---- Circle -------------------------------------------------------------------------------

TFrmDigitalCircle::TFrmDigitalCircle(QWidget *parent)
    : TNumericShapeWindow("FrmDigitalCircle", parent)
{
    setWindowTitle(GetUiString(Shape::Circle_Caption));
    m_outRectangle = new QRadioButton(GetUiString(Shape::RbnOutRectangle), this);
    m_outRectangle->setObjectName(QStringLiteral("RbnOutRectangle"));
    m_centre = new QRadioButton(GetUiString(Shape::RbnCircel), this);
    m_centre->setObjectName(QStringLiteral("RbnCircel"));
    m_outRectangle->setChecked(true);
    auto *rectangle = new QGridLayout;
    m_fields = new TRectangleFields(*this, *rectangle, 0);
    m_centreX = numberBox(this, "RdtCircleX");
    m_centreY = numberBox(this, "RdtCircleY");
    m_radius = numberBox(this, "RdtRadius");
    auto *centre = new QGridLayout;
    headingRow(this, *centre, 0, false);
    coordinateRow(this, *centre, 1, GetUiString(Shape::Centre), m_centreX, m_centreY);
    centre->addWidget(label(this, GetUiString(Shape::RdtRadius)), 2, 0);
    centre->addWidget(m_radius, 2, 1);
    m_filled = checkBox(this, "CbxFilledCircle", GetUiString(Shape::CbxFilledCircle));
    m_defineArea = checkBox(this, "CbxDefineArea", GetUiString(Shape::CbxDefineArea));
    body()->addWidget(m_outRectangle);
    body()->addLayout(rectangle);
    body()->addWidget(m_centre);
    body()->addLayout(centre);
    body()->addWidget(m_filled);
    body()->addWidget(m_defineArea);
    connect(m_outRectangle, &QRadioButton::toggled, this, &TFrmDigitalCircle::follow);
    TCircleInfo info;
    ReadCircleInfo(info);
    SetInfo(info);
    follow();
}

void TFrmDigitalCircle::follow()
{
    const bool rectangle = m_outRectangle->isChecked();
    m_fields->SetEnabled(rectangle);
    m_centreX->setEnabled(!rectangle);
    m_centreY->setEnabled(!rectangle);
    m_radius->setEnabled(!rectangle);
}

TCircleInfo TFrmDigitalCircle::Info() const
{
    TCircleInfo info;
    info.LeftBottomX = m_fields->LeftX->value();
    info.LeftBottomY = m_fields->LeftY->value();
    info.RightTopX = m_fields->RightX->value();
    info.RightTopY = m_fields->RightY->value();
    info.CenterPointX = m_centreX->value();
    info.CenterPointY = m_centreY->value();
    info.IsSetWidthAndHeight = m_fields->WidthAndHeight->isChecked();
    info.IsFilled = m_filled->isChecked();
    info.IsSetOutRectangle = m_outRectangle->isChecked();
    info.Width = m_fields->Width->value();
    info.Height = m_fields->Height->value();
    info.Radius = m_radius->value();
    info.IsDefineArea = m_defineArea->isChecked();
    return info;
}

void TFrmDigitalCircle::SetInfo(const TCircleInfo &info)
{
    setNumber(m_fields->LeftX, info.LeftBottomX);
    setNumber(m_fields->LeftY, info.LeftBottomY);
    setNumber(m_fields->RightX, info.RightTopX);
    setNumber(m_fields->RightY, info.RightTopY);
    setNumber(m_fields->Width, info.Width);
    setNumber(m_fields->Height, info.Height);
    setNumber(m_centreX, info.CenterPointX);
    setNumber(m_centreY, info.CenterPointY);
    setNumber(m_radius, info.Radius);
    m_fields->WidthAndHeight->setChecked(info.IsSetWidthAndHeight);
    (info.IsSetOutRectangle ? m_outRectangle : m_centre)->setChecked(true);
    m_filled->setChecked(info.IsFilled);
    m_defineArea->setChecked(info.IsDefineArea);
}

bool TFrmDigitalCircle::place(TPatternGrid &grid, QString &)
{
    PlaceCircle(grid, Info());
    return true;
}

void TFrmDigitalCircle::store() const
{
    WriteCircleInfo(Info());
}

// ---- Copy area ----------------------------------------------------------------------------

TFrmDigitalCopy::TFrmDigitalCopy(TCopier copier, QWidget *parent)
    : TNumericShapeWindow("FrmDigitalCopy", parent)
    , m_copier(std::move(copier))
    , m_startX(numberBox(this, "RdtStartX"))
    , m_startY(numberBox(this, "RdtStartY"))
    , m_width(numberBox(this, "RdtWidth"))
    , m_height(numberBox(this, "RdtHeight"))
{
    setWindowTitle(GetUiString(Shape::Copy_Caption));
    auto *grid = new QGridLayout;
    headingRow(this, *grid, 0, true);
    coordinateRow(this, *grid, 1, GetUiString(Shape::Copy_Start), m_startX, m_startY);
    grid->addWidget(label(this, GetUiString(Shape::Warp_Count)), 2, 1);
    grid->addWidget(label(this, GetUiString(Shape::Weft_Count)), 2, 2);
    grid->addWidget(m_width, 3, 1);
    grid->addWidget(m_height, 3, 2);
    body()->addLayout(grid);
    TCopyAreaInfo info;
    ReadCopyAreaInfo(info);
    SetInfo(info);
}

// The section keeps its key names "LeftBottomX/Y" for the top-left corner: settings files
// written before read the same.
TCopyAreaInfo TFrmDigitalCopy::Info() const
{
    return { m_startX->value(), m_startY->value(), m_width->value(), m_height->value() };
}

void TFrmDigitalCopy::SetInfo(const TCopyAreaInfo &info)
{
    setNumber(m_startX, info.LeftBottomX);
    setNumber(m_startY, info.LeftBottomY);
    setNumber(m_width, info.Width);
    setNumber(m_height, info.Height);
}

bool TFrmDigitalCopy::place(TPatternGrid &grid, QString &error)
{
    QRect area;
    if (!CopyAreaCells(Info(), grid.Picture().width(), grid.Picture().height(), area, &error))
        return false;
    return m_copier && m_copier(grid, area, &error);
}

void TFrmDigitalCopy::store() const
{
    WriteCopyAreaInfo(Info());
}

// ---- Paste to -----------------------------------------------------------------------------

TFrmPasteTo::TFrmPasteTo(TPaster paster, QWidget *parent)
    : TNumericShapeWindow("FrmPasteTo", parent)
    , m_paster(std::move(paster))
    , m_pasteX(numberBox(this, "RdtPasteX"))
    , m_pasteY(numberBox(this, "RdtPasteY"))
{
    setWindowTitle(GetUiString(Shape::PasteTo_Caption));
    auto *grid = new QGridLayout;
    headingRow(this, *grid, 0, true);
    coordinateRow(this, *grid, 1, GetUiString(Shape::Paste_Position), m_pasteX, m_pasteY);
    body()->addLayout(grid);
    TPasteInfo info;
    ReadPasteInfo(info);
    SetInfo(info);
}

TPasteInfo TFrmPasteTo::Info() const
{
    return { m_pasteX->value(), m_pasteY->value() };
}

void TFrmPasteTo::SetInfo(const TPasteInfo &info)
{
    setNumber(m_pasteX, info.LeftTopX);
    setNumber(m_pasteY, info.LeftTopY);
}

bool TFrmPasteTo::place(TPatternGrid &grid, QString &error)
{
    TPoint cell;
    if (!PasteToCell(Info(), grid.Picture().width(), grid.Picture().height(), cell, &error))
        return false;
    return m_paster && m_paster(grid, cell, &error);
}

void TFrmPasteTo::store() const
{
    WritePasteInfo(Info());
}
