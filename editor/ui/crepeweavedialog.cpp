#include "editor/ui/crepeweavedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmCrepeWeave::TFrmCrepeWeave(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmCrepeWeave"));
    SetHelpKey(this, THelpContext::CrepeWeave);
    setWindowTitle(GetUiMessage(UiKey::String::CrepeCaption));
    auto *form = new QFormLayout;
    const struct {
        QSpinBox *&box;
        const char *name;
        TUiMessageKey label;
    } rows[] = {
        { m_width, "RdtCrepeWeaveWidth", UiKey::String::CrepeWeaveWidth },
        { m_height, "RdtCrepeWeaveHeight", UiKey::String::CrepeWeaveHeight },
        { m_horz, "RdtCrepeHorz", UiKey::String::CrepeHorz },
        { m_vert, "RdtCrepeVert", UiKey::String::CrepeVert },
        { m_total, "RdtCrepeTotalSize", UiKey::String::CrepeTotalSize },
    };
    for (const auto &r : rows) {
        r.box = new QSpinBox(this);
        r.box->setObjectName(QString::fromLatin1(r.name));
        r.box->setRange(1, 99);
        form->addRow(GetUiMessage(r.label), r.box);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(GetUiString(UiKey::General::BtnOK));
    buttons->button(QDialogButtonBox::Cancel)->setText(GetUiString(UiKey::General::BtnCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    SetOption(TCrepeWeaveOption());
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
