#include "shell/ui/picturelistdialog.h"

#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/picturejoin.h"
#include "shell/documentquestions.h"
#include "shell/pictureformats.h"
#include "shell/ui/openpicturedialog.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QSize PreviewBox(131, 161);

QPushButton *newButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TPictureListPreview::TPictureListPreview(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ImgPreview"));
    setFixedSize(PreviewBox + QSize(2, 2));
}

void TPictureListPreview::SetPicture(const QImage &picture)
{
    m_shown = PicturePreviewImage(picture);
    update();
}

QRect TPictureListPreview::ShownRect() const
{
    if (m_shown.isNull())
        return QRect();
    return QRect(QPoint((width() - m_shown.width()) / 2, (height() - m_shown.height()) / 2), m_shown.size());
}

void TPictureListPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (!m_shown.isNull())
        painter.drawImage(ShownRect().topLeft(), m_shown);
}

TPictureListDialog::TPictureListDialog(TDocumentQuestions &questions, QWidget *parent)
    : QDialog(parent)
    , m_questions(questions)
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LbxPath"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("EdtPath"));
    m_browse = newButton(this, "BtnBrowse");
    m_browse->setText(QStringLiteral("..."));
    m_add = newButton(this, "Add");
    m_del = newButton(this, "Del");
    m_previewButton = newButton(this, "BtnPreview");
    m_ok = newButton(this, "BtnOK");
    m_ok->setDefault(true);
    m_cancel = newButton(this, "BtnCancel");
    m_preview = new TPictureListPreview(this);

    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(m_browse);
    pathRow->addWidget(m_add);
    pathRow->addWidget(m_del);
    auto *right = new QVBoxLayout;
    right->addWidget(m_preview);
    right->addWidget(m_previewButton);
    right->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(right);
    m_extra = new QVBoxLayout;
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addLayout(middle, 1);
    layout->addLayout(m_extra);
    layout->addLayout(buttons);

    connect(m_browse, &QPushButton::clicked, this, &TPictureListDialog::chooseFile);
    connect(m_add, &QPushButton::clicked, this, &TPictureListDialog::AddTypedFile);
    connect(m_del, &QPushButton::clicked, this, &TPictureListDialog::DeleteSelected);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { clickedAt(m_list->row(item)); });
}

void TPictureListDialog::applyListTexts()
{
    m_add->setText(GetUiString(UiKey::General::Add));
    m_del->setText(GetUiString(UiKey::General::Del));
    m_previewButton->setText(GetUiString(UiKey::General::BtnPreview));
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

void TPictureListDialog::showError(const QString &text, const QString &caption)
{
    m_questions.ShowMessage(text, caption, TMessageKind::Error);
}

QStringList TPictureListDialog::Paths() const
{
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->text();
    return out;
}

bool TPictureListDialog::AddTypedFile()
{
    return AddFile(m_path->text());
}

bool TPictureListDialog::AddFile(const QString &typed)
{
    const QString path = typed.trimmed();
    const QString errorCaption = GetUiMessage(UiKey::String::ErrorHint);
    if (path.isEmpty()) {
        showError(GetUiMessage(UiKey::String::FileNameIsEmpty), errorCaption);
        return false;
    }
    if (!QFileInfo(path).isFile()) {
        showError(GetUiMessage(UiKey::String::FileNotExist), errorCaption);
        return false;
    }
    if (Paths().contains(path)
        && !m_questions.AskOkCancel(
            GetUiMessage(UiKey::String::FileNameHasAdd), GetUiMessage(UiKey::String::HintMSG)))
        return false;
    if (!takeFile(path))
        return false;
    m_list->addItem(path);
    int widest = 0;
    const QFontMetrics metrics(m_list->font());
    for (const QString &p : Paths())
        widest = std::max(widest, metrics.horizontalAdvance(p));
    m_list->setMinimumWidth(std::min(widest + 16, 480));
    listChanged();
    return true;
}

void TPictureListDialog::DeleteSelected()
{
    bool changed = false;
    for (int row = m_list->count() - 1; row >= 0; --row) {
        if (!m_list->item(row)->isSelected())
            continue;
        if (!m_questions.AskOkCancel(
                GetUiMessage(UiKey::String::DeleteFileHint), GetUiMessage(UiKey::String::HintMSG)))
            continue;
        delete m_list->takeItem(row);
        removedAt(row);
        changed = true;
    }
    if (changed)
        listChanged();
}

void TPictureListDialog::chooseFile()
{
    QString file;
    if (m_choose) {
        file = m_choose();
    } else {
        TOpenPictureDialog dialog(this);
        dialog.SetPipeFilter(OpenPictureFilter);
        dialog.setDirectory(Folders().PictureDir);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            file = dialog.selectedFiles().constFirst();
    }
    if (!file.isEmpty())
        m_path->setText(file);
}
