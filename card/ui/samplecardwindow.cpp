#include "card/ui/samplecardwindow.h"

#include "card/samplecardcheck.h"
#include "card/ui/divisiondialog.h"
#include "card/ui/samplecardview.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "core/ui/recentmenu.h"
#include "core/ui/savedialogquestion.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString kUntitled = QStringLiteral("Untitled*");

// The style names of the list, one per style in order; ysOther has none.
const char *const kStyleNames[] = { "1200", "144", "1300", "1400", "1600", "1700", "1800", "1900", "2100",
    "2200", "2300", "2400", "2600", "连续1344" };

const char *const kKindNames[] = { "纹针", "棒刀针", "边针", "投梭针", "综框针", "废边针", "纬密针", "停撬针",
    "空针", "穿线孔", "定位孔" };

QString CardFilter()
{
    return QStringLiteral("样卡文件 (*.OVYK *.ovyk);;所有文件 (*)");
}

} // namespace

TFrmYangKa::TFrmYangKa(const TYangkaImage &card, int designWidth, int warpRepeat, QWidget *parent)
    : QDialog(parent)
    , m_designWidth(designWidth)
    , m_warpRepeat(warpRepeat)
{
    m_card.Assign(card);
    m_fileName = card.CardFileName;
    ShowMessage = [this](const QString &text) { QMessageBox::warning(this, windowTitle(), text); };
    ShowRefusal = [this](const QString &text) { QMessageBox::critical(this, CardForDesignCaption(), text); };
    ChooseOpenFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("打开"), cardFolder(), CardFilter());
    };
    ChooseSaveFile = [this] {
        QFileDialog dialog(this, QStringLiteral("另存为"), cardFolder(), CardFilter());
        dialog.setDefaultSuffix(QStringLiteral("OVYK"));
        QString fileName;
        ExecSaveDialog(
            dialog, [](const QString &chosen, const QString &) { return chosen; }, fileName);
        return fileName;
    };
    RunDivideDialog = [this](QString &rule) {
        TFrmDivide dialog(rule, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        rule = dialog.Rule();
        return true;
    };

    // Menus.
    auto *menuBar = new QMenuBar(this);
    FileMenu = menuBar->addMenu(QStringLiteral("文件(&F)"));
    QAction *open = FileMenu->addAction(QStringLiteral("打开(&O)"), this, [this] { FileOpen(); });
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    QAction *save = FileMenu->addAction(QStringLiteral("保存(&S)"), this, [this] { FileSave(); });
    save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    FileMenu->addAction(QStringLiteral("另存为...(&A)"), this, [this] { FileSaveAs(); });
    FileMenu->addSeparator();
    m_recentAnchor = FileMenu->addAction(QStringLiteral("退出(&X)"), this, &QDialog::reject);
    QMenu *edit = menuBar->addMenu(QStringLiteral("编辑(&E)"));
    QAction *divide = edit->addAction(QStringLiteral("分造(&D)"), this, [this] { DivideData(); });
    divide->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    // Zoom has no menu entry: only its keys.
    auto *zoomIn = new QAction(this);
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, this, [this] { ZoomBy(1); });
    auto *zoomOut = new QAction(this);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, this, [this] { ZoomBy(-1); });
    addAction(zoomIn);
    addAction(zoomOut);

    // The card.
    ImgYangKa = new SampleCardView;
    ScrollBox = new QScrollArea(this);
    ScrollBox->setWidget(ImgYangKa);
    ScrollBox->setAlignment(Qt::AlignCenter);
    ScrollBox->setMinimumSize(480, 200);

    // Needle kinds.
    auto *kinds = new QGroupBox(QStringLiteral("选取针式"), this);
    auto *kindsLayout = new QGridLayout(kinds);
    RgpNeedle = new QButtonGroup(this);
    for (int i = 0; i < NeedleKindCount; ++i) {
        auto *button = new QRadioButton(QString::fromUtf8(kKindNames[i]), kinds);
        RgpNeedle->addButton(button, i);
        kindsLayout->addWidget(button, i / 2, i % 2);
    }
    RgpNeedle->button(0)->setChecked(true);

    // Start corner, early shuttle, sizes.
    auto *corner = new QGroupBox(this);
    auto *cornerLayout = new QHBoxLayout(corner);
    RbLeftTop = new QRadioButton(QStringLiteral("左上角"), corner);
    RbRightBottom = new QRadioButton(QStringLiteral("右下角"), corner);
    cornerLayout->addWidget(RbLeftTop);
    cornerLayout->addWidget(RbRightBottom);
    connect(RbLeftTop, &QRadioButton::clicked, this, [this] { SetStartCorner(0); });
    connect(RbRightBottom, &QRadioButton::clicked, this, [this] { SetStartCorner(1); });
    CheckBoxTiQianSuo = new QCheckBox(QStringLiteral("设置提前梭："), this);
    CheckBoxTiQianSuo->setVisible(false);

    auto *styleGroup = new QGroupBox(QStringLiteral("设置卡号"), this);
    auto *styleLayout = new QHBoxLayout(styleGroup);
    CbxYKStyle = new QComboBox(styleGroup);
    for (const char *name : kStyleNames)
        CbxYKStyle->addItem(QString::fromUtf8(name));
    styleLayout->addWidget(CbxYKStyle);
    styleGroup->setVisible(false);
    connect(CbxYKStyle, &QComboBox::activated, this, [this](int index) {
        m_card.SetYKStyle(TYKStyle(index));
        ImgYangKa->Refresh();
        cardChanged();
    });

    auto *sizes = new QGroupBox(this);
    auto *sizesLayout = new QGridLayout(sizes);
    EditRows = new QLineEdit(sizes);
    EditCols = new QLineEdit(sizes);
    EditJacquard = new QLineEdit(sizes);
    for (QLineEdit *e : { EditRows, EditCols, EditJacquard })
        e->setValidator(new QIntValidator(0, 9999999, e));
    sizesLayout->addWidget(new QLabel(QStringLiteral("总行数："), sizes), 0, 0);
    sizesLayout->addWidget(EditRows, 0, 1);
    sizesLayout->addWidget(new QLabel(QStringLiteral("总列数："), sizes), 1, 0);
    sizesLayout->addWidget(EditCols, 1, 1);
    sizesLayout->addWidget(new QLabel(QStringLiteral("提花针数："), sizes), 2, 0);
    sizesLayout->addWidget(EditJacquard, 2, 1);
    connect(EditRows, &QLineEdit::returnPressed, this, &TFrmYangKa::ApplyCustomSize);
    connect(EditCols, &QLineEdit::returnPressed, this, &TFrmYangKa::ApplyCustomSize);
    connect(EditJacquard, &QLineEdit::returnPressed, this, &TFrmYangKa::ApplyJacquardCount);

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    // Enter in a size field applies the size; it must not press OK.
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TFrmYangKa::accept);
    connect(cancel, &QPushButton::clicked, this, &TFrmYangKa::reject);

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    StatusTotal = new QLabel(status);
    StatusJacquard = new QLabel(status);
    StatusEmpty = new QLabel(status);
    status->addWidget(StatusTotal);
    status->addWidget(StatusJacquard);
    status->addWidget(StatusEmpty);

    auto *side = new QVBoxLayout;
    side->addWidget(kinds);
    side->addWidget(corner);
    side->addWidget(CheckBoxTiQianSuo);
    side->addWidget(styleGroup);
    side->addWidget(sizes);
    side->addStretch();
    side->addWidget(ok);
    side->addWidget(cancel);
    auto *body = new QHBoxLayout;
    body->addWidget(ScrollBox, 1);
    body->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(body, 1);
    layout->addWidget(status);

    connect(ImgYangKa, &SampleCardView::CellPressed, this,
        [this](int col, int row, Qt::MouseButton button, bool) { cellPressed(col, row, button); });
    connect(ImgYangKa, &SampleCardView::CellDragged, this, &TFrmYangKa::cellDragged);
    connect(ImgYangKa, &SampleCardView::CellReleased, this, &TFrmYangKa::cellReleased);
    connect(ImgYangKa, &SampleCardView::CardChanged, this, [this] { cardChanged(); });
    ImgYangKa->SetCard(&m_card);

    SetFileName(m_fileName);
    syncControls();
    cardChanged();
    rebuildRecentMenu(QString());
}

