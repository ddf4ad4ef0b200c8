#include "shell/ui/scannerdialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

TFrmSelectScanner::TFrmSelectScanner(const QList<TScanDevice> &devices, QWidget *parent)
    : QDialog(parent)
    , m_devices(devices)
{
    setObjectName(QStringLiteral("FrmSelectScanner"));
    setWindowTitle(GetUiString(UiKey::Scan::Choose_Device));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LstDevices"));
    for (const TScanDevice &device : devices)
        m_list->addItem(device.Label());
    if (!devices.isEmpty())
        m_list->setCurrentRow(0);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(NewOkCancelButtons(this));
}

QString TFrmSelectScanner::ChosenDevice() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_devices.size() ? m_devices[row].Name : QString();
}
