#include "shell/ui/directmergedialog.h"

#include "core/decode/pictureload.h"
#include "core/settings/uitexts.h"
#include "editor/picturejoin.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QString sizeText(const QString &label, QSize size)
{
    return label + QString::number(size.width()) + QStringLiteral("×") + QString::number(size.height());
}

} // namespace

TFrmDirectMerge::TFrmDirectMerge(TDocumentQuestions &questions, QWidget *parent)
    : TPictureListDialog(questions, parent)
{
    setObjectName(QStringLiteral("FrmDirectMerge"));
    setWindowTitle(GetUiString(UiKey::CombinePicture::Direct_Merge_Caption));
    applyListTexts();
    previewButton()->hide();
    m_horizontal = new QRadioButton(GetUiString(UiKey::CombinePicture::Horizontally_Merge), this);
    m_horizontal->setObjectName(QStringLiteral("Horizontally_Merge"));
    m_horizontal->setChecked(true);
    m_vertical = new QRadioButton(GetUiString(UiKey::CombinePicture::Vertically_Merge), this);
    m_vertical->setObjectName(QStringLiteral("Vertically_Merge"));
    auto *row = new QHBoxLayout;
    row->addWidget(m_horizontal);
    row->addWidget(m_vertical);
    row->addStretch(1);
    extraLayout()->addLayout(row);
    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    m_basePanel = new QLabel(status);
    m_basePanel->setObjectName(QStringLiteral("BasePanel"));
    m_selectedPanel = new QLabel(status);
    m_selectedPanel->setObjectName(QStringLiteral("SelectedPanel"));
    status->addWidget(m_basePanel, 1);
    status->addWidget(m_selectedPanel, 1);
    static_cast<QVBoxLayout *>(layout())->addWidget(status);
}

void TFrmDirectMerge::showSelected(const QImage &picture)
{
    m_selectedPanel->setText(
        sizeText(GetUiString(UiKey::CombinePicture::Selected_Picture_Size), picture.size()));
    Preview()->SetPicture(picture);
}

bool TFrmDirectMerge::takeFile(const QString &path)
{
    QImage picture;
    QString error;
    if (!LoadPictureAs8Bit(path, picture, &error)) {
        showError(error, GetUiMessage(UiKey::String::ErrorHint));
        return false;
    }
    if (list()->count() == 0) {
        m_baseSize = picture.size();
        m_basePanel->setText(sizeText(GetUiString(UiKey::CombinePicture::Base_Picture_Size), m_baseSize));
    }
    m_largest = m_largest.expandedTo(picture.size());
    showSelected(picture);
    return true;
}

void TFrmDirectMerge::clickedAt(int row)
{
    QImage picture;
    if (row >= 0 && row < list()->count() && LoadPictureAs8Bit(list()->item(row)->text(), picture))
        showSelected(picture);
}

void TFrmDirectMerge::accept()
{
    const QString caption = GetUiMessage(UiKey::String::MergeErrorCaption);
    const QStringList paths = Paths();
    if (paths.size() < 2) {
        showError(GetUiMessage(UiKey::String::MergeAtLeastTwoPictures), caption);
        return;
    }
    QList<QImage> pictures;
    for (const QString &path : paths) {
        QImage picture;
        QString error;
        if (!LoadPictureAs8Bit(path, picture, &error)) {
            showError(error, caption);
            return;
        }
        pictures << picture;
    }
    QImage result;
    QString error;
    if (!DirectMergePictures(pictures, m_horizontal->isChecked(), result, &error)) {
        showError(error, caption);
        return;
    }
    m_result = result;
    QDialog::accept();
}
