#include "card/ui/samplecardwindow.h"

#include "card/samplecardcheck.h"
#include "card/ui/divisiondialog.h"
#include "card/ui/samplecardview.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/ui/recentmenu.h"
#include "core/ui/savedialogquestion.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
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

// The style names of the list, one per style in order; ysOther has none. The last is a
// word and goes through the interface texts.
const char *const kStyleNumbers[] = { "1200", "144", "1300", "1400", "1600", "1700", "1800", "1900", "2100",
    "2200", "2300", "2400", "2600" };

// One per TNeedleKind, in order.
const TUiKey kKindNames[] = { UiKey::SampleCard::Kind_Jacquard, UiKey::SampleCard::Kind_Rod,
    UiKey::SampleCard::Kind_Selvedge, UiKey::SampleCard::Kind_Shuttle, UiKey::SampleCard::Kind_Heald,
    UiKey::SampleCard::Kind_Waste_Selvedge, UiKey::SampleCard::Kind_Weft_Density,
    UiKey::SampleCard::Kind_Regulator, UiKey::SampleCard::Kind_Empty, UiKey::SampleCard::Kind_Threading_Hole,
    UiKey::SampleCard::Kind_Locating_Hole };
static_assert(std::size(kKindNames) == NeedleKindCount);

QString CardFilter()
{
    return GetUiString(UiKey::SampleCard::Card_Filter);
}

} // namespace

TFrmYangKa::TFrmYangKa(const TYangkaImage &card, int designWidth, int warpRepeat, QWidget *parent)
    : QDialog(parent)
    , m_designWidth(designWidth)
    , m_warpRepeat(warpRepeat)
{
    m_card.Assign(card);
    m_fileName = card.CardFileName;
    setDefaultQuestions();

    ImgYangKa = new SampleCardView;
    ScrollBox = new QScrollArea(this);
    ScrollBox->setWidget(ImgYangKa);
    ScrollBox->setAlignment(Qt::AlignCenter);
    ScrollBox->setMinimumSize(480, 200);
    CheckBoxTiQianSuo = new QCheckBox(this);
    CheckBoxTiQianSuo->setVisible(false);

    auto *side = new QVBoxLayout;
    side->addWidget(buildNeedleKinds());
    side->addWidget(buildStartCorner());
    side->addWidget(CheckBoxTiQianSuo);
    side->addWidget(buildCardStyles());
    side->addWidget(buildSizes());
    side->addStretch();
    buildButtons(side);
    auto *body = new QHBoxLayout;
    body->addWidget(ScrollBox, 1);
    body->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    layout->addLayout(body, 1);
    layout->addWidget(buildStatusBar());

    connect(ImgYangKa, &SampleCardView::CellPressed, this,
        [this](int col, int row, Qt::MouseButton button, bool) { cellPressed(col, row, button); });
    connect(ImgYangKa, &SampleCardView::CellDragged, this, &TFrmYangKa::cellDragged);
    connect(ImgYangKa, &SampleCardView::CellReleased, this, &TFrmYangKa::cellReleased);
    connect(ImgYangKa, &SampleCardView::CardChanged, this, [this] { cardChanged(); });
    ImgYangKa->SetCard(&m_card);

    syncControls();
    cardChanged();
    ApplyLanguage();
    rebuildRecentMenu(QString());
}

