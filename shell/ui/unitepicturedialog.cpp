#include "shell/ui/unitepicturedialog.h"

#include "core/decode/pictureload.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "editor/picturemerge.h"

#include <QPushButton>

TFrmUnitePic::TFrmUnitePic(TDocumentQuestions &questions, QWidget *parent)
    : TPictureListDialog(questions, parent)
{
    setObjectName(QStringLiteral("FrmUnitePic"));
    setWindowTitle(GetUiString(UiKey::CombinePicture::Unite_Picture_Caption));
    applyListTexts();
    connect(previewButton(), &QPushButton::clicked, this, &TFrmUnitePic::PreviewResult);
}

bool TFrmUnitePic::takeFile(const QString &path)
{
    const QString caption = GetUiMessage(UiKey::String::ErrorHint);
    QImage picture;
    QString error;
    if (!LoadPictureAs8Bit(path, picture, &error)) {
        showError(error, caption);
        return false;
    }
    if (!m_pictures.isEmpty() && picture.size() != m_pictures.front().size()) {
        showError(GetUiMessage(UiKey::String::BmpDifferent), caption);
        return false;
    }
    if (static_cast<long long>(picture.width()) * (m_pictures.size() + 1) > MaxPictureSide) {
        showError(GetUiMessage(UiKey::String::MergeTooWide), caption);
        return false;
    }
    m_pictures << picture;
    return true;
}

void TFrmUnitePic::removedAt(int row)
{
    if (row >= 0 && row < m_pictures.size())
        m_pictures.removeAt(row);
}

void TFrmUnitePic::clickedAt(int row)
{
    if (row >= 0 && row < m_pictures.size())
        Preview()->SetPicture(m_pictures[row]);
}

void TFrmUnitePic::listChanged()
{
    m_result = QImage();
    QString error;
    if (!m_pictures.isEmpty() && !MergeLayerPictures(m_pictures, m_result, &error)) {
        m_result = QImage();
        showError(error, GetUiMessage(UiKey::String::ErrorHint));
    }
    PreviewResult();
}

void TFrmUnitePic::PreviewResult()
{
    Preview()->SetPicture(m_result);
}
