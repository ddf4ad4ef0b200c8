#include "shell/ui/openpicturedialog.h"

#include "core/settings/uitexts.h"
#include "shell/browselayout.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The preview keeps a picture no larger than this: enough for the preview window, and a
// large picture file is decoded scaled down.
constexpr int kPreviewSide = 1600;
} // namespace

TPicturePreviewBox::TPicturePreviewBox(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(150, 150);
}

void TPicturePreviewBox::SetPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

QRect TPicturePreviewBox::PictureRect() const
{
    return PreviewPictureRect(size(), m_picture.size());
}

void TPicturePreviewBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_picture.isNull()) {
        p.drawText(rect(), Qt::AlignCenter, GetUiMessage(UiKey::String::NoPictureShown));
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(PictureRect(), m_picture);
}

QStringList PipeFilterToNameFilters(const QString &filter)
{
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < fields.size(); i += 2) {
        QString masks = fields.at(i + 1);
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << fields.at(i) + QStringLiteral(" (") + masks + QLatin1Char(')');
    }
    return filters;
}

TOpenPictureDialog::TOpenPictureDialog(QWidget *parent)
    : QFileDialog(parent)
{
    // Our own dialog: the platform's cannot take the preview.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);

    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("PreviewArea"));
    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    m_pictureLabel = new QLabel(area);
    m_noPreview = new QCheckBox(GetUiMessage(UiKey::String::NoPicturePreview), area);
    m_previewButton = new QPushButton(GetUiString(UiKey::General::BtnPreview), area);
    m_paintPanel = new QWidget(area);
    auto *panelLayout = new QVBoxLayout(m_paintPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_paintBox = new TPicturePreviewBox(m_paintPanel);
    panelLayout->addWidget(m_paintBox);
    m_pictureLabel->setObjectName(QStringLiteral("PictureLabel"));
    m_noPreview->setObjectName(QStringLiteral("CbxPrvewiPic"));
    m_previewButton->setObjectName(QStringLiteral("PreviewButton"));
    m_paintBox->setObjectName(QStringLiteral("PaintBox"));
    column->addWidget(m_pictureLabel);
    column->addWidget(m_noPreview);
    column->addWidget(m_previewButton);
    column->addWidget(m_paintPanel, 1);
    // The non-native dialog lays itself out on a grid: the preview takes a column of its own.
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(area, 0, grid->columnCount(), grid->rowCount(), 1);

    connect(this, &QFileDialog::currentChanged, this, &TOpenPictureDialog::SelectionChanged);
    connect(m_previewButton, &QPushButton::clicked, this, &TOpenPictureDialog::ShowPreviewWindow);
    SelectionChanged(QString());
}

void TOpenPictureDialog::SetPipeFilter(const QString &filter)
{
    setNameFilters(PipeFilterToNameFilters(filter));
}

void TOpenPictureDialog::SelectionChanged(const QString &fileName)
{
    TThumbnail thumbnail;
    const bool loaded = !fileName.isEmpty() && QFileInfo(fileName).isFile() && !m_noPreview->isChecked()
        && ReadThumbnail(fileName, QSize(kPreviewSide, kPreviewSide), thumbnail);
    if (loaded) {
        m_picture = thumbnail.Picture;
        m_pictureLabel->setText(
            QStringLiteral(" (%1x%2)").arg(thumbnail.FileSize.width()).arg(thumbnail.FileSize.height()));
    } else {
        m_picture = QImage();
        m_pictureLabel->setText(GetUiMessage(UiKey::String::PictureLabel));
    }
    m_previewButton->setEnabled(loaded);
    m_paintBox->SetPicture(m_picture);
}

void TOpenPictureDialog::ShowPreviewWindow()
{
    if (m_picture.isNull())
        return;
    QDialog window(this);
    window.setWindowTitle(GetUiString(UiKey::General::BtnPreview));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *image = new QLabel(&window);
    image->setPixmap(QPixmap::fromImage(m_picture));
    image->setScaledContents(true);
    layout->addWidget(image);
    window.resize(m_picture.size());
    window.exec();
}
