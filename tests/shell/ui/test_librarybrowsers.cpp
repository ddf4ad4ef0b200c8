// The library browsers, the file explorer and the picture open dialog, as a new user meets
// them in the main window: a fresh home gets the starter weaves, the weave browser lists
// them, a picked weave goes to the document, the explorer opens a picture as a document.
#include "shell/ui/browseview.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/explorerwindow.h"
#include "shell/ui/libraryframe.h"
#include "shell/ui/librarynamedialog.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/openpicturedialog.h"

#include "core/base/messages.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/tileweavewindow.h"
#include "mainwindowfixture.h"
#include "shell/pictureformats.h"
#include "testutil.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {
// A fresh home: the data folder is new, as for a user starting the program the first time.
struct FreshHome {
    QTemporaryDir home;
    QByteArray oldData = qgetenv("XDG_DATA_HOME");
    FreshHome()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        QString error;
        EXPECT_TRUE(InitSharedState(QString(), &error)) << error.toStdString();
        QFile::remove(Folders().ConfigIniPath);
    }
    ~FreshHome() { qputenv("XDG_DATA_HOME", oldData); }
};

TWeaveArray weave(int warps, int wefts)
{
    TWeaveArray cells = MakeWeaveArray(warps, wefts, 0);
    cells[0][0] = 1;
    return cells;
}

QStringList fileNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &p : paths)
        names << QFileInfo(p).fileName();
    return names;
}

struct BrowserFixture : TMainWindowFixture {
    FreshHome fresh;

    void SetUp() override
    {
        RegisterPictureFormats();
        ShowMainWindow();
    }
    TFrameBrowse &frame() const { return *form->LibraryBrowser(); }
};
} // namespace

// A new user's first start: the weave folder gets the starter library "General", which the
// weave browser shows; the pattern library folder is there, empty.
TEST_F(BrowserFixture, NewUserSeesTheStarterWeaves)
{
    ASSERT_NE(form->LibraryBrowser(), nullptr);
    const QString general = fresh.home.filePath("data/dorwen-cad/Weave/General");
    EXPECT_TRUE(QFileInfo(general).isDir());
    EXPECT_EQ(frame().CurrentWeaveLibrary(), general);
    EXPECT_EQ(frame().BrowseWeave->Files().size(), StarterWeaveNames().size());
    EXPECT_EQ(frame().BrowseWeave->Thumbnails().size(), StarterWeaveNames().size());
    EXPECT_EQ(Folders().WeaveDir, general + "/") << "the chosen library is the weave folder";
    EXPECT_EQ(Folders().CurrentDir, Folders().PatternLibDir)
        << "relative names resolve from the folder listed last";
    EXPECT_EQ(Folders().PatternLibDir, fresh.home.filePath("data/dorwen-cad/Pattern/"));
    EXPECT_TRUE(frame().CurrentPatternLibrary().isEmpty());
    ASSERT_EQ(frame().WeaveLibraryItems().size(), 1);
    EXPECT_TRUE(frame().WeaveLibraryItems().first()->isChecked());
    EXPECT_TRUE(frame().MnuNewWeave->isEnabled());

    // The texts follow the language chosen.
    const int chinese = int(ListLanguageFiles().indexOf("Zhongwen-Jianti.ini"));
    ASSERT_GE(chinese, 0);
    form->SetLanguage(chinese);
    EXPECT_EQ(frame().TstBrowse->tabText(0), QString::fromUtf8("组织图"));
    EXPECT_EQ(frame().MnuDelPattern->text(), QString::fromUtf8("删除花样..."));
    form->SetLanguage(int(ListLanguageFiles().indexOf("English.ini")));
    EXPECT_EQ(frame().TstBrowse->tabText(0), "Weaves");

    // View > Weave Library hides and shows the frame.
    QAction *display = form->Action("ActDisplayWeave");
    ASSERT_TRUE(display->isEnabled());
    EXPECT_TRUE(display->isChecked());
    display->trigger();
    EXPECT_FALSE(form->findChild<TRightFrame *>()->isVisible());
    display->trigger();
    EXPECT_TRUE(form->findChild<TRightFrame *>()->isVisible());
}

