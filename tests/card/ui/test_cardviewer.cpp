// The card viewer and the splitter: status after a load, refusal of an empty card, the
// start flag of each file, the unsaved-card question, Save As through the one dispatcher,
// the painted band, and the split of a JC5 file into parts.
#include "card/cardformats.h"
#include "card/cardsplit.h"
#include "card/fmt_ovwb.h"
#include "card/ui/cardsplitdialog.h"
#include "card/ui/cardviewerwindow.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "core/ui/numberedit.h"
#include "shippedlanguage.h"

#include "../cardfmt_helpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

Rows ViewerRows(int cards, int bytes)
{
    Rows rows;
    for (int r = 0; r < cards; ++r) {
        std::vector<std::uint8_t> row(bytes);
        for (int b = 0; b < bytes; ++b)
            row[b] = std::uint8_t((r * 29 + b * 7 + 3) & 0xFF);
        rows.push_back(row);
    }
    return rows;
}

struct Said {
    QString text, caption;
    int kind;
};

class CardViewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folders().SettingsDir = m_dir.path() + "/";
        Folders().ConfigIniPath = m_dir.filePath("Config.Ini");
        // The texts these tests read are the Simplified Chinese ones the loom's people know.
        ChooseShippedLanguage(TShippedLanguage::SimplifiedChinese);
        m_viewer = std::make_unique<TFrmWenBan>();
        m_viewer->ShowMessage = [this](const QString &t, const QString &c, int k) {
            said.push_back({ t, c, k });
        };
        m_viewer->AskSave = [this](const QString &t, const QString &) {
            asked << t;
            return answer;
        };
        m_viewer->ChooseSaveFile = [this](QString &f, int &filter) {
            ++dialogs;
            f = saveName;
            filter = saveFilter;
            return !saveName.isEmpty();
        };
    }
    void TearDown() override
    {
        answer = TCardSaveAnswer::No;
        m_viewer.reset();
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // A card file of the format, written by its own writer.
    QString write(const QString &name, const Rows &rows, int rowCount, int colCount, int filter = 1)
    {
        const TWenBanIO io = MakeCard(rows, rowCount, colCount, rowCount * colCount);
        QString err;
        EXPECT_TRUE(WriteControllerCard(io, path(name), filter, &err)) << err.toStdString();
        return path(name);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TFrmWenBan> m_viewer;
    std::vector<Said> said;
    QStringList asked;
    TCardSaveAnswer answer = TCardSaveAnswer::No;
    QString saveName;
    int saveFilter = 1;
    int dialogs = 0;
};

} // namespace

TEST_F(CardViewer, LoadShowsStatusCaptionAndJoinsTheRecentList)
{
    const QString file = write("card.EP", ViewerRows(12, 16), 8, 16);
    ASSERT_TRUE(m_viewer->LoadCardFile(file));
    EXPECT_EQ(m_viewer->StatusText(), QStringLiteral("纹针数：128  纹板块数：12"));
    EXPECT_EQ(m_viewer->windowTitle(), file);
    EXPECT_TRUE(m_viewer->Saved());
    EXPECT_EQ(m_viewer->FirstCard(), 0);
    EXPECT_EQ(ReadRecentList(WenBanRecentSection).value(0), file);
    EXPECT_TRUE(said.empty());

    TYangkaImage sample;
    sample.SetColCount(4);
    sample.SetRowCount(8);
    TMultiByteArray card(3);
    for (auto &row : card) {
        row = TDynamicByteArray(4);
        row.fill(0x0F);
    }
    m_viewer->LoadCard(card, true, sample);
    EXPECT_EQ(m_viewer->StatusText(), QStringLiteral("纹针数：32  纹板块数： 3"));
    EXPECT_EQ(m_viewer->FileName(), "Untitled*");
    EXPECT_FALSE(m_viewer->Saved());
}

