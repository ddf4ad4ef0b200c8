#include "editor/ui/picturesizegroup.h"

#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "editor/ui/digitsbox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TPicSizeGroup::TPicSizeGroup(int width, int height, bool keepRatio, bool stretch, QWidget *parent)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Pattern_Size"));
    m_rules.Start(width, height);
    m_width = NewDigitsBox("RdtPicWidth", MaxPictureSide, 5, this);
    m_height = NewDigitsBox("RdtPicHeight", MaxPictureSide, 5, this);
    m_keepRatio = new QCheckBox(this);
    m_keepRatio->setObjectName(QStringLiteral("Repress_Width_Hight_Ratio"));
    m_percent = new QCheckBox(this);
    m_percent->setObjectName(QStringLiteral("Percent"));
    m_percentBox = NewDigitsBox("RdtPrecent", 99999, 5, this);
    m_percentBox->setText(QStringLiteral("100"));
    m_percentBox->setEnabled(false);
    m_stretch = new QCheckBox(this);
    m_stretch->setObjectName(QStringLiteral("Enlarging_Reducing_Picture"));
    m_stretch->setChecked(stretch);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Warps"), m_width);
    form->addRow(QStringLiteral("Wefts"), m_height);
    form->addRow(m_keepRatio);
    auto *percentRow = new QHBoxLayout;
    percentRow->addWidget(m_percent);
    percentRow->addWidget(m_percentBox);
    form->addRow(percentRow);
    form->addRow(m_stretch);

    m_keepRatio->setChecked(keepRatio);
    m_rules.SetKeepRatio(keepRatio);
    show();

    // Only what the user types answers: the rules' own changes are set with setText, which
    // is not an edit, so they never answer in turn.
    connect(m_width, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_rules.WidthTyped(text))
            m_height->setText(QString::number(m_rules.Height()));
    });
    connect(m_height, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_rules.HeightTyped(text))
            m_width->setText(QString::number(m_rules.Width()));
    });
    connect(m_percentBox, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_rules.PercentTyped(text))
            show();
    });
    connect(m_keepRatio, &QCheckBox::toggled, this, [this](bool on) {
        int w = 0, h = 0;
        if (on && BoxSize(w, h))
            m_rules.WidthTyped(QString::number(w));
        m_rules.SetKeepRatio(on);
        show();
    });
    connect(m_percent, &QCheckBox::toggled, this, [this](bool on) {
        m_width->setEnabled(!on);
        m_height->setEnabled(!on);
        m_keepRatio->setEnabled(!on);
        m_percentBox->setEnabled(on);
        m_rules.SetPercentMode(on, m_percentBox->text().toInt());
        show();
    });
    ApplyLanguage();
}

void TPicSizeGroup::show()
{
    m_width->setText(QString::number(m_rules.Width()));
    m_height->setText(QString::number(m_rules.Height()));
}

void TPicSizeGroup::ApplyLanguage()
{
    setTitle(GetUiString(UiKey::Set_Pattern::Pattern_Size));
    if (auto *form = qobject_cast<QFormLayout *>(layout())) {
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(m_width)))
            label->setText(GetUiString(UiKey::Set_Pattern::Warps));
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(m_height)))
            label->setText(GetUiString(UiKey::Set_Pattern::Wefts));
    }
    m_keepRatio->setText(GetUiString(UiKey::Set_Pattern::Repress_Width_Hight_Ratio));
    m_percent->setText(GetUiString(UiKey::Set_Pattern::Percent));
    m_stretch->setText(GetUiString(UiKey::Set_Pattern::Enlarging_Reducing_Picture));
}

bool TPicSizeGroup::BoxSize(int &width, int &height) const
{
    bool okW = false, okH = false;
    width = m_width->text().toInt(&okW);
    height = m_height->text().toInt(&okH);
    return okW && okH && width >= 1 && height >= 1 && width <= MaxPictureSide && height <= MaxPictureSide;
}

bool TPicSizeGroup::Stretch() const
{
    return m_stretch->isChecked();
}
