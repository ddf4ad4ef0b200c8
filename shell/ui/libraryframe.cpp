#include "shell/ui/libraryframe.h"

#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/documentquestions.h"
#include "shell/ui/browseholder.h"
#include "shell/ui/librarynamedialog.h"
#include "shell/ui/openpicturedialog.h"
#include "weave/weavefile.h"

#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

TFrameBrowse::TFrameBrowse(TQuestionsSource questions, QWidget *parent)
    : QWidget(parent)
    , m_questions(std::move(questions))
{
    setObjectName(QStringLiteral("FrameBrowse"));
    PopupMenuWeave = new QMenu(this);
    MnuNewWeave = PopupMenuWeave->addAction(QString(), this, &TFrameBrowse::NewWeave);
    MnuDelWeave = PopupMenuWeave->addAction(QString(), this, &TFrameBrowse::DeleteWeave);
    MnuNewWeaveLib = PopupMenuWeave->addAction(QString(), this, &TFrameBrowse::NewWeaveLibrary);
    MnuDelWeaveLib = PopupMenuWeave->addAction(QString(), this, &TFrameBrowse::DeleteWeaveLibrary);
    PopupMenuWeave->addSeparator();
    m_weaveGroup = new QActionGroup(this);
    m_weaveGroup->setExclusive(true);

    PopupMenuImg = new QMenu(this);
    MnuAddPattern = PopupMenuImg->addAction(QString(), this, &TFrameBrowse::AddPattern);
    MnuDelPattern = PopupMenuImg->addAction(QString(), this, &TFrameBrowse::DeletePattern);
    MnuNewPatternLib = PopupMenuImg->addAction(QString(), this, &TFrameBrowse::NewPatternLibrary);
    MnuDelPatternLib = PopupMenuImg->addAction(QString(), this, &TFrameBrowse::DeletePatternLibrary);
    PopupMenuImg->addSeparator();
    m_patternGroup = new QActionGroup(this);
    m_patternGroup->setExclusive(true);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    TstBrowse = new QTabBar(this);
    TstBrowse->addTab(QString());
    TstBrowse->addTab(QString());
    SbnMenu = new QToolButton(this);
    SbnMenu->setObjectName(QStringLiteral("SbnMenu"));
    SbnMenu->setArrowType(Qt::DownArrow);
    top->addWidget(TstBrowse, 1);
    top->addWidget(SbnMenu);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(holder(BrowseWeave, PopupMenuWeave));
    m_pages->addWidget(holder(BrowseImg, PopupMenuImg));
    BrowseWeave->setObjectName(QStringLiteral("BrowseWeave"));
    BrowseImg->setObjectName(QStringLiteral("BrowseImg"));
    BrowseWeave->SetMode(TBrowseMode::Weaves);
    BrowseWeave->SetMargin(4);
    BrowseWeave->SetThumbSize(102, 102);
    BrowseImg->SetMode(TBrowseMode::Patterns);
    BrowseImg->SetMargin(4);
    BrowseImg->SetThumbSize(102, 102);
    connect(TstBrowse, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
    connect(SbnMenu, &QToolButton::clicked, this, [this] {
        QMenu *menu = m_pages->currentIndex() == 0 ? PopupMenuWeave : PopupMenuImg;
        menu->popup(SbnMenu->mapToGlobal(QPoint(0, SbnMenu->height())));
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(m_pages, 1);

    connect(BrowseWeave, &TBrowseImage::OnClickEvent, this,
        [this](TDrawImage *source) { Q_EMIT WeavePicked(source->FileName()); });
    connect(BrowseImg, &TBrowseImage::OnClickEvent, this,
        [this](TDrawImage *source) { Q_EMIT PatternPicked(source->FileName()); });
    connect(BrowseWeave, &TBrowseImage::OnDblClickEvent, this,
        [this](TDrawImage *source) { Q_EMIT DesignWeave(source->FileName()); });
    connect(BrowseImg, &TBrowseImage::OnDblClickEvent, this,
        [this](TDrawImage *source) { Q_EMIT OpenDocument(source->FileName()); });
    ApplyLanguage();
}

QWidget *TFrameBrowse::holder(TBrowseAll *&browse, QMenu *menu)
{
    auto *page = new TBrowseHolder(this);
    browse = new TBrowseAll(page);
    // The library shows each weave's and pattern's name under its picture, as the explorer
    // does: a designer picks a weave by its name as much as by its look.
    browse->SetCaptions(true);
    page->Browse = browse;
    browse->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(browse, &QWidget::customContextMenuRequested, this,
        [browse, menu](const QPoint &at) { menu->popup(browse->mapToGlobal(at)); });
    return page;
}

void TFrameBrowse::ApplyLanguage()
{
    MnuNewWeave->setText(GetUiString(UiKey::TileWeave::New_Weave));
    MnuDelWeave->setText(GetUiString(UiKey::TileWeave::Del_Weave));
    MnuNewWeaveLib->setText(GetUiString(UiKey::TileWeave::New_Weave_Library) + QStringLiteral("..."));
    MnuDelWeaveLib->setText(GetUiString(UiKey::TileWeave::Del_Weave_Library));
    MnuAddPattern->setText(GetUiMessage(UiKey::String::Add_Pattern));
    MnuDelPattern->setText(GetUiMessage(UiKey::String::Del_Pattern));
    MnuNewPatternLib->setText(GetUiMessage(UiKey::String::New_Pattern_Library));
    MnuDelPatternLib->setText(GetUiMessage(UiKey::String::Del_Pattern_Library));
    TstBrowse->setTabText(0, GetUiMessage(UiKey::String::Weave_Tab));
    TstBrowse->setTabText(1, GetUiMessage(UiKey::String::Pattern_Tab));
}

TBrowseAll *TFrameBrowse::browser(TBrowseMode mode) const
{
    return mode == TBrowseMode::Weaves ? BrowseWeave : BrowseImg;
}

void TFrameBrowse::FillWeaveLibrary()
{
    fillLibraries(TBrowseMode::Weaves);
}

void TFrameBrowse::FillPatternLibrary()
{
    fillLibraries(TBrowseMode::Patterns);
}

void TFrameBrowse::fillLibraries(TBrowseMode mode)
{
    const bool weaves = mode == TBrowseMode::Weaves;
    QString root = weaves ? Folders().WeaveDir : Folders().PatternLibDir;
    if (root.endsWith(QLatin1Char('/')))
        root.chop(1);
    (weaves ? m_weaveRoot : m_patternRoot) = root;
    TBrowseAll *browse = browser(mode);
    browse->SetRootFolder(root);
    QAction *chosen = nullptr;
    const QString defaultName = DefaultLibraryName(browse->SubFolders(), mode);
    for (const QString &name : browse->SubFolders()) {
        QAction *item = addItem(mode, name, QDir(root).filePath(name));
        if (!defaultName.isEmpty() && name == defaultName)
            chosen = item;
    }
    if (chosen)
        ChooseLibrary(chosen);
}

QAction *TFrameBrowse::addItem(TBrowseMode mode, const QString &name, const QString &path)
{
    const bool weaves = mode == TBrowseMode::Weaves;
    QMenu *menu = weaves ? PopupMenuWeave : PopupMenuImg;
    QAction *item = menu->addAction(name);
    item->setCheckable(true);
    item->setData(path);
    (weaves ? m_weaveGroup : m_patternGroup)->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { ChooseLibrary(item); });
    return item;
}

QAction *TFrameBrowse::AddLibraryItem(TBrowseMode mode, const QString &path)
{
    QAction *item = addItem(mode, QFileInfo(path).fileName(), path);
    ChooseLibrary(item);
    return item;
}

void TFrameBrowse::ChooseLibrary(QAction *item)
{
    const bool weaves = m_weaveGroup->actions().contains(item);
    const QString path = item->data().toString();
    item->setChecked(true);
    browser(weaves ? TBrowseMode::Weaves : TBrowseMode::Patterns)->SetFolder(path);
    if (weaves) {
        // The weave dialogs open and save in the chosen library.
        Folders().WeaveDir = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        Q_EMIT WeavePicked(QString());
    } else {
        Q_EMIT PatternPicked(QString());
    }
}

QList<QAction *> TFrameBrowse::WeaveLibraryItems() const
{
    return m_weaveGroup->actions();
}

QList<QAction *> TFrameBrowse::PatternLibraryItems() const
{
    return m_patternGroup->actions();
}

QString TFrameBrowse::CurrentWeaveLibrary() const
{
    QAction *item = m_weaveGroup->checkedAction();
    return item ? item->data().toString() : QString();
}

QString TFrameBrowse::CurrentPatternLibrary() const
{
    QAction *item = m_patternGroup->checkedAction();
    return item ? item->data().toString() : QString();
}

QString TFrameBrowse::SelectedWeaveFile() const
{
    return BrowseWeave->SelectedFile();
}

bool TFrameBrowse::SelectedWeave(TWeaveArray &cells, QString *error) const
{
    const QString file = SelectedWeaveFile();
    if (file.isEmpty())
        return false;
    return LoadWeaveFile(file, cells, error);
}

QString TFrameBrowse::SelectedPatternFile() const
{
    return BrowseImg->SelectedFile();
}

void TFrameBrowse::NewWeaveLibrary()
{
    TFrmCreateWeaveLib dialog(m_weaveRoot, m_questions(), this);
    if (dialog.exec() == QDialog::Accepted)
        AddLibraryItem(TBrowseMode::Weaves, dialog.CreatedPath());
}

void TFrameBrowse::NewPatternLibrary()
{
    TFrmCreatePatternLib dialog(m_patternRoot, m_questions(), this);
    if (dialog.exec() == QDialog::Accepted)
        AddLibraryItem(TBrowseMode::Patterns, dialog.CreatedPath());
}

void TFrameBrowse::DeleteWeaveLibrary()
{
    deleteLibrary(TBrowseMode::Weaves);
}

void TFrameBrowse::DeletePatternLibrary()
{
    deleteLibrary(TBrowseMode::Patterns);
}

void TFrameBrowse::deleteLibrary(TBrowseMode mode)
{
    const bool weaves = mode == TBrowseMode::Weaves;
    const QString caption = GetUiMessage(UiKey::String::DeleteCaption);
    QAction *item = (weaves ? m_weaveGroup : m_patternGroup)->checkedAction();
    if (!item) {
        m_questions().ShowMessage(
            GetUiMessage(weaves ? UiKey::String::NoWeaveLibrary : UiKey::String::NoPatternLibrary), caption,
            TMessageKind::Information);
        return;
    }
    const QString ask
        = GetUiMessage(weaves ? UiKey::String::AskDeleteWeaveLibrary : UiKey::String::AskDeletePatternLibrary)
              .arg(item->text());
    if (!m_questions().AskOkCancel(ask, caption))
        return;
    TBrowseAll *browse = browser(mode);
    QString error;
    if (!browse->DeleteFolder(&error)) {
        // The folder went meanwhile: said so, and the item stays for the user to see.
        m_questions().ShowMessage(error, caption, TMessageKind::Warning);
        return;
    }
    delete item;
    if (weaves)
        Q_EMIT WeavePicked(QString());
    else
        Q_EMIT PatternPicked(QString());
}

void TFrameBrowse::NewWeave()
{
    // The new weave is saved into the current library: there must be one.
    if (!m_weaveGroup->checkedAction()) {
        m_questions().ShowMessage(GetUiMessage(UiKey::String::NewWeaveNoLibrary),
            GetUiMessage(UiKey::String::NewWeaveCaption), TMessageKind::Information);
        return;
    }
    Q_EMIT DesignWeave(QString());
}

void TFrameBrowse::DeleteWeave()
{
    if (!m_weaveGroup->checkedAction()) {
        m_questions().ShowMessage(GetUiMessage(UiKey::String::DeleteWeaveNoLibrary),
            GetUiMessage(UiKey::String::DeleteWeaveCaption), TMessageKind::Information);
        return;
    }
    const bool hadPick = BrowseWeave->Selected() != nullptr;
    BrowseWeave->DeleteSelectedFile(m_questions());
    if (hadPick && !BrowseWeave->Selected())
        Q_EMIT WeavePicked(QString());
}

void TFrameBrowse::DeletePattern()
{
    if (!m_patternGroup->checkedAction()) {
        m_questions().ShowMessage(GetUiMessage(UiKey::String::DeletePatternNoLibrary),
            GetUiMessage(UiKey::String::DeletePatternCaption), TMessageKind::Information);
        return;
    }
    const bool hadPick = BrowseImg->Selected() != nullptr;
    BrowseImg->DeleteSelectedFile(m_questions());
    if (hadPick && !BrowseImg->Selected())
        Q_EMIT PatternPicked(QString());
}

void TFrameBrowse::AddPattern()
{
    if (!m_patternGroup->checkedAction()) {
        m_questions().ShowMessage(GetUiMessage(UiKey::String::DeletePatternNoLibrary),
            GetUiMessage(UiKey::String::DeletePatternCaption), TMessageKind::Information);
        return;
    }
    TOpenPictureDialog dialog(this);
    dialog.setNameFilter(QStringLiteral("Windows Bitmap(*.bmp)"));
    dialog.setDirectory(Folders().PictureDir);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        AddPatternFile(dialog.selectedFiles().constFirst());
}

bool TFrameBrowse::AddPatternFile(const QString &fileName)
{
    QString copy;
    QString error;
    if (!CopyFileIntoLibrary(fileName, CurrentPatternLibrary(), copy, &error)) {
        m_questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
        return false;
    }
    BrowseImg->ShowFile(copy);
    return true;
}

TRightFrame::TRightFrame(TFrameBrowse::TQuestionsSource questions, QWidget *parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("RightFrame"));
    setWindowTitle(GetUiString(UiKey::TileWeave::Weave_Library));
    m_frame = new TFrameBrowse(std::move(questions), this);
    setWidget(m_frame);
    setMinimumWidth(130);
}