// A file without cards, or one that does not read, is refused with its messages and the
// card shown stays.
TEST_F(CardViewer, EmptyOrDamagedFileIsRefusedLeavingTheCard)
{
    const QString good = write("good.EP", ViewerRows(5, 16), 8, 16);
    ASSERT_TRUE(m_viewer->LoadCardFile(good));
    TWenBanIO empty = MakeCard({}, 8, 16);
    const QString emptyFile = path("empty.OVWB");
    ASSERT_TRUE(WriteOVWBCard(empty, emptyFile));
    EXPECT_FALSE(m_viewer->LoadCardFile(emptyFile));
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].text, QStringLiteral("纹板中没有有效数据！"));
    EXPECT_EQ(said[0].caption, QStringLiteral("打开文件"));
    EXPECT_EQ(said[0].kind, 1);
    EXPECT_EQ(said[1].text, QStringLiteral("打开纹板文件错误!"));
    EXPECT_EQ(said[1].kind, 2);

    said.clear();
    const QString damaged = path("damaged.EP");
    ASSERT_TRUE(WriteAll(damaged, QByteArray(10, '\x01')));
    EXPECT_FALSE(m_viewer->LoadCardFile(damaged));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_TRUE(said[0].text.startsWith(QStringLiteral("打开纹板文件错误!")));
    EXPECT_EQ(m_viewer->FileName(), good);
    EXPECT_EQ(m_viewer->Card().size(), 5);
}

// A QS card is numbered from the other end; the next file is numbered from its own start.
TEST_F(CardViewer, QSStartFlagDoesNotStick)
{
    const QString qs = write("card.QS", ViewerRows(4, 18), 8, 18);
    const QString ep = write("card.EP", ViewerRows(4, 16), 8, 16);
    ASSERT_TRUE(m_viewer->LoadCardFile(qs));
    EXPECT_EQ(m_viewer->SampleCard().StartFlag(), 1);
    ASSERT_TRUE(m_viewer->LoadCardFile(ep));
    EXPECT_EQ(m_viewer->SampleCard().StartFlag(), 0);
}

// The needle under the pointer, from 1, counted from the start corner; nothing outside.
TEST_F(CardViewer, HintNamesNeedleAndCard)
{
    m_viewer->resize(600, 400);
    const QString ep = write("card.EP", ViewerRows(6, 16), 8, 16);
    ASSERT_TRUE(m_viewer->LoadCardFile(ep));
    const int zoom = m_viewer->Zoom();
    // EP: first card on top, not mirrored.
    EXPECT_EQ(m_viewer->HintAt(QPoint(0, 0)), "(1,1)");
    EXPECT_EQ(m_viewer->HintAt(QPoint(5 * zoom, 2 * zoom)), "(6,3)");
    EXPECT_EQ(m_viewer->HintAt(QPoint(128 * zoom, 0)), "");
    EXPECT_EQ(m_viewer->HintAt(QPoint(0, 6 * zoom)), "");
    // QS: last card on top, every line mirrored, needles counted from the other end.
    const QString qs = write("card.QS", ViewerRows(6, 18), 8, 18);
    ASSERT_TRUE(m_viewer->LoadCardFile(qs));
    EXPECT_EQ(m_viewer->HintAt(QPoint(0, 0)), "(1,6)");
    EXPECT_EQ(m_viewer->HintAt(QPoint(143 * zoom, 0)), "(144,6)");
}

// The hidden number box: Enter shows the card typed at the top; a number past the last
// card shows the last ones, an empty box the first.
TEST_F(CardViewer, NumberBoxJumpsToACardOnEnter)
{
    m_viewer->resize(500, 400);
    m_viewer->show();
    ASSERT_TRUE(m_viewer->LoadCardFile(write("card.EP", ViewerRows(300, 16), 8, 16)));
    TNumricEdit *box = m_viewer->CardNumberEdit();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isVisible());
    ASSERT_GT(m_viewer->VertScroll()->maximum(), 56);
    const struct {
        const char *typed;
        int first;
    } cases[] = { { "57", 56 }, { "1", 0 }, { "99999", m_viewer->VertScroll()->maximum() }, { "", 0 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        box->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(m_viewer->FirstCard(), c.first);
    }
    // Typing without Enter moves nothing.
    box->setText(QStringLiteral("120"));
    EXPECT_EQ(m_viewer->FirstCard(), 0);
}