// A click picks a weave for the active document; another tool drops the pick; a saved
// weave file shows in the browser, selected.
TEST_F(BrowserFixture, PickedWeaveGoesToTheActiveGridAndSavedWeavesShow)
{
    TMDIChild *child = form->OpenChild(QString(), true);
    ASSERT_NE(child, nullptr);
    TBrowseAll *browse = frame().BrowseWeave;
    ASSERT_GE(browse->Thumbnails().size(), 2);
    TDrawImage *second = browse->Thumbnails().at(1);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(browse->Selected(), second);
    // The selected one's ground is dark blue, the others' the button face.
    EXPECT_EQ(second->Image().pixel(2, 2), qRgb(0, 0, 128));
    EXPECT_NE(browse->Thumbnails().at(0)->Image().pixel(2, 2), qRgb(0, 0, 128));
    EXPECT_EQ(frame().SelectedWeaveFile(), second->FileName());
    EXPECT_EQ(child->PatternGrid().PickedWeaveFile(), second->FileName());
    TWeaveArray expected;
    ASSERT_TRUE(LoadWeaveFile(second->FileName(), expected));
    EXPECT_TRUE(child->PatternGrid().PickedWeave() == expected);

    RunState().CurrentToolId = TToolId::PickedWeave;
    SendToolChanged();
    EXPECT_EQ(browse->Selected(), second) << "the weave tool keeps the pick";
    RunState().CurrentToolId = TToolId::Move;
    SendToolChanged();
    EXPECT_EQ(browse->Selected(), nullptr);
    EXPECT_NE(second->Image().pixel(2, 2), qRgb(0, 0, 128)) << "drawn again unselected";

    // A weave saved into the library shown: listed and selected.
    const QString saved = frame().CurrentWeaveLibrary() + "/Mine.ovw";
    ASSERT_TRUE(WriteWeaveFile(saved, weave(3, 4)));
    SendWeaveFileSaved(saved);
    EXPECT_TRUE(browse->Files().contains(saved));
    ASSERT_NE(browse->Selected(), nullptr);
    EXPECT_EQ(browse->Selected()->FileName(), saved);
    // Saved again with another size: drawn again.
    ASSERT_TRUE(WriteWeaveFile(saved, weave(5, 2)));
    SendWeaveFileSaved(saved);
    EXPECT_EQ(browse->Selected()->Thumbnail().FileSize, QSize(5, 2));
    // A weave saved elsewhere changes nothing.
    const int count = int(browse->Files().size());
    ASSERT_TRUE(WriteWeaveFile(dir.filePath("other.ovw"), weave(2, 2)));
    SendWeaveFileSaved(dir.filePath("other.ovw"));
    EXPECT_EQ(browse->Files().size(), count);
}

