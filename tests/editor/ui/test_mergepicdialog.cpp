// The repeat-layout dialog on its own: the style, ratio, offset and count reactions, the
// glyph preview and its clicks, OK with one repeat, a layout over the largest pattern, and
// the dialog opened again on a document that already has a layout.
#include "editor/ui/mergepicdialog.h"

#include "core/settings/sharedstate.h"
#include "editor/wayglyph.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

namespace {
struct MergePicFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        QFile::remove(Folders().ConfigIniPath);
    }
    // w x h cells numbered row by row (wrapping past 250).
    static QImage numbered(int w, int h)
    {
        QImage img = NewPicture(w, h, GreyPalette());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.scanLine(y)[x] = std::uint8_t(1 + (y * w + x) % 250);
        return img;
    }
    static TRepeatPic plain(const QImage &picture)
    {
        TRepeatPic info;
        info.UnitWidth = picture.width();
        info.UnitHeight = picture.height();
        info.HorzCount = info.VertCount = 1;
        info.Value1 = 1;
        return info;
    }
    template <class T> static T *child(QWidget *w, const char *name)
    {
        auto *c = w->findChild<T *>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Typed into a box as a user does (each key an edit).
    static void type(QWidget *w, const char *name, const QString &text)
    {
        auto *box = child<QLineEdit>(w, name);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
};
} // namespace

TEST_F(MergePicFixture, StyleRatioAndPixelReactionsRebuildTheGlyphs)
{
    const QImage picture = numbered(37, 25);
    TFrmMergePic dialog(picture, plain(picture));
    auto *offsetGroup = child<QGroupBox>(&dialog, "GbxOffSet");
    EXPECT_FALSE(offsetGroup->isEnabled()) << "plain layout: no offset";
    EXPECT_TRUE(child<QRadioButton>(&dialog, "RbnOneStyle")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(&dialog, "CbxCreateNewPic")->isChecked());
    EXPECT_EQ(child<QComboBox>(&dialog, "CbxOffSetRatio")->count(), 9);
    EXPECT_TRUE(child<QLabel>(&dialog, "LblPicInfo")->text().endsWith(QStringLiteral("37 × 25")));

    struct Step {
        const char *name;
        std::function<void()> act;
        int style, offset, glyphOffset;
        bool offsetEnabled;
    } steps[] = {
        { "rows stepped: half the unit", [&] { child<QRadioButton>(&dialog, "RbnTwoStyle")->click(); }, 2, 18,
            48, true },
        { "ratio 1/4", [&] { child<QComboBox>(&dialog, "CbxOffSetRatio")->setCurrentIndex(2); }, 2, 9, 24,
            true },
        { "pixels typed", [&] { type(&dialog, "NdtOffSetPixels", "30"); }, 2, 30, 81, true },
        { "pixels 0 is not applied", [&] { type(&dialog, "NdtOffSetPixels", "0"); }, 2, 30, 81, true },
        { "columns stepped from the sketch",
            [&] {
                QWidget *panel = child<QWidget>(&dialog, "Panel4");
                QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(5, 5));
            },
            3, 6, 7, true },
        { "plain again", [&] { child<QRadioButton>(&dialog, "RbnOneStyle")->click(); }, 1, 0, 0, false },
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(dialog.Composer().Style(), s.style);
        EXPECT_EQ(dialog.Composer().Offset(), s.offset);
        EXPECT_EQ(dialog.Composer().GlyphOffset(), s.glyphOffset);
        EXPECT_EQ(offsetGroup->isEnabled(), s.offsetEnabled);
    }
    EXPECT_TRUE(child<QRadioButton>(&dialog, "RbnOneStyle")->isChecked());

    // A flip set on the preview lasts only until the next change.
    type(&dialog, "RdtHNum", "2");
    dialog.ClickPreview(QPoint(150, 15));
    EXPECT_EQ(dialog.Composer().Glyphs().at(1).Code, 1);
    child<QComboBox>(&dialog, "CbxOffSetRatio")->setCurrentIndex(0);
    EXPECT_EQ(dialog.Composer().Glyphs().at(1).Code, 0);
}

