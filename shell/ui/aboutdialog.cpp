#include "shell/ui/aboutdialog.h"

#include "core/settings/uitexts.h"

#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString kProduct = QStringLiteral("Dorwen CAD");

// A flat button that opens an address in the desktop's own program for it.
QPushButton *linkButton(const QString &caption, const QUrl &url, const char *name)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    QObject::connect(button, &QPushButton::clicked, button, [url] { QDesktopServices::openUrl(url); });
    return button;
}
} // namespace

QString TFrmAbout::HomePageUrl()
{
    return QStringLiteral(DORWEN_HOMEPAGE_URL);
}
QString TFrmAbout::ContactAddress()
{
    return QStringLiteral(DORWEN_CONTACT);
}
QString TFrmAbout::Version()
{
    return QStringLiteral(DORWEN_VERSION);
}

TFrmAbout::TFrmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GetUiString(UiKey::About::Caption).arg(kProduct + QLatin1Char(' ') + Version()));
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl"));
    m_pages->addWidget(programPage());
    m_pages->addWidget(contactPage());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    auto *turn = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Home), this);
    connect(
        turn, &QShortcut::activated, this, [this] { m_pages->setCurrentIndex(1 - m_pages->currentIndex()); });
}

int TFrmAbout::CurrentPage() const
{
    return m_pages->currentIndex();
}

QWidget *TFrmAbout::programPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabProgram"));
    auto *logo = new QLabel(page);
    logo->setObjectName(QStringLiteral("ImgLogo"));
    logo->setPixmap(QIcon(QStringLiteral(":/desktop/dorwen-cad.svg")).pixmap(64, 64));
    auto *name = new QLabel(QStringLiteral("<b>%1</b>").arg(kProduct), page);
    auto *version = new QLabel(GetUiString(UiKey::About::Version).arg(Version()), page);
    version->setObjectName(QStringLiteral("LblVersion"));
    auto *what = new QLabel(GetUiString(UiKey::About::Description), page);
    auto *layout = new QVBoxLayout(page);
    for (QWidget *w : { static_cast<QWidget *>(logo), static_cast<QWidget *>(name),
             static_cast<QWidget *>(version), static_cast<QWidget *>(what) })
        layout->addWidget(w, 0, Qt::AlignHCenter);
    layout->addWidget(linkButton(GetUiString(UiKey::About::Home_Page) + QStringLiteral(": ") + HomePageUrl(),
                          QUrl(HomePageUrl()), "PnlWeb"),
        0, Qt::AlignHCenter);
    return page;
}

QWidget *TFrmAbout::contactPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabContact"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(kProduct), page), 0, Qt::AlignHCenter);
    layout->addWidget(linkButton(GetUiString(UiKey::About::Mail) + QStringLiteral(": ") + ContactAddress(),
                          QUrl(QStringLiteral("mailto:") + ContactAddress()), "LblMail"),
        0, Qt::AlignHCenter);
    layout->addStretch();
    return page;
}