// A new user picks a starter weave in the library, shows the tile-weave window, picks a
// colour in the pattern and tiles: the weave of the library is the one tiled. A weave picked
// while the window is open replaces it; the window follows the document's palette and the
// language.
TEST_F(BrowserFixture, WeavePickedInTheLibraryIsTiledThroughTheWindow)
{
    const QString picture = dir.filePath("ground.bmp");
    const std::vector<std::vector<int>> ground { { 3, 3, 3, 3, 3 }, { 3, 3, 3, 3, 3 }, { 3, 3, 3, 5, 5 },
        { 3, 3, 3, 3, 3 } };
    ASSERT_TRUE(SaveBmp8File(MakePicture({ ground[0], ground[1], ground[2], ground[3] }), picture));
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    TBrowseAll *browse = frame().BrowseWeave;
    auto thumbnail = [&](const QString &name) -> TDrawImage * {
        for (TDrawImage *t : browse->Thumbnails())
            if (QFileInfo(t->FileName()).fileName() == name)
                return t;
        return nullptr;
    };
    TDrawImage *twill = thumbnail("Twill 2-1.ovw");
    TDrawImage *satin = thumbnail("Satin 5.ovw");
    ASSERT_TRUE(twill && satin);

    QTest::mouseClick(twill, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(grid.ToolId(), TToolId::PickedWeave);
    EXPECT_EQ(RunState().CurrentToolId, TToolId::PickedWeave);
    TWeaveArray twillCells;
    ASSERT_TRUE(LoadWeaveFile(twill->FileName(), twillCells));

    QAction *tileWeave = form->Action("ActTileWeave");
    ASSERT_TRUE(tileWeave->isEnabled());
    tileWeave->trigger();
    auto *window = form->findChild<TFrmTileWeave *>();
    ASSERT_NE(window, nullptr);
    QStringList messages;
    window->SetMessageHandler([&](const QString &text) { messages << text; });
    EXPECT_TRUE(window->Weave() == twillCells);
    EXPECT_TRUE(window->findChild<QLabel *>("WeaveName")->text().contains("Twill 2-1"));
    EXPECT_EQ(grid.ToolId(), TToolId::AbsorbColor) << "the window selects the colour pick";
    EXPECT_TRUE(grid.PickedWeave() == twillCells) << "the grid keeps its tiling weave";

    // Another weave picked while the window is open is the one tiled.
    QTest::mouseClick(satin, Qt::LeftButton, {}, QPoint(5, 5));
    TWeaveArray satinCells;
    ASSERT_TRUE(LoadWeaveFile(satin->FileName(), satinCells));
    EXPECT_TRUE(window->Weave() == satinCells);
    EXPECT_TRUE(window->findChild<QLabel *>("WeaveName")->text().contains("Satin 5"));

    // The colour picked in the pattern, then OK.
    SendColorPicked(0, TColorPickInfo { 0, 3, 3 });
    ASSERT_EQ(window->Colors().size(), 1);
    QTest::mouseClick(window->findChild<QPushButton *>("BtnOk"), Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    // Black is index 0 of the grey palette; the weave is anchored at the bottom-left cell.
    const int W = int(satinCells.size()), H = int(satinCells[0].size());
    const int PH = int(ground.size());
    std::vector<std::vector<int>> expected = ground;
    for (int y = 0; y < PH; ++y)
        for (int x = 0; x < int(ground[0].size()); ++x)
            if (ground[y][x] == 3 && satinCells[x % W][H - 1 - ((PH - 1 - y) % H)] == 1)
                expected[y][x] = 0;
    EXPECT_NE(expected, ground);
    EXPECT_EQ(PictureRows(grid.Picture()), expected);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);

    // The document's palette changes: the listed colour's swatch follows.
    TPalette256 palette = grid.Palette();
    palette[3] = TPaletteEntry { 200, 10, 20 };
    grid.SetPalette(palette);
    SendPaletteFromChild();
    auto *list = window->findChild<QTableWidget *>("DrdSelectedColor");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->item(0, 0)->background().color(), QColor(200, 10, 20));
    EXPECT_EQ(window->Colors().at(0).Color, palette[3]);

    // A language switch while the window is open.
    form->SetLanguage(int(ListLanguageFiles().indexOf("Zhongwen-Jianti.ini")));
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("平铺组织"));
    EXPECT_TRUE(window->findChild<QLabel *>("WeaveName")->text().startsWith(QString::fromUtf8("组织：")));
    EXPECT_TRUE(window->findChild<QLabel *>("WeaveName")->text().contains("Satin 5"));
    EXPECT_EQ(form->findChild<QLabel *>("LblFloat")->text(), QString::fromUtf8("浮长："));
    form->SetLanguage(int(ListLanguageFiles().indexOf("English.ini")));
    EXPECT_EQ(window->windowTitle(), "Tile Weave");
}

