#include "editor/ui/tilepatterndialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"

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
    setWindowTitle(GetUiMessage(UiKey::String::TilePatternCaption));
    const QString section = QStringLiteral("TileWeave");
    auto *grid = new QGridLayout;
    const struct {
        QCheckBox *&box;
        QSpinBox *&length;
        const char *boxName, *key, *lengthName;
    } sides[] = { { m_margins.Left, m_margins.LeftLength, "CbxLeftRemain", "Left_Remain", "RdtLeftLength" },
        { m_margins.Right, m_margins.RightLength, "CbxRightRemain", "Right_Remain", "RdtRightLength" },
        { m_margins.Top, m_margins.TopLength, "CbxTopRemain", "Top_Remain", "RdtTopLength" },
        { m_margins.Bottom, m_margins.BottomLength, "CbxBottomRemain", "Bottom_Remain", "RdtBottomLength" } };
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
    m_margins.Float = new QSpinBox(this);
    m_margins.Float->setObjectName(QStringLiteral("RdtFloat"));
    m_margins.Float->setRange(0, 99);
    grid->addWidget(new QLabel(GetUiString(UiKey::TileWeave::Float_Hint), this), row, 0);
    grid->addWidget(m_margins.Float, row, 1);

    auto *buttons = NewOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOk"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    SetParam(m_param);
}

void TFrmTilePattern::SetParam(const TTilePatternParam &p)
{
    m_param = p;
    m_margins.Show(p);
}

TTilePatternParam TFrmTilePattern::Param() const
{
    TTilePatternParam p = m_param;
    m_margins.ReadInto(p);
    return p;
}