TFrmYangKa::~TFrmYangKa()
{
    // The view outlives this class's members: it must let go of the card first.
    ImgYangKa->SetCard(nullptr);
}

void TFrmYangKa::SetFileName(const QString &fileName)
{
    m_fileName = fileName;
    setWindowTitle(QStringLiteral("样卡设置") + QStringLiteral(" - ") + fileName);
}

void TFrmYangKa::syncControls()
{
    RbLeftTop->setChecked(m_card.StartFlag() == 0);
    RbRightBottom->setChecked(m_card.StartFlag() == 1);
    if (m_card.StartFlag() > 1) {
        // Neither corner: exclusive radio buttons cannot all be cleared otherwise.
        for (QRadioButton *b : { RbLeftTop, RbRightBottom }) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
    }
    CheckBoxTiQianSuo->setChecked(m_card.TiQianSuo);
    if (m_card.YKStyle() < ysOther)
        CbxYKStyle->setCurrentIndex(int(m_card.YKStyle()));
    EditRows->setText(QString::number(m_card.RowCount()));
    EditCols->setText(QString::number(m_card.ColCount()));
    EditJacquard->setText(QString::number(m_card.JacquardCount()));
}

void TFrmYangKa::cardChanged()
{
    const TNeedleCounts n = CountNeedles(m_card);
    StatusTotal->setText(QStringLiteral("总针数：%1 针").arg(n.Total));
    StatusJacquard->setText(QStringLiteral("纹针数：%1 针").arg(n.Jacquard));
    StatusEmpty->setText(QStringLiteral("空针数：%1 针").arg(n.Empty));
    // The jacquard field starts from the count the card has now.
    EditJacquard->setText(QString::number(n.Jacquard));
}

