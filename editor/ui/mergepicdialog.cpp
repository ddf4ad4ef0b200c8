#include "editor/ui/mergepicdialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "editor/ui/digitsbox.h"
#include "editor/wayglyph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The unit the dialog lays out: the whole picture without a layout, else its top-left
// unit block (held inside the picture).
QImage unitOf(const QImage &picture, const TRepeatPic &layout)
{
    if (picture.isNull() || (layout.HorzCount <= 1 && layout.VertCount <= 1))
        return picture;
    const int w = std::clamp(int(layout.UnitWidth), 1, picture.width());
    const int h = std::clamp(int(layout.UnitHeight), 1, picture.height());
    return picture.copy(0, 0, w, h);
}
} // namespace

TFrmMergePic::TFrmMergePic(const QImage &picture, const TRepeatPic &layout, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrmMergePic"));
    m_showMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    m_composer.SetUnitPicture(unitOf(picture, layout));
    m_composer.OnPreviewResize = [this] { drawPreview(); };

    // The layout style: three buttons, each beside a sketch that checks it when clicked.
    auto *styleGroup = new QGroupBox(this);
    styleGroup->setObjectName(QStringLiteral("GbxStyle"));
    auto *styleRow = new QHBoxLayout(styleGroup);
    const char *names[] = { "RbnOneStyle", "RbnTwoStyle", "RbnThreeStyle" };
    for (int i = 0; i < 3; ++i) {
        auto *column = new QVBoxLayout;
        m_panels[i] = stylePanel(i + 1);
        m_styles[i] = new QRadioButton(styleGroup);
        m_styles[i]->setObjectName(QLatin1String(names[i]));
        column->addWidget(m_panels[i]);
        column->addWidget(m_styles[i]);
        styleRow->addLayout(column);
        connect(m_styles[i], &QRadioButton::clicked, this, [this, i] { styleChosen(i + 1); });
    }

    m_offsetGroup = new QGroupBox(this);
    m_offsetGroup->setObjectName(QStringLiteral("GbxOffSet"));
    m_ratio = new QComboBox(m_offsetGroup);
    m_ratio->setObjectName(QStringLiteral("CbxOffSetRatio"));
    for (int d = 2; d <= 10; ++d)
        m_ratio->addItem(QStringLiteral("1/%1").arg(d));
    m_pixels = NewDigitsBox("NdtOffSetPixels", 65535, 5, m_offsetGroup);
    auto *offsetForm = new QFormLayout(m_offsetGroup);
    offsetForm->addRow(QStringLiteral("Ratio"), m_ratio);
    offsetForm->addRow(QStringLiteral("Pixels"), m_pixels);

    auto *pictureGroup = new QGroupBox(this);
    pictureGroup->setObjectName(QStringLiteral("GbxPicture"));
    m_across = NewDigitsBox("RdtHNum", 99, 2, pictureGroup);
    m_down = NewDigitsBox("RdtVNum", 99, 2, pictureGroup);
    m_width = new QLineEdit(pictureGroup);
    m_width->setObjectName(QStringLiteral("NdtPicWidth"));
    m_width->setReadOnly(true);
    m_height = new QLineEdit(pictureGroup);
    m_height->setObjectName(QStringLiteral("NdtPicHeight"));
    m_height->setReadOnly(true);
    auto *pictureForm = new QFormLayout(pictureGroup);
    pictureForm->addRow(QStringLiteral("Across"), m_across);
    pictureForm->addRow(QStringLiteral("Down"), m_down);
    pictureForm->addRow(QStringLiteral("Warps"), m_width);
    pictureForm->addRow(QStringLiteral("Wefts"), m_height);

    m_image = new QLabel;
    m_image->setObjectName(QStringLiteral("ImgDrawWay"));
    m_image->installEventFilter(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setWidget(m_image);
    // Centred while it is smaller than the box.
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setMinimumSize(320, 160);

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("LblPicInfo"));
    m_createNew = new QCheckBox(this);
    m_createNew->setObjectName(QStringLiteral("CbxCreateNewPic"));
    m_createNew->setChecked(true);

    auto *layoutBox = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(styleGroup);
    left->addWidget(m_offsetGroup);
    top->addLayout(left);
    top->addWidget(pictureGroup);
    layoutBox->addLayout(top);
    layoutBox->addWidget(m_scroll, 1);
    layoutBox->addWidget(m_info);
    layoutBox->addWidget(m_createNew);
    auto *buttons = NewOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    layoutBox->addWidget(buttons);

    connect(m_ratio, &QComboBox::currentIndexChanged, this, [this] { ratioChosen(); });
    connect(m_pixels, &QLineEdit::textEdited, this, &TFrmMergePic::pixelsTyped);
    connect(m_across, &QLineEdit::textEdited, this, &TFrmMergePic::countsTyped);
    connect(m_down, &QLineEdit::textEdited, this, &TFrmMergePic::countsTyped);

    // The stored layout: counts, style, offset and flips.
    m_composer.SetRepeatInfo(layout);
    m_ratio->setCurrentIndex(0);
    const int style = m_composer.Style();
    m_styles[style - 1]->setChecked(true);
    m_offsetGroup->setEnabled(style != TMergePic::PlainGrid);
    m_pixels->setText(QString::number(m_composer.Offset()));
    m_across->setText(QString::number(m_composer.Across()));
    m_down->setText(QString::number(m_composer.Down()));
    showSizes();
    drawPreview();
    ApplyLanguage();
    m_starting = false;
}