// Unreadable and empty weaves are left out, and the progress counts against what is
// wanted at each step; a folder that went shows nothing, never the folder before.
TEST_F(BrowserFixture, BrowserListsReadableFilesOnly)
{
    ASSERT_TRUE(WriteWeaveFile(dir.filePath("a.ovw"), weave(2, 2)));
    ASSERT_TRUE(WriteAll(dir.filePath("b.OVW"), "damaged"));
    QByteArray empty = WeaveFileBytes(weave(1, 1)).left(WeaveFileDataOffset);
    std::memset(empty.data() + WeaveFileHeaderSize, 0, 8);
    ASSERT_TRUE(WriteAll(dir.filePath("c.ovw"), empty));
    ASSERT_TRUE(WriteWeaveFile(dir.filePath("d.Ovw"), weave(3, 2)));
    ASSERT_TRUE(WriteAll(dir.filePath("e.txt"), "x"));

    TBrowseAll browse;
    browse.resize(250, 300);
    QList<int> progress;
    QObject::connect(&browse, &TBrowseImage::OnProcessEvent, [&](int p) { progress << p; });
    browse.SetFolder(dir.path() + "/");
    EXPECT_EQ(fileNames(browse.Files()), (QStringList { "a.ovw", "d.Ovw" }));
    ASSERT_EQ(browse.Thumbnails().size(), 2);
    EXPECT_EQ(browse.Thumbnails().at(1)->FileName(), dir.filePath("d.Ovw"));
    // 4 wanted; two dropped leave 2, of which d.Ovw is the second.
    EXPECT_EQ(progress, (QList<int> { 25, 100 }));
    EXPECT_EQ(browse.Folder(), dir.path()) << "one trailing slash is dropped";
    EXPECT_FALSE(browse.ScrollBar()->isEnabled());
    EXPECT_EQ(browse.ScrollBar()->maximum(), 3);

    // Deleting with no thumbnail selected asks nothing and changes nothing.
    browse.DeleteSelectedFile(ask);
    EXPECT_TRUE(ask.Asked.isEmpty());
    // Declined, then confirmed.
    browse.SelectThumbnail(browse.Thumbnails().first());
    browse.DeleteSelectedFile(ask);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("a.ovw")));
    ask.OkAnswer = true;
    browse.DeleteSelectedFile(ask);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.ovw")));
    EXPECT_EQ(fileNames(browse.Files()), QStringList { "d.Ovw" });
    EXPECT_EQ(browse.Selected(), nullptr);

    // Seven weaves take four rows of 123 pixels: more than 300, so the list scrolls, by the
    // scroll bar or the wheel, and the thumbnails move with it.
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(WriteWeaveFile(dir.filePath(QStringLiteral("m%1.ovw").arg(i)), weave(2, 2)));
    browse.ShowFile(dir.filePath("m0.ovw"));
    ASSERT_EQ(browse.Thumbnails().size(), 7);
    EXPECT_TRUE(browse.ScrollBar()->isEnabled());
    EXPECT_EQ(browse.ScrollBar()->maximum(), 4 * 123 - 300 + 3);
    EXPECT_EQ(browse.ScrollBar()->singleStep(), 123);
    QWheelEvent wheel(QPointF(10, 10), browse.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&browse, &wheel);
    const int position = browse.ScrollBar()->value();
    EXPECT_GT(position, 0);
    EXPECT_EQ(browse.Thumbnails().at(6)->pos(), browse.Layout().ThumbnailPosition(6, 2, position));

    browse.SetFolder(dir.filePath("gone"));
    EXPECT_TRUE(browse.Files().isEmpty());
    EXPECT_TRUE(browse.Thumbnails().isEmpty());
}

// The name dialog refuses a name that exists and stays open; the library menu commands
// without a library say so and delete nothing; deleting a library keeps foreign files.
TEST_F(BrowserFixture, LibraryCommands)
{
    const QString root = Folders().WeaveDir; // the chosen library "General"
    const QString weaveRoot = QFileInfo(frame().CurrentWeaveLibrary()).absolutePath();
    TFrmCreateWeaveLib dialog(weaveRoot, ask);
    dialog.SetLibraryName("General");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ask.Messages, QStringList { GetUiMessage(UiKey::String::WeaveLibraryExists) });
    dialog.SetLibraryName("Satins");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.CreatedPath(), weaveRoot + "/Satins");
    EXPECT_TRUE(QFileInfo(weaveRoot + "/Satins").isDir()) << root.toStdString();

    // The new library becomes the current one; deleting it deletes its weaves and, with a
    // file of another kind left, not the folder; its item goes all the same.
    QAction *item = frame().AddLibraryItem(TBrowseMode::Weaves, dialog.CreatedPath());
    EXPECT_TRUE(item->isChecked());
    ASSERT_TRUE(WriteWeaveFile(weaveRoot + "/Satins/s.ovw", weave(2, 2)));
    ASSERT_TRUE(WriteAll(weaveRoot + "/Satins/readme.txt", "keep"));
    frame().BrowseWeave->ShowFile(weaveRoot + "/Satins/s.ovw");
    ASSERT_EQ(frame().BrowseWeave->Files().size(), 1);
    ask.Messages.clear();
    ask.Asked.clear();
    ask.OkAnswer = true;
    frame().DeleteWeaveLibrary();
    EXPECT_EQ(ask.Asked, QStringList { GetUiMessage(UiKey::String::AskDeleteWeaveLibrary).arg("Satins") });
    EXPECT_FALSE(QFileInfo::exists(weaveRoot + "/Satins/s.ovw"));
    EXPECT_TRUE(QFileInfo::exists(weaveRoot + "/Satins/readme.txt"));
    EXPECT_FALSE(frame().WeaveLibraryItems().contains(item));
    EXPECT_TRUE(frame().CurrentWeaveLibrary().isEmpty());
    EXPECT_TRUE(frame().BrowseWeave->Files().isEmpty());

    // Without a current library: the message, nothing deleted.
    ask.Asked.clear();
    frame().DeleteWeaveLibrary();
    frame().DeleteWeave();
    frame().DeletePatternLibrary();
    EXPECT_EQ(ask.Asked,
        (QStringList { GetUiMessage(UiKey::String::NoWeaveLibrary),
            GetUiMessage(UiKey::String::DeleteWeaveNoLibrary),
            GetUiMessage(UiKey::String::NoPatternLibrary) }));
    EXPECT_TRUE(QFileInfo(weaveRoot + "/General").isDir());

    // A library removed outside the program: a message, and the item stays.
    QAction *general = frame().WeaveLibraryItems().first();
    frame().ChooseLibrary(general);
    ASSERT_TRUE(QDir(weaveRoot + "/General").removeRecursively());
    ask.Asked.clear();
    frame().DeleteWeaveLibrary();
    ASSERT_EQ(ask.Asked.size(), 2);
    EXPECT_TRUE(ask.Asked.at(1).contains(weaveRoot + "/General")) << ask.Asked.at(1).toStdString();
    EXPECT_TRUE(frame().WeaveLibraryItems().contains(general));
}