// The electronic picture paints the visible band: one pixel per needle and card, a raised
// needle white, at the zoom.
TEST_F(CardViewer, ElectronicBandShowsTheCardBits)
{
    m_viewer->resize(500, 400);
    m_viewer->show();
    const Rows rows = ViewerRows(300, 16);
    const QString ep = write("card.EP", rows, 8, 16);
    ASSERT_TRUE(m_viewer->LoadCardFile(ep));
    m_viewer->JumpToCard(101);
    EXPECT_EQ(m_viewer->FirstCard(), 100);
    const QImage shot = m_viewer->Canvas()->grab().toImage();
    const int zoom = m_viewer->Zoom();
    for (int line = 0; line < 20; ++line)
        for (int needle = 0; needle < 128; needle += 7) {
            const bool raised = rows[100 + line][needle / 8] & (0x80 >> (needle % 8));
            const QRgb pixel = shot.pixel(needle * zoom, line * zoom);
            EXPECT_EQ(qGray(pixel) > 128, raised) << "card " << 101 + line << " needle " << needle;
        }
    // The layout mode draws the cards on the sample-card layout.
    m_viewer->SetElectronic(false);
    EXPECT_FALSE(m_viewer->Action("ActViewEWenBan")->isChecked());
    EXPECT_FALSE(m_viewer->Canvas()->grab().toImage().isNull());
}

// Loading another file or closing first asks about a card that was handed over: No goes
// on, Cancel stops, Yes saves and goes on only when the card was saved.
TEST_F(CardViewer, UnsavedCardQuestion)
{
    const QString other = write("other.EP", ViewerRows(3, 16), 8, 16);
    TYangkaImage sample;
    sample.SetColCount(16);
    sample.SetRowCount(8);
    TMultiByteArray card(2);
    for (auto &row : card) {
        row = TDynamicByteArray(16);
        row.fill(0xA5);
    }
    const QString question = QStringLiteral("纹版文件已生成或修改！需要保存吗？");

    m_viewer->LoadCard(card, true, sample);
    answer = TCardSaveAnswer::Cancel;
    EXPECT_FALSE(m_viewer->LoadCardFile(other));
    EXPECT_EQ(asked, QStringList { question });
    EXPECT_EQ(m_viewer->FileName(), "Untitled*");

    // Yes, but the save dialog is cancelled: nothing goes on.
    answer = TCardSaveAnswer::Yes;
    saveName.clear();
    EXPECT_FALSE(m_viewer->LoadCardFile(other));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(m_viewer->FileName(), "Untitled*");

    // Yes and a name: the card is written, then the other file opens.
    saveName = path("handed.EP");
    EXPECT_TRUE(m_viewer->LoadCardFile(other));
    EXPECT_EQ(m_viewer->FileName(), other);
    TWenBanIO io
        = MakeCard({ std::vector<std::uint8_t>(16, 0xA5), std::vector<std::uint8_t>(16, 0xA5) }, 8, 16, 128);
    QDir().mkpath(path("ref"));
    ASSERT_TRUE(WriteEPCard(io, path("ref/handed.EP"))); // the name is part of the bytes
    EXPECT_EQ(ReadAll(path("handed.EP")), ReadAll(path("ref/handed.EP")));

    // No: closing goes on without saving.
    m_viewer->LoadCard(card, true, sample);
    m_viewer->show();
    answer = TCardSaveAnswer::No;
    asked.clear();
    EXPECT_TRUE(m_viewer->close());
    EXPECT_EQ(asked, QStringList { question });
}

