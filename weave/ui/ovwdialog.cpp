#include "weave/ui/ovwdialog.h"

#include "core/settings/uitexts.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"
#include "weave/weavepreview.h"

#include <QDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "name|masks|name|masks" to Qt's name filters ("name (masks)").
QStringList NameFilters(const QString &filter)
{
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < fields.size(); i += 2) {
        QString masks = fields.at(i + 1);
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString name = fields.at(i);
        // The name may carry its masks already: Qt takes the last parentheses as the masks.
        const int open = name.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            name = name.left(open).trimmed();
        filters << name + QStringLiteral(" (") + masks + QLatin1Char(')');
    }
    return filters;
}

} // namespace

TOvwDialog::TOvwDialog(QWidget *parent, const QString &folder)
    : QFileDialog(parent, QString(), folder)
{
    // Our own dialog: the platform's cannot take the preview.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters(NameFilters(GetUiString(UiKey::WeaveDesign::Ovw_Filter)));

    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("PreviewArea"));
    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    m_sizeLabel = new QLabel(area);
    m_sizeLabel->setObjectName(QStringLiteral("PictureLabel"));
    m_previewButton = new QPushButton(GetUiString(UiKey::General::BtnPreview), area);
    m_previewButton->setObjectName(QStringLiteral("PreviewButton"));
    m_previewBox = new QLabel(area);
    m_previewBox->setObjectName(QStringLiteral("PaintBox"));
    m_previewBox->setFixedSize(WeavePreviewBox, WeavePreviewBox);
    m_previewBox->setAlignment(Qt::AlignCenter);
    column->addWidget(m_sizeLabel);
    column->addWidget(m_previewButton);
    column->addWidget(m_previewBox);
    column->addStretch(1);
    // The non-native dialog lays itself out on a grid: the preview takes a column of its own.
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(area, 0, grid->columnCount(), grid->rowCount(), 1);

    connect(this, &QFileDialog::currentChanged, this, &TOvwDialog::SelectionChanged);
    connect(m_previewButton, &QPushButton::clicked, this, &TOvwDialog::ShowPreviewWindow);
    SelectionChanged(QString());
}

void TOvwDialog::SelectionChanged(const QString &fileName)
{
    TWeaveArray cells;
    const QFileInfo info(fileName);
    const bool loaded = !fileName.isEmpty() && info.isFile() && info.size() <= MaxPreviewedWeaveFile
        && LoadWeaveFile(fileName, cells) && WeaveWarps(cells) > 0 && WeaveWefts(cells) > 0;
    if (loaded) {
        m_cells = cells;
        const int warps = WeaveWarps(cells);
        const int wefts = WeaveWefts(cells);
        m_preview = WeavePreviewImage(cells, WeavePreviewShownSize(warps, wefts));
        m_sizeLabel->setText(QStringLiteral(" (%1x%2)").arg(warps).arg(wefts));
        m_previewBox->setPixmap(QPixmap::fromImage(m_preview));
    } else {
        m_cells = TWeaveArray();
        m_preview = QImage();
        m_sizeLabel->setText(GetUiMessage(UiKey::String::NoPictureShown));
        m_previewBox->clear();
    }
    m_previewButton->setEnabled(loaded);
}

void TOvwDialog::ShowPreviewWindow()
{
    if (m_cells.isEmpty())
        return;
    QDialog window(this);
    window.setWindowTitle(GetUiString(UiKey::General::BtnPreview));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *image = new QLabel(&window);
    // Larger than the preview, drawn for its size rather than scaled, so every line stays.
    const QSize natural = WeavePreviewNaturalSize(WeaveWarps(m_cells), WeaveWefts(m_cells));
    const QSize shown = natural.scaled(QSize(480, 480), Qt::KeepAspectRatio);
    image->setPixmap(QPixmap::fromImage(WeavePreviewImage(m_cells, shown)));
    layout->addWidget(image);
    window.resize(shown);
    window.exec();
}

QString TOvwDialog::GetWeaveFileName(QWidget *parent, const QString &folder)
{
    TOvwDialog dialog(parent, folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