// The pattern library "常用花样" is the default; a bitmap added to it shows; a double click
// opens a pattern as a document.
TEST_F(BrowserFixture, PatternLibraryAddAndOpen)
{
    form.reset();
    ASSERT_TRUE(QDir().mkpath(Folders().PatternLibDir + QString::fromUtf8("常用花样")));
    ASSERT_TRUE(QDir().mkpath(Folders().PatternLibDir + "Other"));
    form = std::make_unique<TMainForm>();
    form->SetQuestions(&ask);
    form->show();
    EXPECT_TRUE(frame().CurrentPatternLibrary().endsWith(QString::fromUtf8("/常用花样")));
    EXPECT_EQ(frame().PatternLibraryItems().size(), 2);

    const QString picture = dir.filePath("p.bmp");
    ASSERT_TRUE(SaveBmp8File(MakePicture({ { 1, 2 }, { 3, 4 } }), picture));
    ASSERT_TRUE(frame().AddPatternFile(picture));
    ASSERT_EQ(frame().BrowseImg->Thumbnails().size(), 1);
    EXPECT_FALSE(frame().AddPatternFile(picture)) << "a file of that name is there";
    EXPECT_EQ(ask.Messages.size(), 1);

    TDrawImage *thumb = frame().BrowseImg->Thumbnails().first();
    QTest::mouseDClick(thumb, Qt::LeftButton, {}, QPoint(5, 5));
    QCoreApplication::processEvents();
    ASSERT_EQ(form->Children().size(), 1);
    EXPECT_EQ(form->Children().first()->Caption(), thumb->FileName());
    ASSERT_NE(form->OpenChild(QString(), true), nullptr);
    QTest::mouseClick(thumb, Qt::LeftButton, {}, QPoint(5, 5));
    for (TMDIChild *child : form->Children())
        EXPECT_EQ(child->PatternGrid().PickedPatternFile(), thumb->FileName())
            << "the picked pattern goes to every open grid";
}