// Save As writes through the dispatcher with the viewer's filters: the second filter JC5
// variant A, the third variant B; a DAT name under the EP filter is refused.
TEST_F(CardViewer, SaveAsUsesTheViewersFilters)
{
    const Rows rows = ViewerRows(7, 16);
    const QString ep = write("card.EP", rows, 8, 16);
    ASSERT_TRUE(m_viewer->LoadCardFile(ep));
    const TWenBanIO io = MakeCard(rows, 8, 16, 128);
    const struct {
        const char *name;
        int filter;
        std::function<bool(const QString &)> reference;
    } cases[] = {
        { "a.JC5", 2, [&](const QString &f) { return WriteJC5Card(io, f, TJC5Variant::A); } },
        { "b.JC5", 3, [&](const QString &f) { return WriteJC5Card(io, f, TJC5Variant::B); } },
        { "c.DAT", 5, [&](const QString &f) { return WriteDatCard(io, DatCEJ160, f); } },
        { "d.UPT", 7, [&](const QString &f) { return WriteUPTCard(io, f); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir().mkpath(path("ref"));
        ASSERT_TRUE(m_viewer->SaveCardFile(path(c.name), c.filter));
        ASSERT_TRUE(c.reference(path("ref/") + c.name));
        EXPECT_EQ(ReadAll(path(c.name)), ReadAll(path("ref/") + c.name));
        EXPECT_EQ(m_viewer->FileName(), path(c.name));
    }
    said.clear();
    EXPECT_FALSE(m_viewer->SaveCardFile(path("e.DAT"), 1));
    EXPECT_FALSE(QFile::exists(path("e.DAT")));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].kind, 2);
    EXPECT_EQ(m_viewer->FileName(), path("d.UPT")) << "a failed save keeps the name";
}

// A JC5 card of 250 cards of 8,000 bytes (about 2 MB) goes into two parts with either
// piece size; each part names itself, and the parts read back as the card.
TEST_F(CardViewer, SplitJC5IntoParts)
{
    const Rows rows = ViewerRows(250, 8000);
    for (const auto &[piece, perPart] : { std::pair<qint64, int> { SplitPieceFloppy, 182 },
             std::pair<qint64, int> { SplitPieceSmall, 153 } }) {
        SCOPED_TRACE(piece);
        QTemporaryDir dir;
        const QString file = dir.filePath("card.JC5");
        ASSERT_TRUE(WriteJC5Card(MakeCard(rows, 8, 8000), file, TJC5Variant::B));
        int parts = 0;
        QString err;
        ASSERT_TRUE(SplitJC5File(file, piece, &parts, &err)) << err.toStdString();
        EXPECT_EQ(parts, 2);
        const QByteArray first = ReadAll(dir.filePath("card.J01"));
        const QByteArray second = ReadAll(dir.filePath("card.J02"));
        EXPECT_LE(first.size(), piece);
        EXPECT_TRUE(first.contains("card.J01"));
        EXPECT_TRUE(second.contains("card.J02"));
        EXPECT_EQ(first.size() - second.size(), qint64(perPart - (250 - perPart)) * 8000);
        EXPECT_FALSE(QFile::exists(dir.filePath("card.J03")));
        TWenBanIO back;
        ASSERT_TRUE(back.LoadFromFile(dir.filePath("card.J01"), &err)) << err.toStdString();
        TWenBanIO whole;
        ASSERT_TRUE(whole.LoadFromFile(file));
        EXPECT_EQ(CardRows(back), CardRows(whole));
    }
}