TEST_F(MergePicFixture, CountsGiveTheResultAndOkComposesIt)
{
    const QImage picture = numbered(37, 25);
    TFrmMergePic dialog(picture, plain(picture));
    QStringList messages;
    dialog.SetMessageHandler([&](const QString &text) { messages << text; });
    type(&dialog, "RdtHNum", "3");
    type(&dialog, "RdtVNum", "4");
    EXPECT_EQ(child<QLineEdit>(&dialog, "NdtPicWidth")->text(), "111");
    EXPECT_EQ(child<QLineEdit>(&dialog, "NdtPicHeight")->text(), "100");
    EXPECT_EQ(dialog.PreviewImage().size(), QSize(300, 120));
    ASSERT_EQ(dialog.Composer().Glyphs().size(), 12u);

    // The first glyph is the unit itself; the one at (1, 0) flips top to bottom, drawn so.
    QImage flipped(100, 30, QImage::Format_RGB32);
    flipped.fill(Qt::white);
    QPainter painter(&flipped);
    TWayStyle glyph;
    glyph.SetStyle(1);
    glyph.Draw(painter, QPoint(0, 0));
    painter.end();
    dialog.ClickPreview(QPoint(10, 10));
    dialog.ClickPreview(QPoint(150, 10));
    EXPECT_EQ(dialog.Composer().Glyphs().at(0).Code, 0);
    EXPECT_EQ(dialog.Composer().Glyphs().at(1).Code, 1);
    EXPECT_EQ(dialog.PreviewImage().copy(100, 0, 100, 30), flipped);

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.isEmpty());
    const QImage result = dialog.TakeResult();
    ASSERT_EQ(result.size(), QSize(111, 100));
    EXPECT_EQ(result.pixelIndex(0, 0), picture.pixelIndex(0, 0));
    EXPECT_EQ(result.pixelIndex(37, 0), picture.pixelIndex(0, 24)) << "second repeat flipped top to bottom";
    const TRepeatPic layout = dialog.ResultLayout();
    EXPECT_EQ(layout.UnitWidth, 37);
    EXPECT_EQ(layout.UnitHeight, 25);
    EXPECT_EQ(layout.HorzCount, 3);
    EXPECT_EQ(layout.VertCount, 4);
    EXPECT_EQ(layout.Rotate[0][1], 1);
}

TEST_F(MergePicFixture, OneRepeatCancelsAndTooLargeAResultIsRefused)
{
    const QImage picture = numbered(37, 25);
    {
        TFrmMergePic dialog(picture, plain(picture));
        dialog.show();
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(dialog.TakeResult().isNull());
    }
    const QImage wide = numbered(700, 2);
    TFrmMergePic dialog(wide, plain(wide));
    QStringList messages;
    dialog.SetMessageHandler([&](const QString &text) { messages << text; });
    dialog.show();
    type(&dialog, "RdtHNum", "99");
    EXPECT_EQ(child<QLineEdit>(&dialog, "NdtPicWidth")->text(), "69300");
    dialog.accept();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("69300")) << messages[0].toStdString();
    EXPECT_TRUE(dialog.isVisible()) << "stays open";
    // Empty counts are refused too.
    type(&dialog, "RdtVNum", "");
    child<QLineEdit>(&dialog, "RdtVNum")->clear();
    dialog.accept();
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(MergePicFixture, ReopeningOnALayoutTakesItsFirstUnitAndItsSettings)
{
    // A 3 x 2 layout of a 10 x 10 unit, rows stepped by 5, one repeat flipped.
    TMergePic composer;
    const QImage unit = numbered(10, 10);
    composer.SetUnitPicture(unit);
    composer.SetStyle(2);
    composer.SetAcross(3);
    composer.SetDown(2);
    composer.SetOffset(5);
    ASSERT_TRUE(composer.ClickPreview({ 250, 45 })); // row 1, column 2 (stepped by 50)
    ASSERT_TRUE(composer.BuildResult());
    TRepeatPic layout;
    composer.GetRepeatInfo(layout);
    const QImage picture = composer.Result();

    TFrmMergePic dialog(picture, layout);
    EXPECT_EQ(dialog.Composer().UnitWidth(), 10);
    EXPECT_EQ(dialog.Composer().UnitHeight(), 10);
    EXPECT_EQ(PictureRows(dialog.Composer().Unit()), PictureRows(unit));
    EXPECT_TRUE(child<QRadioButton>(&dialog, "RbnTwoStyle")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&dialog, "NdtOffSetPixels")->text(), "5");
    EXPECT_EQ(child<QLineEdit>(&dialog, "RdtHNum")->text(), "3");
    EXPECT_EQ(child<QLineEdit>(&dialog, "RdtVNum")->text(), "2");
    const TRepeatPic shown = dialog.ResultLayout();
    EXPECT_EQ(shown.Rotate[1][2], layout.Rotate[1][2]);
    EXPECT_NE(layout.Rotate[1][2], 0);
    dialog.accept();
    EXPECT_EQ(PictureRows(dialog.TakeResult()), PictureRows(picture)) << "the same layout composed again";
}