QStringList TFrmYangKa::StatusTexts() const
{
    return { StatusTotal->text(), StatusJacquard->text(), StatusEmpty->text() };
}

TNeedleKind TFrmYangKa::NeedleKind() const
{
    return TNeedleKind(std::max(RgpNeedle->checkedId(), 0));
}

void TFrmYangKa::SetNeedleKind(TNeedleKind kind)
{
    RgpNeedle->button(int(kind))->setChecked(true);
}

void TFrmYangKa::cellPressed(int col, int row, Qt::MouseButton button)
{
    const TNeedleKind kind = NeedleKind();
    if (NeedleKindFills(kind)) {
        if (button != Qt::LeftButton)
            return;
        m_dragging = true;
        m_dragCol = col;
        m_dragRow = row;
        ImgYangKa->SetBand(col, row, col, row);
        return;
    }
    const bool add = button == Qt::LeftButton;
    if (!add && button != Qt::RightButton)
        return;
    if (kind == TNeedleKind::LacingHole) {
        add ? m_card.AddLacingHole(col, row) : m_card.RemoveLacingHole(col, row);
        return;
    }
    if (add) {
        m_card.AddPositionHole(col, row);
        return;
    }
    // A right click anywhere on a positioning hole removes its whole block.
    for (const TPoint &h : m_card.Holes)
        if (col >= h.X && col <= h.X + 1 && row >= h.Y && row <= h.Y + 1) {
            m_card.RemovePositionHole(h.X, h.Y);
            return;
        }
}

void TFrmYangKa::cellDragged(int col, int row)
{
    if (m_dragging)
        ImgYangKa->SetBand(m_dragCol, m_dragRow, col, row);
}

void TFrmYangKa::cellReleased(int col, int row, Qt::MouseButton button)
{
    if (!m_dragging || button != Qt::LeftButton)
        return;
    m_dragging = false;
    ImgYangKa->ClearBand();
    FillCardCells(m_card, m_dragCol, m_dragRow, col, row, NeedleKindCode(NeedleKind()));
}