// A file not larger than the piece is left whole; a missing file is reported by the
// dialog, which stays open.
TEST_F(CardViewer, SplitLeavesSmallFilesWhole)
{
    const QString file = path("small.JC5");
    ASSERT_TRUE(WriteAll(file, QByteArray(1000000, '\0')));
    for (const qint64 piece : { SplitPieceFloppy, SplitPieceSmall }) {
        int parts = -1;
        EXPECT_TRUE(SplitJC5File(file, piece, &parts));
        EXPECT_EQ(parts, 0);
        EXPECT_FALSE(QFile::exists(path("small.J01")));
    }
    TFrmSplit split;
    std::vector<Said> shown;
    split.ShowMessage = [&](const QString &t, const QString &c, int k) { shown.push_back({ t, c, k }); };
    split.show();
    split.FilenameEdit->setText(path("missing.JC5"));
    split.BtnOKClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("文件不存在,请重新选择文件!"));
    EXPECT_TRUE(split.isVisible());
    split.ComboBoxSize->setCurrentIndex(1);
    EXPECT_EQ(split.PieceSize(), SplitPieceSmall);
    split.FilenameEdit->setText(file);
    split.BtnOKClick();
    EXPECT_FALSE(split.isVisible());
    EXPECT_EQ(shown.size(), 1u);
}

// A card read from a file and saved again in the same format, under the same name in
// another folder, gives the file's bytes back: UPT and JC5 variant A used to come out
// mirrored, and WB and GRD lost their hole marks.
TEST_F(CardViewer, ReadAndSavedAgainGivesTheSameBytes)
{
    const struct {
        const char *name;
        int filter;
        int rowCount, colCount;
        bool holes;
    } cases[] = {
        { "card.EP", 1, 8, 16, false },
        { "card.UPT", 7, 8, 16, false },
        { "card.JC5", 2, 8, 16, false },
        { "card.JC5", 3, 8, 16, false },
        { "card.QS", 1, 8, 18, false },
        { "card.WB", 1, 8, 16, true },
        { "card.WB", 1, 16, 12, true },
        { "card.GRD", 1, 8, 16, true },
        { "card.DAT", 5, 8, 20, false },
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " filter " + std::to_string(c.filter));
        const QString first = path(QString("a%1/").arg(n)) + c.name;
        const QString again = path(QString("b%1/").arg(n)) + c.name;
        ++n;
        QDir().mkpath(QFileInfo(first).path());
        QDir().mkpath(QFileInfo(again).path());
        TWenBanIO io = MakeCard(
            ViewerRows(9, c.rowCount * c.colCount / 8), c.rowCount, c.colCount, c.rowCount * c.colCount);
        if (c.holes)
            io.Holes = { TPoint { 1, 0 }, TPoint { 3, 0 } };
        QString err;
        ASSERT_TRUE(WriteControllerCard(io, first, c.filter, &err)) << err.toStdString();
        ASSERT_TRUE(m_viewer->LoadCardFile(first));
        TWenBanIO shown;
        shown.Card = m_viewer->Card();
        EXPECT_EQ(CardRows(shown), CardRows(io)) << "read as written";
        ASSERT_TRUE(m_viewer->SaveCardFile(again, c.filter));
        EXPECT_EQ(ReadAll(again), ReadAll(first));
    }
    // A VBJ128 card of 80 needles shows as the controller's 16-byte rows, and saved again
    // states its 80 needles, not 128.
    QDir().mkpath(path("narrow/again"));
    const QString narrow = path("narrow/card.DAT"), narrowAgain = path("narrow/again/card.DAT");
    ASSERT_TRUE(WriteDatCard(MakeCard(ViewerRows(6, 10), 8, 10, 80), DatVBJ128, narrow));
    ASSERT_TRUE(m_viewer->LoadCardFile(narrow));
    ASSERT_TRUE(m_viewer->SaveCardFile(narrowAgain, 4));
    EXPECT_EQ(ReadAll(narrowAgain), ReadAll(narrow));
    EXPECT_EQ(ReadAll(narrowAgain).mid(130942, 2), QByteArray("\x50\x00", 2));
    EXPECT_TRUE(said.empty());
}
