#include "shell/ui/patternmergedialog.h"

#include "core/palette/palette.h"
#include "core/settings/uitexts.h"
#include "editor/ui/patterngridview.h"
#include "shell/ui/documentwindow.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int PreviewSize = 200; // the preview's side in pixels at its least

// The document's file name without folder and extension.
QString itemText(const TMDIChild &child)
{
    return QFileInfo(child.Caption()).completeBaseName();
}

QPushButton *newButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFrmNavigatorPatternMerge::TFrmNavigatorPatternMerge(const QList<TMDIChild *> &documents, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmNavigatorPatternMerge"));
    m_showMessage
        = [this](const QString &text, const QString &caption) { QMessageBox::critical(this, caption, text); };
    m_from = new QListWidget(this);
    m_from->setObjectName(QStringLiteral("LbxFrom"));
    m_selected = new QListWidget(this);
    m_selected->setObjectName(QStringLiteral("LbxSelected"));
    m_fromLabel = new QLabel(this);
    m_selectedLabel = new QLabel(this);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("LblCount"));
    m_select = newButton(this, "Select");
    m_delete = newButton(this, "Delete");
    m_selectAll = newButton(this, "Select_All");
    m_deleteAll = newButton(this, "Delete_All");
    m_ok = newButton(this, "BtnOK");
    m_ok->setDefault(true);
    m_cancel = newButton(this, "BtnCancel");

    // The preview only shows: it takes no pointer input and keeps the arrow.
    m_preview = new TPatternGridView(this);
    m_preview->setObjectName(QStringLiteral("PrdNavigator"));
    m_preview->setMinimumSize(PreviewSize, PreviewSize);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_preview->viewport()->setCursor(Qt::ArrowCursor);
    m_preview->Model().ShowPictureOf(nullptr);

    auto *middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton *b : { m_select, m_delete, m_selectAll, m_deleteAll })
        middle->addWidget(b);
    middle->addStretch(1);
    auto *lists = new QGridLayout;
    lists->addWidget(m_fromLabel, 0, 0);
    lists->addWidget(m_selectedLabel, 0, 2);
    lists->addWidget(m_from, 1, 0);
    lists->addLayout(middle, 1, 1);
    lists->addWidget(m_selected, 1, 2);
    lists->addWidget(m_preview, 1, 3);
    lists->addWidget(m_count, 2, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    for (TMDIChild *child : documents) {
        if (!child)
            continue;
        auto *item = new QListWidgetItem(itemText(*child), m_from);
        item->setData(Qt::UserRole, int(m_documents.size()));
        m_documents.emplace_back(child);
    }
    if (m_from->count() > 0)
        m_from->setCurrentRow(0);

    connect(m_select, &QPushButton::clicked, this, &TFrmNavigatorPatternMerge::Select);
    connect(m_delete, &QPushButton::clicked, this, &TFrmNavigatorPatternMerge::Delete);
    connect(m_selectAll, &QPushButton::clicked, this, &TFrmNavigatorPatternMerge::SelectAll);
    connect(m_deleteAll, &QPushButton::clicked, this, &TFrmNavigatorPatternMerge::DeleteAll);
    connect(m_ok, &QPushButton::clicked, this, &TFrmNavigatorPatternMerge::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFrmNavigatorPatternMerge::reject);
    connect(m_from, &QListWidget::itemDoubleClicked, this,
        [this](QListWidgetItem *item) { moveItem(m_from, m_selected, m_from->row(item)); });
    connect(m_from, &QListWidget::itemClicked, this, &TFrmNavigatorPatternMerge::preview);
    connect(m_selected, &QListWidget::itemClicked, this, &TFrmNavigatorPatternMerge::preview);

    applyTexts();
    updateCount();
}

TFrmNavigatorPatternMerge::~TFrmNavigatorPatternMerge()
{
    // The preview refers to a document's picture: the reference goes first.
    disconnect(m_previewGone);
    m_preview->Model().ShowPictureOf(nullptr);
}

