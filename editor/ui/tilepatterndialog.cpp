#include "editor/ui/tilepatterndialog.h"

#include "core/settings/uitexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmTilePattern::TFrmTilePattern(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmTilePattern"));
    setWindowTitle(GetUiMessage("TilePatternCaption"));
    const QString section = QStringLiteral("TileWeave");
    auto *grid = new QGridLayout;
    const struct {
        QCheckBox *&box;
        QSpinBox *&length;
        const char *boxName, *key, *lengthName;
    } sides[] = { { m_left, m_leftLength, "CbxLeftRemain", "Left_Remain", "RdtLeftLength" },
        { m_right, m_rightLength, "CbxRightRemain", "Right_Remain", "RdtRightLength" },
        { m_top, m_topLength, "CbxTopRemain", "Top_Remain", "RdtTopLength" },
        { m_bottom, m_bottomLength, "CbxBottomRemain", "Bottom_Remain", "RdtBottomLength" } };
    int row = 0;
    for (const auto &s : sides) {
        s.box = new QCheckBox(GetUiString(section, QString::fromLatin1(s.key)), this);
        s.box->setObjectName(QString::fromLatin1(s.boxName));
        s.length = new QSpinBox(this);
        s.length->setObjectName(QString::fromLatin1(s.lengthName));
        s.length->setRange(1, 99);
        grid->addWidget(s.box, row, 0);
        grid->addWidget(s.length, row, 1);
        ++row;
    }
    m_float = new QSpinBox(this);
    m_float->setObjectName(QStringLiteral("RdtFloat"));
    m_float->setRange(0, 99);
    grid->addWidget(new QLabel(GetUiString(section, "Float_Hint"), this), row, 0);
    grid->addWidget(m_float, row, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOk"));
    buttons->button(QDialogButtonBox::Ok)->setText(GetUiString("General", "BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(GetUiString("General", "BtnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    SetParam(m_param);
}

void TFrmTilePattern::SetParam(const TTilePatternParam &p)
{
    m_param = p;
    m_left->setChecked(p.IsLeftLeft);
    m_right->setChecked(p.IsRightLeft);
    m_top->setChecked(p.IsTopLeft);
    m_bottom->setChecked(p.IsBottomLeft);
    m_leftLength->setValue(p.LeftLength);
    m_rightLength->setValue(p.RightLength);
    m_topLength->setValue(p.TopLength);
    m_bottomLength->setValue(p.BottomLength);
    m_float->setValue(p.FloatLength);
}

TTilePatternParam TFrmTilePattern::Param() const
{
    TTilePatternParam p = m_param;
    p.IsLeftLeft = m_left->isChecked();
    p.IsRightLeft = m_right->isChecked();
    p.IsTopLeft = m_top->isChecked();
    p.IsBottomLeft = m_bottom->isChecked();
    p.LeftLength = m_leftLength->value();
    p.RightLength = m_rightLength->value();
    p.TopLength = m_topLength->value();
    p.BottomLength = m_bottomLength->value();
    p.FloatLength = m_float->value();
    return p;
}