void TFrmYangKa::ApplyCustomSize()
{
    SetCustomCardSize(m_card, EditRows->text().toInt(), EditCols->text().toInt());
    ImgYangKa->Refresh();
    syncControls();
    cardChanged();
    ScrollBox->ensureVisible(0, 0);
}

void TFrmYangKa::ApplyJacquardCount()
{
    const qint64 total = qint64(m_card.ColCount()) * m_card.RowCount();
    m_card.SetJacquardCount(int(std::clamp<qint64>(EditJacquard->text().toLongLong(), 0, total)));
    syncControls();
}

void TFrmYangKa::SetStartCorner(int flag)
{
    m_card.SetStartFlag(flag);
    ImgYangKa->Refresh();
    syncControls();
}

void TFrmYangKa::ZoomBy(int step)
{
    m_card.SetMinRad(m_card.MinRad() + step);
    ImgYangKa->Refresh();
}

void TFrmYangKa::DivideData()
{
    QString rule = m_card.Rules;
    if (RunDivideDialog && RunDivideDialog(rule))
        m_card.Rules = rule;
}

bool TFrmYangKa::Confirm(QString *error)
{
    if (!CheckCardForDesign(m_designWidth, m_warpRepeat, m_card.JacquardCount(), error))
        return false;
    m_card.TiQianSuo = CheckBoxTiQianSuo->isChecked();
    return true;
}

void TFrmYangKa::accept()
{
    QString error;
    if (!Confirm(&error)) {
        if (ShowRefusal)
            ShowRefusal(error);
        return;
    }
    QDialog::accept();
}

QString TFrmYangKa::cardFolder() const
{
    if (!Folders().YangKaDir.isEmpty())
        return Folders().YangKaDir;
    const QString folder
        = Folders().DataDir.isEmpty() ? QString() : GetAppSubDir(Folders().DataDir, QStringLiteral("YangKa"));
    return folder.isEmpty() ? Folders().CurrentDir : folder;
}

void TFrmYangKa::rebuildRecentMenu(const QString &added)
{
    const int position = int(FileMenu->actions().indexOf(m_recentAnchor));
    RefreshRecentMenu(
        added, FileMenu, QLatin1String(CardFormRecentSection), added.isEmpty(),
        [this](const QString &path) { OpenCardFile(path); }, position);
}

bool TFrmYangKa::OpenCardFile(const QString &fileName)
{
    TYangkaImage loaded;
    loaded.Assign(m_card);
    QString error;
    if (!loaded.LoadFromFile(fileName, &error)) {
        ShowMessage(error.isEmpty() ? fileName : error);
        return false;
    }
    m_card.NeedRedraw = false;
    m_card.Assign(loaded);
    m_card.NeedRedraw = true;
    SetFileName(fileName);
    ImgYangKa->Refresh();
    syncControls();
    cardChanged();
    rebuildRecentMenu(fileName);
    return true;
}

bool TFrmYangKa::SaveCardFile(const QString &fileName)
{
    m_card.TiQianSuo = CheckBoxTiQianSuo->isChecked();
    QString error;
    if (!m_card.SaveToFile(fileName, &error)) {
        ShowMessage(error);
        return false;
    }
    m_card.CardFileName = fileName;
    SetFileName(fileName);
    rebuildRecentMenu(fileName);
    return true;
}

bool TFrmYangKa::FileOpen()
{
    const QString name = ChooseOpenFile ? ChooseOpenFile() : QString();
    return !name.isEmpty() && OpenCardFile(name);
}

bool TFrmYangKa::FileSave()
{
    if (m_fileName.isEmpty() || m_fileName == kUntitled)
        return FileSaveAs();
    return SaveCardFile(m_fileName);
}

bool TFrmYangKa::FileSaveAs()
{
    const QString name = ChooseSaveFile ? ChooseSaveFile() : QString();
    return !name.isEmpty() && SaveCardFile(name);
}