void TFrmYangKa::setDefaultQuestions()
{
    ShowMessage = [this](const QString &text) { QMessageBox::warning(this, windowTitle(), text); };
    ShowRefusal = [this](const QString &text) { QMessageBox::critical(this, CardForDesignCaption(), text); };
    ChooseOpenFile = [this] {
        return QFileDialog::getOpenFileName(
            this, GetUiString(UiKey::SampleCard::Open_Caption), cardFolder(), CardFilter());
    };
    ChooseSaveFile = [this] {
        QFileDialog dialog(this, GetUiString(UiKey::SampleCard::Save_As_Caption), cardFolder(), CardFilter());
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
}

QMenuBar *TFrmYangKa::buildMenus()
{
    auto *menuBar = new QMenuBar(this);
    FileMenu = menuBar->addMenu(QString());
    m_texts.Open = FileMenu->addAction(QString(), this, [this] { FileOpen(); });
    m_texts.Open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    m_texts.Save = FileMenu->addAction(QString(), this, [this] { FileSave(); });
    m_texts.Save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    m_texts.SaveAs = FileMenu->addAction(QString(), this, [this] { FileSaveAs(); });
    FileMenu->addSeparator();
    m_recentAnchor = FileMenu->addAction(QString(), this, &QDialog::reject);
    m_texts.EditMenu = menuBar->addMenu(QString());
    m_texts.Divide = m_texts.EditMenu->addAction(QString(), this, [this] { DivideData(); });
    m_texts.Divide->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    // Zoom has no menu entry: only its keys.
    auto *zoomIn = new QAction(this);
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, this, [this] { ZoomBy(1); });
    auto *zoomOut = new QAction(this);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, this, [this] { ZoomBy(-1); });
    addAction(zoomIn);
    addAction(zoomOut);
    return menuBar;
}

QGroupBox *TFrmYangKa::buildNeedleKinds()
{
    m_texts.Kinds = new QGroupBox(this);
    auto *kindsLayout = new QGridLayout(m_texts.Kinds);
    RgpNeedle = new QButtonGroup(this);
    for (int i = 0; i < NeedleKindCount; ++i) {
        auto *button = new QRadioButton(m_texts.Kinds);
        RgpNeedle->addButton(button, i);
        kindsLayout->addWidget(button, i / 2, i % 2);
    }
    RgpNeedle->button(0)->setChecked(true);
    return m_texts.Kinds;
}

QGroupBox *TFrmYangKa::buildStartCorner()
{
    auto *corner = new QGroupBox(this);
    auto *cornerLayout = new QHBoxLayout(corner);
    RbLeftTop = new QRadioButton(corner);
    RbRightBottom = new QRadioButton(corner);
    cornerLayout->addWidget(RbLeftTop);
    cornerLayout->addWidget(RbRightBottom);
    connect(RbLeftTop, &QRadioButton::clicked, this, [this] { SetStartCorner(0); });
    connect(RbRightBottom, &QRadioButton::clicked, this, [this] { SetStartCorner(1); });
    return corner;
}

QGroupBox *TFrmYangKa::buildCardStyles()
{
    m_texts.Styles = new QGroupBox(this);
    auto *styleLayout = new QHBoxLayout(m_texts.Styles);
    CbxYKStyle = new QComboBox(m_texts.Styles);
    for (const char *name : kStyleNumbers)
        CbxYKStyle->addItem(QString::fromLatin1(name));
    CbxYKStyle->addItem(QString()); // the continuous style: a word
    styleLayout->addWidget(CbxYKStyle);
    m_texts.Styles->setVisible(false);
    connect(CbxYKStyle, &QComboBox::activated, this, [this](int index) {
        m_card.SetYKStyle(TYKStyle(index));
        ImgYangKa->Refresh();
        cardChanged();
    });
    return m_texts.Styles;
}

QGroupBox *TFrmYangKa::buildSizes()
{
    auto *sizes = new QGroupBox(this);
    auto *sizesLayout = new QGridLayout(sizes);
    EditRows = new QLineEdit(sizes);
    EditCols = new QLineEdit(sizes);
    EditJacquard = new QLineEdit(sizes);
    int row = 0;
    for (QLabel **label : { &m_texts.Rows, &m_texts.Cols, &m_texts.Jacquard }) {
        *label = new QLabel(sizes);
        sizesLayout->addWidget(*label, row++, 0);
    }
    row = 0;
    for (QLineEdit *e : { EditRows, EditCols, EditJacquard }) {
        e->setValidator(new QIntValidator(0, 9999999, e));
        sizesLayout->addWidget(e, row++, 1);
    }
    connect(EditRows, &QLineEdit::returnPressed, this, &TFrmYangKa::ApplyCustomSize);
    connect(EditCols, &QLineEdit::returnPressed, this, &TFrmYangKa::ApplyCustomSize);
    connect(EditJacquard, &QLineEdit::returnPressed, this, &TFrmYangKa::ApplyJacquardCount);
    return sizes;
}