// File > Open shows the explorer, which lists the picture folder; a double click on a
// thumbnail opens the picture as a document.
TEST_F(BrowserFixture, ExplorerOpensAPictureAsADocument)
{
    const QString picture = dir.filePath("stripes.bmp");
    ASSERT_TRUE(SaveBmp8File(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }), picture));
    ASSERT_TRUE(WriteAll(dir.filePath("broken.png"), "not a picture"));
    form->Action("ActBrowse")->trigger();
    TFrmExplorer *explorer = form->findChild<TFrmExplorer *>();
    ASSERT_NE(explorer, nullptr);
    EXPECT_TRUE(explorer->isVisible());
    EXPECT_EQ((explorer->Directory() + "/").toStdString(), Folders().PictureDir.toStdString());
    EXPECT_GT(explorer->findChild<QComboBox *>("DriveComboBox")->count(), 0) << "the mounted file systems";

    explorer->SetDirectory(dir.path());
    ASSERT_EQ(explorer->BrowseImg->Thumbnails().size(), 1) << "the broken picture has none";
    TDrawImage *thumb = explorer->BrowseImg->Thumbnails().first();
    EXPECT_TRUE(thumb->Text().endsWith(PictureSizeCaption(QSize(3, 2))));
    QTest::mouseDClick(thumb, Qt::LeftButton, {}, QPoint(5, 5));
    QCoreApplication::processEvents();
    ASSERT_EQ(form->Children().size(), 1);
    EXPECT_EQ(form->Children().first()->Caption(), picture);

    // Escape closes it; a double click on the document area shows the same window again.
    QTest::keyClick(explorer, Qt::Key_Escape);
    EXPECT_FALSE(explorer->isVisible());
    QTest::mouseDClick(form->mdiArea()->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(explorer->isVisible());
    EXPECT_EQ(form->findChildren<TFrmExplorer *>().size(), 1);
}

// The preview: a picture that fits is drawn at its own size, a larger one scaled down;
// with "no preview" or no file nothing loads and "(None)" is drawn.
TEST(OpenPictureDialog, PreviewCases)
{
    ASSERT_TRUE(InitSharedState());
    RegisterPictureFormats();
    QTemporaryDir dir;
    const QString small = dir.filePath("small.bmp"), large = dir.filePath("large.bmp");
    ASSERT_TRUE(SaveBmp8File(MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 } }), small));
    QImage big(600, 300, QImage::Format_RGB32);
    big.fill(Qt::blue);
    ASSERT_TRUE(big.save(large, "BMP"));

    TOpenPictureDialog dialog;
    dialog.SetPipeFilter(OpenPictureFilter);
    EXPECT_TRUE(
        dialog.nameFilters().first().endsWith(" (*.BMP *.JPG *.PCX *.PNG *.PSD *.TIF *.ICO *.EP *.JC5 *.UPT "
                                              "*.QS *.OVY *.OVW *.GRD *.WB *.XY *.WV *.UPT *.DAT *.P32)"))
        << dialog.nameFilters().first().toStdString();
    EXPECT_EQ(dialog.nameFilters().at(1), "Windows Bitmap(*.BMP) (*.BMP)");
    auto *const paintBox = dialog.findChild<TPicturePreviewBox *>("PaintBox");
    auto *const pictureLabel = dialog.findChild<QLabel *>("PictureLabel");
    auto *const previewButton = dialog.findChild<QPushButton *>("PreviewButton");
    auto *const noPreview = dialog.findChild<QCheckBox *>("CbxPrvewiPic");
    ASSERT_TRUE(paintBox && pictureLabel && previewButton && noPreview);
    paintBox->resize(200, 150);

    dialog.SelectionChanged(small);
    EXPECT_EQ(pictureLabel->text(), " (4x2)");
    EXPECT_TRUE(previewButton->isEnabled());
    EXPECT_EQ(paintBox->PictureRect(), QRect(98, 74, 4, 2)) << "own size, centred";

    dialog.SelectionChanged(large);
    EXPECT_EQ(pictureLabel->text(), " (600x300)");
    EXPECT_EQ(paintBox->PictureRect(), QRect(0, 25, 200, 100)) << "scaled down by the larger ratio";

    noPreview->setChecked(true);
    dialog.SelectionChanged(small);
    EXPECT_EQ(pictureLabel->text(), GetUiMessage(UiKey::String::PictureLabel));
    EXPECT_FALSE(previewButton->isEnabled());
    EXPECT_TRUE(paintBox->Picture().isNull());
    const QImage shown = paintBox->grab().toImage();
    bool drawn = false;
    for (int x = 0; x < shown.width(); ++x)
        drawn = drawn || shown.pixel(x, shown.height() / 2) != shown.pixel(0, 0);
    EXPECT_TRUE(drawn) << "the text (None) is drawn across the middle";

    noPreview->setChecked(false);
    dialog.SelectionChanged(dir.filePath("missing.bmp"));
    EXPECT_TRUE(paintBox->Picture().isNull());
    EXPECT_EQ(pictureLabel->text(), GetUiMessage(UiKey::String::PictureLabel));
    UnregisterPictureFormats();
}
