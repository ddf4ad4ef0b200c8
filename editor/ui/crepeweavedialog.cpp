#include "editor/ui/crepeweavedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

void TFrmCrepeWeave::forEachRow(const std::function<void(QSpinBox *&, const char *, TUiMessageKey)> &visit)
{
    visit(m_width, "RdtCrepeWeaveWidth", UiKey::String::CrepeWeaveWidth);
    visit(m_height, "RdtCrepeWeaveHeight", UiKey::String::CrepeWeaveHeight);
    visit(m_horz, "RdtCrepeHorz", UiKey::String::CrepeHorz);
    visit(m_vert, "RdtCrepeVert", UiKey::String::CrepeVert);
    visit(m_total, "RdtCrepeTotalSize", UiKey::String::CrepeTotalSize);
}

TFrmCrepeWeave::TFrmCrepeWeave(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmCrepeWeave"));
    SetHelpKey(this, THelpContext::CrepeWeave);
    m_form = new QFormLayout;
    forEachRow([this](QSpinBox *&box, const char *name, TUiMessageKey) {
        box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(1, 99);
        m_form->addRow(new QLabel(this), box);
    });
    // Buttons of our own rather than standard ones: the box would give standard buttons
    // its own texts back on every language change.
    m_buttons = new QDialogButtonBox(this);
    m_ok = m_buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setDefault(true);
    m_cancel = m_buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(m_buttons);
    ApplyLanguage();
    SetOption(TCrepeWeaveOption());
}

void TFrmCrepeWeave::ApplyLanguage()
{
    setWindowTitle(GetUiMessage(UiKey::String::CrepeCaption));
    forEachRow([this](QSpinBox *&box, const char *, TUiMessageKey key) {
        if (auto *label = qobject_cast<QLabel *>(m_form->labelForField(box)))
            label->setText(GetUiMessage(key));
    });
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

void TFrmCrepeWeave::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QDialog::changeEvent(event);
}

void TFrmCrepeWeave::SetOption(const TCrepeWeaveOption &o)
{
    m_width->setValue(o.Width);
    m_height->setValue(o.Height);
    m_horz->setValue(o.Horz);
    m_vert->setValue(o.Vert);
    m_total->setValue(o.TotalSize);
}

TCrepeWeaveOption TFrmCrepeWeave::Option() const
{
    return { m_width->value(), m_height->value(), m_horz->value(), m_vert->value(), m_total->value() };
}