void TFrmYangKa::buildButtons(QVBoxLayout *side)
{
    m_texts.Ok = new QPushButton(this);
    m_texts.Cancel = new QPushButton(this);
    // Enter in a size field applies the size; it must not press OK.
    for (QPushButton *b : { m_texts.Ok, m_texts.Cancel }) {
        b->setAutoDefault(false);
        side->addWidget(b);
    }
    connect(m_texts.Ok, &QPushButton::clicked, this, &TFrmYangKa::accept);
    connect(m_texts.Cancel, &QPushButton::clicked, this, &TFrmYangKa::reject);
}

QStatusBar *TFrmYangKa::buildStatusBar()
{
    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    StatusTotal = new QLabel(status);
    StatusJacquard = new QLabel(status);
    StatusEmpty = new QLabel(status);
    status->addWidget(StatusTotal);
    status->addWidget(StatusJacquard);
    status->addWidget(StatusEmpty);
    return status;
}

void TFrmYangKa::ApplyLanguage()
{
    FileMenu->setTitle(GetUiString(UiKey::SampleCard::Menu_File));
    m_texts.Open->setText(GetUiString(UiKey::SampleCard::Open));
    m_texts.Save->setText(GetUiString(UiKey::SampleCard::Save));
    m_texts.SaveAs->setText(GetUiString(UiKey::SampleCard::Save_As));
    m_recentAnchor->setText(GetUiString(UiKey::SampleCard::Exit));
    m_texts.EditMenu->setTitle(GetUiString(UiKey::SampleCard::Menu_Edit));
    m_texts.Divide->setText(GetUiString(UiKey::SampleCard::Divide));
    m_texts.Kinds->setTitle(GetUiString(UiKey::SampleCard::Needle_Kind));
    for (int i = 0; i < NeedleKindCount; ++i)
        RgpNeedle->button(i)->setText(GetUiString(kKindNames[i]));
    RbLeftTop->setText(GetUiString(UiKey::SampleCard::Left_Top));
    RbRightBottom->setText(GetUiString(UiKey::SampleCard::Right_Bottom));
    CheckBoxTiQianSuo->setText(GetUiString(UiKey::SampleCard::Early_Shuttle));
    m_texts.Styles->setTitle(GetUiString(UiKey::SampleCard::Card_Style));
    CbxYKStyle->setItemText(CbxYKStyle->count() - 1, GetUiString(UiKey::SampleCard::Style_Continuous));
    m_texts.Rows->setText(GetUiString(UiKey::SampleCard::Rows));
    m_texts.Cols->setText(GetUiString(UiKey::SampleCard::Cols));
    m_texts.Jacquard->setText(GetUiString(UiKey::SampleCard::Jacquard_Count));
    m_texts.Ok->setText(GetUiString(UiKey::General::BtnOK));
    m_texts.Cancel->setText(GetUiString(UiKey::General::BtnCancel));
    SetFileName(m_fileName);
    textStatus();
}

void TFrmYangKa::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QDialog::changeEvent(event);
}

TFrmYangKa::~TFrmYangKa()
{
    // The view outlives this class's members: it must let go of the card first.
    ImgYangKa->SetCard(nullptr);
}

void TFrmYangKa::SetFileName(const QString &fileName)
{
    m_fileName = fileName;
    setWindowTitle(GetUiString(UiKey::SampleCard::Caption) + QStringLiteral(" - ") + fileName);
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
    textStatus(n);
    // The jacquard field starts from the count the card has now.
    EditJacquard->setText(QString::number(n.Jacquard));
}

void TFrmYangKa::textStatus()
{
    textStatus(CountNeedles(m_card));
}

void TFrmYangKa::textStatus(const TNeedleCounts &n)
{
    StatusTotal->setText(GetUiString(UiKey::SampleCard::Status_Total).arg(n.Total));
    StatusJacquard->setText(GetUiString(UiKey::SampleCard::Status_Jacquard).arg(n.Jacquard));
    StatusEmpty->setText(GetUiString(UiKey::SampleCard::Status_Empty).arg(n.Empty));
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
