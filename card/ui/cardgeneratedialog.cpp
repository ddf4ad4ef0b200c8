#include "card/ui/cardgeneratedialog.h"
#include "core/settings/uitexts.h"

#include "card/cardmaking.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 200;
} // namespace

TfrmPutOut::TfrmPutOut(QWidget *owner, const QImage &picture)
    : QDialog(owner)
    , m_picture(picture)
{
    setObjectName(QStringLiteral("frmPutOut"));
    setWindowTitle(GetUiString(UiKey::CardGenerate::Caption));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setFixedSize(kPreviewWidth, kPreviewHeight);
    Image->installEventFilter(this);
    layout->addWidget(Image);
    auto *hint = new QLabel(GetUiString(UiKey::CardGenerate::Scan_Hint), this);
    hint->setStyleSheet(QStringLiteral("color: red"));
    layout->addWidget(hint);
    PanelGuage = new TCardBuildPanel(this);
    PanelGuage->setObjectName(QStringLiteral("PanelGuage"));
    PanelGuage->hide();
    layout->addWidget(PanelGuage);
    DispEWenBanCheckBox = new QCheckBox(GetUiString(UiKey::CardGenerate::Show_Electronic_Card), this);
    DispEWenBanCheckBox->setObjectName(QStringLiteral("DispEWenBanCheckBox"));
    DispEWenBanCheckBox->setChecked(true);
    DispEWenBanCheckBox->hide();
    layout->addWidget(DispEWenBanCheckBox);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    BitBtnGenerateWenBan = new QPushButton(GetUiString(UiKey::CardGenerate::Start), this);
    BitBtnGenerateWenBan->setObjectName(QStringLiteral("BitBtnGenerateWenBan"));
    BitBtnGenerateWenBan->setDefault(true);
    BitBtn2 = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addWidget(BitBtnGenerateWenBan);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);
    connect(BitBtnGenerateWenBan, &QPushButton::clicked, this, &TfrmPutOut::Generate);
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmPutOut::reject);

    ShowMessage = [this](const QString &text, const QString &caption, bool information) {
        QMessageBox box(information ? QMessageBox::Information : QMessageBox::Critical, caption, text,
            QMessageBox::Ok, this);
        box.exec();
    };
    m_scanStart = ReadScanStartSetting();
    drawPreview();
}

bool TfrmPutOut::ShowElectronicCard() const
{
    return DispEWenBanCheckBox->isChecked();
}

void TfrmPutOut::drawPreview()
{
    QImage canvas(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect inner(2, 2, kPreviewWidth - 4, kPreviewHeight - 4);
    if (!m_picture.isNull())
        p.drawImage(inner, m_picture);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(QRectF(1, 1, kPreviewWidth - 2, kPreviewHeight - 2));
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(kPreviewWidth / 2, 0, kPreviewWidth / 2, kPreviewHeight);
    p.drawLine(0, kPreviewHeight / 2, kPreviewWidth, kPreviewHeight / 2);
    // The marker sits in the quadrant of the corner: 0 bottom left, 1 bottom right,
    // 2 top left, 3 top right.
    const bool right = m_scanStart == 1 || m_scanStart == 3;
    const bool top = m_scanStart >= 2;
    const int r = 12;
    const QPoint centre(right ? kPreviewWidth - 4 - r : 4 + r, top ? 4 + r : kPreviewHeight - 4 - r);
    p.setPen(QPen(Qt::red, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r, r);
    p.end();
    Image->setPixmap(QPixmap::fromImage(canvas));
}

void TfrmPutOut::ChooseCorner(QPoint point)
{
    const int corner = PreviewScanStart(point, Image->size());
    if (corner != m_scanStart) {
        m_scanStart = corner;
        drawPreview();
    }
    WriteScanStartSetting(m_scanStart);
}

bool TfrmPutOut::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image && event->type() == QEvent::MouseButtonRelease && !PanelGuage->Running()) {
        ChooseCorner(static_cast<QMouseEvent *>(event)->position().toPoint());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPutOut::Generate()
{
    if (PanelGuage->Running() || !Build)
        return;
    PanelGuage->show();
    BitBtnGenerateWenBan->setEnabled(false);
    const int corner = m_scanStart;
    TCardBuildResult result;
    TMultiByteArray card;
    const bool ok
        = PanelGuage->Run([this, corner](TMultiByteArray &rows, TCardBuildResult &r,
                              const TCardProgress &progress) { return Build(corner, rows, r, progress); },
            card, result);
    TCardBuildPanel::Report(result, ok, ShowMessage);
    if (ok) {
        m_card = card;
        done(ResultGenerated);
    } else {
        done(ResultCancelled);
    }
}

void TfrmPutOut::reject()
{
    // Escape or "取消" while the cards are built stops the build; Generate then closes.
    if (PanelGuage->CancelIfRunning())
        return;
    done(ResultCancelled);
}

void TfrmPutOut::closeEvent(QCloseEvent *event)
{
    if (PanelGuage->CancelIfRunning()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
