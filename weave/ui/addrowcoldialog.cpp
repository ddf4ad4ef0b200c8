#include "weave/ui/addrowcoldialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/numberedit.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/ui/captionwidth.h"
#include "weave/ui/radiogroup.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace {

TNumricEdit *numberBox(const QString &name, QWidget *parent)
{
    auto *box = new TNumricEdit(parent);
    box->setObjectName(name);
    box->SetNumStyle(TNumStyle::nsInt);
    box->SetIntValue(1);
    return box;
}

} // namespace

TFrmAddDelRowCol::TFrmAddDelRowCol(const TWeave *weave, QWidget *parent)
    : QDialog(parent)
    , m_weave(weave)
{
    setWindowTitle(GetUiString(UiKey::WeaveRowCol::Caption));
    RadGrpAddDel = new TWeaveRadioGroup(GetUiString(UiKey::WeaveRowCol::Edit),
        { GetUiString(UiKey::WeaveRowCol::Add_Rows), GetUiString(UiKey::WeaveRowCol::Add_Columns),
            GetUiString(UiKey::WeaveRowCol::Delete_Rows), GetUiString(UiKey::WeaveRowCol::Delete_Columns) },
        this);
    RadGrpAddDel->setObjectName(QStringLiteral("RadGrpAddDel"));
    RadGrpAddDel->SetItemIndex(RowsAdd);
    EdtStart = numberBox(QStringLiteral("EdtStart"), this);
    EdtNum = numberBox(QStringLiteral("EdtNum"), this);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::WeaveRowCol::Start), EdtStart);
    form->addRow(GetUiString(UiKey::WeaveRowCol::Count), EdtNum);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RadGrpAddDel);
    layout->addLayout(form);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
}

// A start or count the rule refuses keeps the dialog open without a message.
void TFrmAddDelRowCol::accept()
{
    const int item = RadGrpAddDel->ItemIndex();
    if (item < RowsAdd || item > ColumnsDelete)
        return;
    const auto edit = TRowColEdit(item);
    if (!ReadRowColEdit(edit, EdtStart->text(), EdtNum->text(), m_weave, m_start, m_count))
        return;
    m_edit = edit;
    QDialog::accept();
}
