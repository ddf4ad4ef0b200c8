#include "editor/ui/clothsidewindow.h"

#include "core/settings/uitexts.h"
#include "core/ui/toolwindowkeys.h"
#include "editor/patterngrid.h"
#include "editor/ui/colorswatch.h"
#include "weave/weavefile.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmAddClothSide::TFrmAddClothSide(TPatternGrid *grid, QObject *gridOwner, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_grid(grid)
    , m_gridOwner(gridOwner)
    , m_hasOwner(gridOwner != nullptr)
{
    setObjectName(QStringLiteral("FrmAddClothSide"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_showMessage = [this](const QString &text) {
        QMessageBox::warning(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    auto *layout = new QVBoxLayout(this);
    auto *sides = new QHBoxLayout;
    sides->addWidget(buildSide(Left));
    sides->addWidget(buildSide(Right));
    layout->addLayout(sides);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    if (gridOwner)
        connect(gridOwner, &QObject::destroyed, this, &QWidget::close);
    ApplyLanguage();
    ChooseColorTarget(Left);
}

QWidget *TFrmAddClothSide::buildSide(TSideId side)
{
    TSideControls &c = m_sides[side];
    const QString suffix = side == Left ? QStringLiteral("Left") : QStringLiteral("Right");
    auto *box = new QWidget(this);
    auto *grid = new QGridLayout(box);
    c.Caption = new QLabel(box);
    c.ColorLabel = new QLabel(box);
    c.WarpLabel = new QLabel(box);
    c.WeaveLabel = new QLabel(box);
    c.Swatch = new TColorSwatch(QStringLiteral("ImgColor") + suffix, box);
    c.Warps = new QSpinBox(box);
    c.Warps->setObjectName(QStringLiteral("RdtWarp") + suffix);
    c.Warps->setRange(0, 65535);
    c.WeavePanel = new QPushButton(box);
    c.WeavePanel->setObjectName(QStringLiteral("PalWeave") + suffix);
    c.WeavePanel->setFlat(true);
    c.WeavePanel->setAutoFillBackground(true);
    grid->addWidget(c.Caption, 0, 0, 1, 2);
    grid->addWidget(c.ColorLabel, 1, 0);
    grid->addWidget(c.Swatch, 1, 1);
    grid->addWidget(c.WarpLabel, 2, 0);
    grid->addWidget(c.Warps, 2, 1);
    grid->addWidget(c.WeaveLabel, 3, 0);
    grid->addWidget(c.WeavePanel, 3, 1);
    connect(c.Swatch, &TColorSwatch::clicked, this, [this, side] { ChooseColorTarget(side); });
    connect(c.WeavePanel, &QPushButton::clicked, this, [this, side] { ChooseWeaveTarget(side); });
    return box;
}

void TFrmAddClothSide::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::MainMenu::Add_Side));
    for (TSideId side : { Left, Right }) {
        TSideControls &c = m_sides[side];
        c.Caption->setText(GetUiMessage(side == Left ? UiKey::String::Left_Side : UiKey::String::Right_Side));
        c.ColorLabel->setText(GetUiMessage(UiKey::String::Color));
        c.WarpLabel->setText(GetUiMessage(UiKey::String::WarpCount));
        c.WeaveLabel->setText(GetUiMessage(UiKey::String::Weave));
        showSide(side);
    }
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

TPatternGrid *TFrmAddClothSide::Grid() const
{
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

TClothSide TFrmAddClothSide::Side(TSideId side) const
{
    TClothSide s = m_sides[side].Side;
    s.Warps = m_sides[side].Warps->value();
    return s;
}

QString TFrmAddClothSide::WeaveName(TSideId side) const
{
    return m_sides[side].WeaveName;
}

void TFrmAddClothSide::SetWarps(TSideId side, int warps)
{
    m_sides[side].Warps->setValue(warps);
}

// A side without a colour shows black; the weave target is blue with white text.
void TFrmAddClothSide::showSide(TSideId side)
{
    TSideControls &c = m_sides[side];
    const TPatternGrid *grid = Grid();
    const int index = c.Side.ColorIndex;
    QColor color = Qt::black;
    if (grid && index >= 0 && index <= 255) {
        const TPaletteEntry &e = grid->Palette()[index];
        color = QColor(e.Red, e.Green, e.Blue);
    }
    c.Swatch->SetColor(color);
    c.Swatch->SetTarget(m_colorTarget == side);
    c.WeavePanel->setText(
        c.WeaveName.isEmpty() ? GetUiMessage(UiKey::String::ClothSideNoWeave) : c.WeaveName);
    c.WeavePanel->setStyleSheet(
        m_weaveTarget == side ? QStringLiteral("background-color: blue; color: white;") : QString());
}

void TFrmAddClothSide::ChooseColorTarget(TSideId side)
{
    m_colorTarget = side;
    showSide(Left);
    showSide(Right);
}

void TFrmAddClothSide::ChooseWeaveTarget(TSideId side)
{
    m_weaveTarget = side;
    showSide(Left);
    showSide(Right);
}

void TFrmAddClothSide::ColorPicked(int index)
{
    if (index < 0 || index > 255)
        return;
    m_sides[m_colorTarget].Side.ColorIndex = index;
    showSide(Left);
    showSide(Right);
}

bool TFrmAddClothSide::TakeWeaveFile(const QString &fileName)
{
    if (m_weaveTarget < 0 || fileName.isEmpty())
        return false;
    TWeaveArray weave;
    QString error;
    if (!LoadWeaveFile(fileName, weave, &error)) {
        m_showMessage(error);
        return false;
    }
    TSideControls &c = m_sides[m_weaveTarget];
    c.Side.Weave = weave;
    c.WeaveName = QFileInfo(fileName).completeBaseName();
    showSide(TSideId(m_weaveTarget));
    return true;
}

bool TFrmAddClothSide::Ok()
{
    TPatternGrid *grid = Grid();
    if (!grid)
        return false;
    QString error;
    if (!AddClothSides(*grid, Side(Left), Side(Right), &error)) {
        if (!error.isEmpty())
            m_showMessage(error);
        return false;
    }
    Q_EMIT applied();
    close();
    return true;
}

void TFrmAddClothSide::keyPressEvent(QKeyEvent *event)
{
    if (!HandleToolWindowKey(*this, *m_ok, *event))
        QWidget::keyPressEvent(event);
}

void TFrmAddClothSide::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QWidget::changeEvent(event);
}
