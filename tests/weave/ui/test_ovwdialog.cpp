// The weave open dialog as a user meets it: the preview of the file under the cursor, its
// size, the larger view, and nothing but "(None)" for anything that is not a weave.
#include "shell/ui/modalscript.h"
#include "shippedlanguage.h"
#include "testutil.h"
#include "weave/ui/ovwdialog.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"
#include "weave/weavepreview.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A weave whose points tell the orientation: the top-left cell and the whole last warp.
TWeaveArray MarkedWeave(int warps, int wefts)
{
    TWeaveArray cells = MakeWeaveArray(warps, wefts);
    cells[0][0] = 1;
    for (int j = 0; j < wefts; ++j)
        cells[warps - 1][j] = 1;
    return cells;
}

QRgb Pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xffffff;
constexpr QRgb kGrey = 0x808080;

} // namespace

TEST(OvwDialog, PreviewCellsLinesAndStretch)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    QTemporaryDir dir;
    struct Case {
        int warps, wefts;
        int cell; // pixels of a cell at the natural size
        QSize shown;
    };
    const std::vector<Case> cases = {
        { 10, 10, 5, { 51, 51 } }, { 21, 5, 3, { 64, 16 } }, { 20, 29, 3, { 61, 88 } },
        { 20, 20, 5, { 101, 101 } }, { 60, 10, 3, { 150, 150 } }, // 181 x 31 stretched
    };
    TOvwDialog dialog(nullptr, dir.path());
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.warps << " x " << c.wefts);
        const QString path = dir.filePath(QStringLiteral("w%1x%2.OVW").arg(c.warps).arg(c.wefts));
        ASSERT_TRUE(WriteWeaveFile(path, MarkedWeave(c.warps, c.wefts)));
        dialog.SelectionChanged(path);
        const QImage &image = dialog.Preview();
        EXPECT_EQ(dialog.SizeLabel()->text(), QStringLiteral(" (%1x%2)").arg(c.warps).arg(c.wefts));
        EXPECT_TRUE(dialog.PreviewButton()->isEnabled());
        const int cell = c.cell;
        ASSERT_EQ(image.size(), c.shown);
        if (c.shown == QSize(150, 150)) {
            // Stretched: the first line and the top-left cell still show.
            EXPECT_EQ(Pixel(image, 0, 0), kGrey);
            EXPECT_EQ(Pixel(image, 1, 5), kBlack);
            continue;
        }
        // Weft 0 on top: the top-left cell is set, the one below it is not; lines grey.
        EXPECT_EQ(Pixel(image, 1, 1), kBlack);
        EXPECT_EQ(Pixel(image, cell - 1, cell - 1), kBlack);
        EXPECT_EQ(Pixel(image, 1, cell + 1), kWhite);
        EXPECT_EQ(Pixel(image, cell, 1), kGrey);
        EXPECT_EQ(Pixel(image, 0, 0), kGrey);
        EXPECT_EQ(Pixel(image, image.width() - 1, image.height() - 1), kGrey);
        EXPECT_EQ(Pixel(image, image.width() - 2, image.height() - 2), kBlack);
    }
}

TEST(OvwDialog, AnythingButAReadableWeaveShowsNone)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    QTemporaryDir dir;
    const QByteArray good = WeaveFileBytes(MarkedWeave(4, 4));
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        { "picture.OVW", QByteArray("BM\x10\x00", 4) },
        { "truncated.OVW", good.left(good.size() - 3) },
        { "header-only.OVW", good.left(100) },
        { "empty.OVW", QByteArray() },
        { "no-warps.OVW", WeaveFileBytes(TWeaveArray()) },
        { "oversized.OVW", good.left(240) + Hex("ff ff 00 00 ff ff 00 00") + QByteArray(64, '\1') },
    };
    TOvwDialog dialog(nullptr, dir.path());
    // A readable weave first, so that each refusal has something to clear.
    const QString goodPath = dir.filePath(QStringLiteral("good.OVW"));
    ASSERT_TRUE(WriteAll(goodPath, good));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialog.SelectionChanged(goodPath);
        ASSERT_FALSE(dialog.Preview().isNull());
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteAll(path, c.bytes));
        dialog.SelectionChanged(path);
        EXPECT_TRUE(dialog.Preview().isNull());
        EXPECT_EQ(dialog.SizeLabel()->text(), QStringLiteral("(None)"));
        EXPECT_FALSE(dialog.PreviewButton()->isEnabled());
    }
    dialog.SelectionChanged(dir.path()); // a folder
    EXPECT_FALSE(dialog.PreviewButton()->isEnabled());
    dialog.SelectionChanged(QString());
    EXPECT_FALSE(dialog.PreviewButton()->isEnabled());
}

TEST(OvwDialog, OpensInTheFolderGivenWithTheWeaveFilterAndGivesTheChosenFile)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chosen.OVW"));
    ASSERT_TRUE(WriteWeaveFile(path, MarkedWeave(6, 3)));
    bool sawFilter = false, sawFolder = false, largerViewOpened = false;
    TModalScript script({
        On<TOvwDialog>([&](TOvwDialog *d) {
            sawFilter = d->nameFilters() == QStringList { QStringLiteral("组织文件 (*.OVW)") };
            sawFolder = d->directory().absolutePath() == QDir(dir.path()).absolutePath();
            d->SelectionChanged(path);
            d->PreviewButton()->click(); // the larger view, modal over the dialog
        }),
        [&](QWidget *w) {
            if (qobject_cast<TOvwDialog *>(w) || !qobject_cast<QDialog *>(w))
                return false;
            largerViewOpened = true;
            QTimer::singleShot(0, w, [w] { static_cast<QDialog *>(w)->reject(); });
            return true;
        },
        // Open, once the dialog has listed the folder (it refuses a file it has not seen).
        [&, ticks = 0](QWidget *w) mutable {
            return qobject_cast<TOvwDialog *>(w) && ++ticks > 15 && On<TOvwDialog>([&](TOvwDialog *d) {
                d->selectFile(path);
                static_cast<QDialog *>(d)->accept();
            })(w);
        },
    });
    const QString chosen = TOvwDialog::GetWeaveFileName(nullptr, dir.path());
    EXPECT_TRUE(script.Done()) << qPrintable(script.Unexpected().join(QLatin1Char(' ')));
    EXPECT_TRUE(sawFilter);
    EXPECT_TRUE(sawFolder);
    EXPECT_TRUE(largerViewOpened);
    EXPECT_EQ(chosen, path);
}
