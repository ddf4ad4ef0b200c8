#include "editor/ui/gridtoolwindow.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TGridToolWindow::TGridToolWindow(const char *objectName, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QString::fromLatin1(objectName));
    setAttribute(Qt::WA_DeleteOnClose);
    m_showMessage
        = [this](const QString &text, const QString &title) { QMessageBox::critical(this, title, text); };
    auto *layout = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body);
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
    connect(m_ok, &QPushButton::clicked, this, [this] { Run(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
}

void TGridToolWindow::finishLayout()
{
    ApplyLanguage();
    adjustSize();
}

void TGridToolWindow::ApplyLanguage()
{
    setWindowTitle(caption());
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

void TGridToolWindow::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    m_grid = grid;
    m_gridOwner = gridOwner;
    m_hasOwner = gridOwner != nullptr;
}

TPatternGrid *TGridToolWindow::Grid() const
{
    // The grid ends with its owner.
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

bool TGridToolWindow::Run()
{
    TPatternGrid *grid = Grid();
    if (!grid || grid->Picture().isNull())
        return false;
    QString error, title = caption();
    if (runOn(*grid, error, title))
        return true;
    if (!error.isEmpty() && m_showMessage)
        m_showMessage(error, title);
    return false;
}

void TGridToolWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
