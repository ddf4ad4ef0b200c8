#include "editor/ui/tileweavewindow.h"

#include "core/base/messages.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "weave/weavefile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QSpinBox *lengthBox(QWidget *parent, const char *name, int low)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, 99);
    return box;
}
} // namespace

TFrmTileWeave::TFrmTileWeave(QObject *colorSource, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_colorSource(colorSource)
{
    setObjectName(QStringLiteral("FrmTileWeave"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_showMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::TileErrorCaption), text);
    };

    auto *layout = new QVBoxLayout(this);
    QGridLayout *margins = buildMargins();
    buildConditions(margins);
    layout->addLayout(margins);
    layout->addLayout(buildWeaveRow());
    layout->addWidget(buildColorTable(), 1);
    layout->addLayout(buildButtons());

    ApplyLanguage();
    SetParam(TTileWeaveParam {});
    SetWeave(TWeaveArray(), QString());
    adjustSize();
    m_baseHeight = height();
    if (m_colorSource)
        m_colorSource->installEventFilter(this);
}

// The four untiled margins, two a row: each side's box and its length.
QGridLayout *TFrmTileWeave::buildMargins()
{
    auto *margins = new QGridLayout;
    const struct {
        QCheckBox *&box;
        QSpinBox *&length;
        const char *boxName, *lengthName;
    } sides[] = { { m_margins.Left, m_margins.LeftLength, "Left_Remain", "RdtLeftLength" },
        { m_margins.Right, m_margins.RightLength, "Right_Remain", "RdtRightLength" },
        { m_margins.Top, m_margins.TopLength, "Top_Remain", "RdtTopLength" },
        { m_margins.Bottom, m_margins.BottomLength, "Bottom_Remain", "RdtBottomLength" } };
    int row = 0;
    for (const auto &s : sides) {
        s.box = new QCheckBox(this);
        s.box->setObjectName(QString::fromLatin1(s.boxName));
        s.length = lengthBox(this, s.lengthName, 1);
        margins->addWidget(s.box, row / 2, (row % 2) * 2);
        margins->addWidget(s.length, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    return margins;
}

// The float length, the colour-change hint and the point and float conditions, in the
// rows under the margins.
void TFrmTileWeave::buildConditions(QGridLayout *grid)
{
    m_floatLabel = new QLabel(this);
    m_margins.Float = lengthBox(this, "RdtFloat", 0);
    m_changeColorHint = new QCheckBox(this);
    m_changeColorHint->setObjectName(QStringLiteral("Change_Color_Hint"));
    m_pointLabel = new QLabel(this);
    m_pointCondition = new QComboBox(this);
    m_pointCondition->setObjectName(QStringLiteral("Change_Or_Search_Point_Condition"));
    m_floatConditionLabel = new QLabel(this);
    m_floatCondition = new QComboBox(this);
    m_floatCondition->setObjectName(QStringLiteral("Float_Condition"));
    m_pointCondition->addItems({ QString(), QString() });
    m_floatCondition->addItems({ QString(), QString() });
    grid->addWidget(m_floatLabel, 2, 0);
    grid->addWidget(m_margins.Float, 2, 1);
    grid->addWidget(m_changeColorHint, 2, 2, 1, 2);
    grid->addWidget(m_pointLabel, 3, 0);
    grid->addWidget(m_pointCondition, 3, 1);
    grid->addWidget(m_floatConditionLabel, 3, 2);
    grid->addWidget(m_floatCondition, 3, 3);
}

QHBoxLayout *TFrmTileWeave::buildWeaveRow()
{
    m_weaveName = new QLabel(this);
    m_weaveName->setObjectName(QStringLiteral("WeaveName"));
    m_weaveFile = new QPushButton(this);
    m_weaveFile->setObjectName(QStringLiteral("WeaveFile"));
    auto *weaveRow = new QHBoxLayout;
    weaveRow->addWidget(m_weaveName, 1);
    weaveRow->addWidget(m_weaveFile);
    connect(m_weaveFile, &QPushButton::clicked, this, &TFrmTileWeave::chooseWeaveFile);
    return weaveRow;
}

// The chosen colours: a swatch and the float lengths typed for each.
QTableWidget *TFrmTileWeave::buildColorTable()
{
    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("DrdSelectedColor"));
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 40);
    m_table->setMinimumHeight(m_table->verticalHeader()->defaultSectionSize() + 4);
    return m_table;
}