void TFrmMergePic::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::MergePic::Caption));
    if (auto *g = findChild<QGroupBox *>(QStringLiteral("GbxStyle")))
        g->setTitle(GetUiString(UiKey::MergePic::Layout_Style));
    m_offsetGroup->setTitle(GetUiString(UiKey::MergePic::OffSet));
    if (auto *g = findChild<QGroupBox *>(QStringLiteral("GbxPicture")))
        g->setTitle(GetUiString(UiKey::MergePic::Picture));
    m_styles[0]->setText(GetUiString(UiKey::MergePic::Style_Plain));
    m_styles[1]->setText(GetUiString(UiKey::MergePic::Style_Rows));
    m_styles[2]->setText(GetUiString(UiKey::MergePic::Style_Columns));
    const std::pair<QLineEdit *, QString> labels[] = {
        { m_across, GetUiString(UiKey::MergePic::Across) },
        { m_down, GetUiString(UiKey::MergePic::Down) },
        { m_width, GetUiString(UiKey::MergePic::Result_Warps) },
        { m_height, GetUiString(UiKey::MergePic::Result_Wefts) },
        { m_pixels, GetUiString(UiKey::MergePic::Offset_Pixels) },
    };
    for (const auto &[box, text] : labels)
        if (auto *form = qobject_cast<QFormLayout *>(box->parentWidget()->layout()))
            if (auto *label = qobject_cast<QLabel *>(form->labelForField(box)))
                label->setText(text);
    if (auto *form = qobject_cast<QFormLayout *>(m_offsetGroup->layout()))
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(m_ratio)))
            label->setText(GetUiString(UiKey::MergePic::Ratio));
    m_info->setText(GetUiMessage(UiKey::String::PicInfo)
        + QStringLiteral(" %1 × %2").arg(m_composer.UnitWidth()).arg(m_composer.UnitHeight()));
    m_createNew->setText(GetUiString(UiKey::MergePic::Create_New_Picture));
}

// A sketch of a layout style: six bricks, laid out as the style steps them.
QWidget *TFrmMergePic::stylePanel(int style)
{
    QImage sketch(48, 32, QImage::Format_RGB32);
    sketch.fill(Qt::white);
    QPainter p(&sketch);
    p.setPen(Qt::black);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            const int dx = style == TMergePic::RowsStepped && r == 1 ? 8 : 0;
            const int dy = style == TMergePic::ColumnsStepped && c == 1 ? 8 : 0;
            p.drawRect(c * 16 + dx - (dx && c == 2 ? 48 : 0), r * 16 + dy, 15, 15);
        }
    p.end();
    auto *panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("Panel%1").arg(style + 1));
    panel->setPixmap(QPixmap::fromImage(sketch));
    panel->installEventFilter(this);
    return panel;
}

