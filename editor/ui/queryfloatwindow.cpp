#include "editor/ui/queryfloatwindow.h"

#include "core/settings/uitexts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
QPointer<TFrmQueryFloat> g_current;
} // namespace

TFrmQueryFloat::TFrmQueryFloat(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowMinimizeButtonHint)
{
    setObjectName(QStringLiteral("FrmQueryFloat"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GetUiString(UiKey::TileWeave::Change_Color_Hint));
    m_label = new QLabel(GetUiString(UiKey::QueryFloat::ExChange_Color_By_Input_Float_Length), this);
    m_float = new QLineEdit(this);
    m_float->setObjectName(QStringLiteral("EdtFloat"));
    // Only digits and commas can be typed.
    m_float->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), m_float));
    m_atMost = new QRadioButton(GetUiString(UiKey::QueryFloat::Less_Than_Or_Eual_To), this);
    m_atMost->setObjectName(QStringLiteral("Less_Than_Or_Eual_To"));
    m_equal = new QRadioButton(GetUiString(UiKey::TileWeave::Equal_To), this);
    m_equal->setObjectName(QStringLiteral("Equal_To"));
    m_equal->setChecked(true);
    m_ok = new QPushButton(GetUiString(UiKey::General::BtnOK), this);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));

    auto *rules = new QHBoxLayout;
    rules->addWidget(m_atMost);
    rules->addWidget(m_equal);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_float);
    layout->addLayout(rules);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
}

TFrmQueryFloat::~TFrmQueryFloat()
{
    disconnect(m_ownerGone);
}

TFrmQueryFloat *TFrmQueryFloat::Current()
{
    return g_current.data();
}

TFrmQueryFloat *TFrmQueryFloat::ShowFloats(
    TPatternGrid *grid, QObject *gridOwner, const TFloatMarking &marking, QWidget *parent)
{
    if (!g_current)
        g_current = new TFrmQueryFloat(parent);
    g_current->Start(grid, gridOwner, marking);
    g_current->show();
    g_current->raise();
    return g_current.data();
}

void TFrmQueryFloat::Start(TPatternGrid *grid, QObject *gridOwner, const TFloatMarking &marking)
{
    m_query.Start(grid, marking);
    disconnect(m_ownerGone);
    m_gridOwner = gridOwner;
    if (gridOwner)
        m_ownerGone = connect(gridOwner, &QObject::destroyed, this, [this] {
            m_query.Forget();
            close();
        });
}

void TFrmQueryFloat::SetFloatText(const QString &text)
{
    m_float->setText(text);
}

void TFrmQueryFloat::SetRule(TFloatQueryRule rule)
{
    (rule == TFloatQueryRule::AtMost ? m_atMost : m_equal)->setChecked(true);
}

bool TFrmQueryFloat::Ok()
{
    QString error;
    const TFloatQueryRule rule = m_atMost->isChecked() ? TFloatQueryRule::AtMost : TFloatQueryRule::EqualTo;
    if (!m_query.Apply(m_float->text(), rule, &error)) {
        QMessageBox::warning(this, windowTitle(), error);
        return false;
    }
    close();
    return true;
}

void TFrmQueryFloat::closeEvent(QCloseEvent *event)
{
    m_query.Restore();
    QWidget::closeEvent(event);
}