QHBoxLayout *TFrmTileWeave::buildButtons()
{
    m_reset = new QPushButton(this);
    m_reset->setObjectName(QStringLiteral("Reset"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("Save_Parameter"));
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : { m_reset, m_save, m_ok, m_cancel })
        buttons->addWidget(b);
    connect(m_reset, &QPushButton::clicked, this, &TFrmTileWeave::Reset);
    connect(m_save, &QPushButton::clicked, this, &TFrmTileWeave::SaveParameter);
    connect(m_ok, &QPushButton::clicked, this, [this] { Tile(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    return buttons;
}

TFrmTileWeave::~TFrmTileWeave()
{
    if (m_colorSource)
        m_colorSource->removeEventFilter(this);
}

void TFrmTileWeave::ApplyLanguage()
{
    const QString section = QStringLiteral("TileWeave");
    setWindowTitle(GetUiMessage(UiKey::String::TileWeaveCaption));
    for (QCheckBox *b :
        { m_margins.Left, m_margins.Right, m_margins.Top, m_margins.Bottom, m_changeColorHint })
        b->setText(GetUiString(section, b->objectName()));
    m_floatLabel->setText(GetUiString(UiKey::TileWeave::Float_Hint));
    m_pointLabel->setText(GetUiString(UiKey::TileWeave::Change_Or_Search_Point_Condition));
    m_floatConditionLabel->setText(GetUiString(UiKey::TileWeave::Float_Condition));
    m_pointCondition->setItemText(0, GetUiString(UiKey::TileWeave::High_Point));
    m_pointCondition->setItemText(1, GetUiString(UiKey::TileWeave::Low_Point));
    m_floatCondition->setItemText(0, GetUiString(UiKey::TileWeave::Less_Than));
    m_floatCondition->setItemText(1, GetUiString(UiKey::TileWeave::Equal_To));
    m_weaveFile->setText(GetUiMessage(UiKey::String::TileWeaveFile));
    m_reset->setText(GetUiString(UiKey::SelectedColor::Reset_Two));
    m_save->setText(GetUiString(UiKey::TileWeave::Save_Parameter));
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
    SetWeave(m_weave, m_weaveLabel);
}

void TFrmTileWeave::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    m_grid = grid;
    m_gridOwner = gridOwner;
    m_hasOwner = gridOwner != nullptr;
}

TPatternGrid *TFrmTileWeave::Grid() const
{
    // The grid ends with its owner.
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

void TFrmTileWeave::SetParam(const TTileWeaveParam &p)
{
    m_margins.Show(p);
    m_changeColorHint->setChecked(p.ChangeColorHint);
    m_pointCondition->setCurrentIndex(p.FindHigh ? 0 : 1);
}

TTileWeaveParam TFrmTileWeave::Param() const
{
    TTileWeaveParam p;
    m_margins.ReadInto(p);
    p.ChangeColorHint = m_changeColorHint->isChecked();
    p.FindHigh = m_pointCondition->currentIndex() == 0;
    return p;
}

void TFrmTileWeave::SetFloatRule(TTileFloatRule rule)
{
    m_floatCondition->setCurrentIndex(rule == TTileFloatRule::LessThan ? 0 : 1);
}

TTileFloatRule TFrmTileWeave::FloatRule() const
{
    return m_floatCondition->currentIndex() == 0 ? TTileFloatRule::LessThan : TTileFloatRule::EqualTo;
}

void TFrmTileWeave::SetWeave(const TWeaveArray &weave, const QString &name)
{
    m_weave = weave;
    m_weaveLabel = name;
    const bool none = IsTileWeaveEmpty(weave);
    m_weaveName->setText(
        GetUiMessage(UiKey::String::TileWeaveName)
            .arg(none ? QStringLiteral("-")
                      : QStringLiteral("%1 (%2 x %3)").arg(name).arg(weave.length()).arg(weave[0].length())));
}

void TFrmTileWeave::TakePickedWeave()
{
    const TPatternGrid *grid = Grid();
    if (!grid || IsTileWeaveEmpty(grid->PickedWeave()))
        return;
    const QString &file = grid->PickedWeaveFile();
    SetWeave(grid->PickedWeave(),
        file.isEmpty() ? GetUiString(UiKey::TileWeave::Weave_Library) : QFileInfo(file).completeBaseName());
}

bool TFrmTileWeave::LoadWeave(const QString &fileName, QString *error)
{
    TWeaveArray weave;
    if (!LoadWeaveFile(fileName, weave, error))
        return false;
    SetWeave(weave, QFileInfo(fileName).fileName());
    return true;
}

void TFrmTileWeave::chooseWeaveFile()
{
    const QString fileName = QFileDialog::getOpenFileName(this, GetUiMessage(UiKey::String::TileWeaveFile),
        QString(), QStringLiteral("%1 (*.ovw *.OVW)").arg(GetUiString(UiKey::TileWeave::Weave_Library)));
    if (fileName.isEmpty())
        return;
    QString error;
    if (!LoadWeave(fileName, &error))
        m_showMessage(error);
}

void TFrmTileWeave::AddColor(int index)
{
    TPatternGrid *grid = Grid();
    if (!grid || !AddTileColor(m_colors, grid->Palette(), index))
        return;
    const TTileColorEntry &e = m_colors.back();
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    auto *swatch = new QTableWidgetItem;
    swatch->setFlags(Qt::ItemIsEnabled);
    swatch->setBackground(QColor(e.Color.Red, e.Color.Green, e.Color.Blue));
    swatch->setToolTip(QString::number(e.Index));
    m_table->setItem(row, 0, swatch);
    m_table->setItem(row, 1, new QTableWidgetItem(QString()));
    fitHeight();
}

void TFrmTileWeave::SyncPalette()
{
    const TPatternGrid *grid = Grid();
    if (!grid)
        return;
    const TPalette256 &palette = grid->Palette();
    for (qsizetype i = 0; i < m_colors.size(); ++i) {
        TTileColorEntry &e = m_colors[i];
        e.Color = palette[e.Index];
        if (QTableWidgetItem *swatch = m_table->item(int(i), 0))
            swatch->setBackground(QColor(e.Color.Red, e.Color.Green, e.Color.Blue));
    }
}

TTileColorList TFrmTileWeave::Colors() const
{
    TTileColorList out = m_colors;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (const QTableWidgetItem *item = m_table->item(int(i), 1))
            out[i].FloatText = item->text();
    return out;
}

void TFrmTileWeave::SetFloatText(int row, const QString &text)
{
    if (QTableWidgetItem *item = m_table->item(row, 1))
        item->setText(text);
}

// The window grows by one row height per colour, as far as the screen allows.
void TFrmTileWeave::fitHeight()
{
    const int rowHeight = m_table->verticalHeader()->defaultSectionSize();
    resize(width(), m_baseHeight + rowHeight * int(m_colors.size()));
}

void TFrmTileWeave::Reset()
{
    m_colors.clear();
    m_table->setRowCount(0);
    resize(width(), m_baseHeight);
    Q_EMIT colorPickToolWanted();
}

void TFrmTileWeave::storeSettings()
{
    const TTileWeaveParam param = Param();
    StoreTileWeaveParam(param, Grid());
    Q_EMIT settingsStored(param);
}

void TFrmTileWeave::SaveParameter()
{
    storeSettings();
    close();
}

bool TFrmTileWeave::Tile()
{
    storeSettings();
    TPatternGrid *grid = Grid();
    if (!grid)
        return false;
    QString error;
    if (!TileWeaveOverColors(*grid, m_weave, Colors(), Param(), FloatRule(), &error)) {
        m_showMessage(error);
        return false;
    }
    return true;
}

bool TFrmTileWeave::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_colorSource && event->type() == QEvent::Type(WM_COLORPICKED))
        if (const TColorPickInfo *info = static_cast<TMessageEvent *>(event)->ColorPickInfo())
            AddColor(info->Index);
    return QWidget::eventFilter(watched, event);
}

void TFrmTileWeave::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