bool TFrmMergePic::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 3; ++i)
            if (watched == m_panels[i]) {
                m_styles[i]->setChecked(true);
                styleChosen(i + 1);
                return true;
            }
        if (watched == m_image) {
            ClickPreview(static_cast<QMouseEvent *>(event)->position().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmMergePic::styleChosen(int style)
{
    if (m_starting)
        return;
    m_composer.SetStyle(style);
    m_offsetGroup->setEnabled(style != TMergePic::PlainGrid);
    ratioChosen();
}

void TFrmMergePic::ratioChosen()
{
    if (m_starting)
        return;
    const double ratio = 1.0 / (m_ratio->currentIndex() + 2);
    const int offset = m_composer.OffsetFromRatio(m_composer.Style(), ratio);
    m_pixels->setText(QString::number(offset));
    applyOffset(offset);
}

void TFrmMergePic::pixelsTyped(const QString &text)
{
    if (m_starting)
        return;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value > 0)
        applyOffset(value);
}

void TFrmMergePic::applyOffset(int offset)
{
    countsTyped();
    m_composer.SetOffset(offset);
    showSizes();
    drawPreview();
}

void TFrmMergePic::countsTyped()
{
    if (m_starting)
        return;
    bool okA = false, okD = false;
    const int across = m_across->text().toInt(&okA);
    const int down = m_down->text().toInt(&okD);
    if (!okA || !okD || across < 1 || down < 1)
        return;
    m_composer.SetAcross(across);
    m_composer.SetDown(down);
    showSizes();
    m_composer.LayoutPreview(true);
}

void TFrmMergePic::showSizes()
{
    m_width->setText(QString::number(m_composer.GetResultWidth()));
    m_height->setText(QString::number(m_composer.GetResultHeight()));
}

void TFrmMergePic::drawPreview()
{
    const int gw = TMergePic::GlyphWidth, gh = TMergePic::GlyphHeight;
    m_preview = QImage(std::max(1, m_composer.PreviewWidth()), std::max(1, m_composer.PreviewHeight()),
        QImage::Format_RGB32);
    m_preview.fill(Qt::white);
    QPainter painter(&m_preview);
    TWayStyle glyph(gw, gh);
    for (const TMergePic::TGlyph &g : m_composer.Glyphs()) {
        glyph.SetStyle(g.Code);
        glyph.Draw(painter, QPoint(g.Place.Left, g.Place.Top));
        // The part stepped past the edge re-enters at the other side.
        if (g.Wrap.Width() > 0 && g.Wrap.Height() > 0) {
            if (m_composer.Style() == TMergePic::ColumnsStepped)
                glyph.Draw(painter, QPoint(g.Wrap.Left, g.Wrap.Bottom - gh));
            else
                glyph.Draw(painter, QPoint(g.Wrap.Right - gw, g.Wrap.Top));
        }
    }
    painter.end();
    m_image->setPixmap(QPixmap::fromImage(m_preview));
    m_image->resize(m_preview.size());
}

void TFrmMergePic::ClickPreview(QPoint p)
{
    if (m_composer.ClickPreview({ p.x(), p.y() }))
        drawPreview();
}

TRepeatPic TFrmMergePic::ResultLayout() const
{
    TRepeatPic info;
    m_composer.GetRepeatInfo(info);
    return info;
}

bool TFrmMergePic::CreateNewPicture() const
{
    return m_createNew->isChecked();
}

void TFrmMergePic::accept()
{
    bool okA = false, okD = false;
    const int across = m_across->text().toInt(&okA);
    const int down = m_down->text().toInt(&okD);
    if (!okA || !okD || across < 1 || down < 1) {
        m_showMessage(GetUiMessage(UiKey::String::InputDateError));
        return;
    }
    if (across == 1 && down == 1) {
        reject();
        return;
    }
    if (across != m_composer.Across() || down != m_composer.Down()) {
        // Counts typed but not yet laid out: the flips go with the new layout.
        m_composer.SetAcross(across);
        m_composer.SetDown(down);
        m_composer.LayoutPreview(true);
    }
    QString error;
    if (!m_composer.BuildResult(&error)) {
        m_showMessage(error);
        return;
    }
    QDialog::accept();
}