void TFrmNavigatorPatternMerge::applyTexts()
{
    setWindowTitle(GetUiString(UiKey::MainMenu::Merge_Pattern));
    m_fromLabel->setText(GetUiString(UiKey::BreakPicture::UnSelected_Picture));
    m_selectedLabel->setText(GetUiString(UiKey::BreakPicture::Selected_Picture));
    m_select->setText(GetUiString(UiKey::BreakPicture::Select));
    m_delete->setText(GetUiString(UiKey::BreakPicture::Delete));
    m_selectAll->setText(GetUiString(UiKey::MainMenu::Select_All));
    m_deleteAll->setText(GetUiString(UiKey::BreakPicture::Delete_All));
    for (QPushButton *b : { m_select, m_delete, m_selectAll, m_deleteAll })
        b->setToolTip(b->text());
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

TMDIChild *TFrmNavigatorPatternMerge::documentOf(const QListWidgetItem *item) const
{
    if (!item)
        return nullptr;
    const int index = item->data(Qt::UserRole).toInt();
    return index >= 0 && std::size_t(index) < m_documents.size() ? m_documents[std::size_t(index)].data()
                                                                 : nullptr;
}

void TFrmNavigatorPatternMerge::moveItem(QListWidget *from, QListWidget *to, int row)
{
    if (row < 0 || row >= from->count())
        return;
    QListWidgetItem *item = from->takeItem(row);
    to->addItem(item);
    updateCount();
}

void TFrmNavigatorPatternMerge::moveAll(QListWidget *from, QListWidget *to)
{
    while (from->count() > 0)
        to->addItem(from->takeItem(0));
    updateCount();
}

void TFrmNavigatorPatternMerge::Select()
{
    moveItem(m_from, m_selected, m_from->currentRow());
}

void TFrmNavigatorPatternMerge::Delete()
{
    moveItem(m_selected, m_from, m_selected->currentRow());
}

void TFrmNavigatorPatternMerge::SelectAll()
{
    moveAll(m_from, m_selected);
}

void TFrmNavigatorPatternMerge::DeleteAll()
{
    moveAll(m_selected, m_from);
}

void TFrmNavigatorPatternMerge::preview(QListWidgetItem *item)
{
    disconnect(m_previewGone);
    m_previewed = documentOf(item);
    TPatternGrid &model = m_preview->Model();
    model.ShowPictureOf(m_previewed ? &m_previewed->PatternGrid() : nullptr);
    // The picture must never outlive its document.
    if (m_previewed)
        m_previewGone = connect(m_previewed, &QObject::destroyed, this, [this] {
            m_preview->Model().ShowPictureOf(nullptr);
            m_preview->LayoutChanged();
        });
    model.SetZoom(TPatternGrid::BaseZoomLevel);
    m_preview->LayoutChanged();
}

void TFrmNavigatorPatternMerge::updateCount()
{
    m_count->setText(QString::number(SelectedCount()));
}

QList<TMDIChild *> TFrmNavigatorPatternMerge::chosen() const
{
    QList<TMDIChild *> out;
    for (int i = 0; i < m_selected->count(); ++i)
        if (TMDIChild *child = documentOf(m_selected->item(i)))
            out.append(child);
    return out;
}

int TFrmNavigatorPatternMerge::SelectedCount() const
{
    return int(chosen().size());
}

QImage TFrmNavigatorPatternMerge::SelectedPicture(int n) const
{
    const QList<TMDIChild *> documents = chosen();
    if (n < 0 || n >= documents.size())
        return QImage();
    TPatternGrid &grid = documents[n]->PatternGrid();
    QImage picture = grid.Picture(); // shared, not copied, while its colours are the palette's
    TPalette256 table;
    GetBitmapPalette(picture, table);
    if (!picture.isNull() && table != grid.Palette())
        SetBitmapPalette(picture, grid.Palette());
    return picture;
}

QList<QImage> TFrmNavigatorPatternMerge::SelectedPictures() const
{
    QList<QImage> out;
    for (int i = 0; i < SelectedCount(); ++i)
        out.append(SelectedPicture(i));
    return out;
}

void TFrmNavigatorPatternMerge::accept()
{
    const QList<QImage> pictures = SelectedPictures();
    bool sameSize = !pictures.isEmpty();
    for (const QImage &p : pictures)
        sameSize = sameSize && !p.isNull() && p.size() == pictures.front().size();
    if (!sameSize) {
        m_showMessage(
            GetUiMessage(UiKey::String::SelectedNoPictureOrSizeNoSame), GetUiMessage(UiKey::String::HintMSG));
        return;
    }
    QDialog::accept();
}

void TFrmNavigatorPatternMerge::done(int result)
{
    // Closing drops the preview's reference to the document's picture.
    disconnect(m_previewGone);
    m_preview->Model().ShowPictureOf(nullptr);
    m_previewed = nullptr;
    QDialog::done(result);
}
