#pragma once
// TFrmUnitePic: the column interleave of pictures (意匠合并).
// Pictures of one size are listed; column c of picture i becomes column N * c + i of the
// result, N pictures, rebuilt on every add and delete and shown in the preview (a click on
// a listed file previews that picture). Every picture stays 8-bit; the result keeps each
// colour exactly while the pictures' colours fit one palette.

#include "shell/ui/picturelistdialog.h"

#include <QList>

class TFrmUnitePic : public TPictureListDialog {
    Q_OBJECT
public:
    explicit TFrmUnitePic(TDocumentQuestions &questions, QWidget *parent = nullptr);
    // At least one picture is listed.
    bool HasResult() const { return !m_result.isNull(); }
    // The interleaved 8-bit picture (null without pictures).
    QImage GetUnitedPicture() const { return m_result; }
    const QList<QImage> &Pictures() const { return m_pictures; }
    // "Preview": the interleaved picture.
    void PreviewResult();

protected:
    bool takeFile(const QString &path) override;
    void removedAt(int row) override;
    void clickedAt(int row) override;
    void listChanged() override;

private:
    QList<QImage> m_pictures;
    QImage m_result;
};
