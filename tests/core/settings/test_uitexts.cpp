#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include "testutil.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {
// A private language folder and settings file.
struct LanguageFixture : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override
    {
        QDir(dir.path()).mkdir("Language");
        Folders().LanguageDir = dir.filePath("Language") + "/";
        Folders().ConfigIniPath = dir.filePath("Config.Ini");
    }
    void language(const char *name, const QByteArray &bytes)
    {
        ASSERT_TRUE(WriteAll(Folders().LanguageDir + name, bytes));
    }
};
} // namespace

TEST(UiTexts, BuiltInDefaults)
{
    ASSERT_EQ(BuiltInUiTexts().size(), 671u);
    EXPECT_STREQ(BuiltInUiTexts().front().Key, "Menu_File");
    EXPECT_STREQ(BuiltInUiTexts().back().Key, "ApplicationName");
    struct Case {
        const char *key, *text;
    } cases[] = {
        { "Fill_Area", "Fill Area" },
        { "Zoom_In", "Zoom In" },
        { "zoom_in", "Zoom In" },
        { "MENU_FILE", "File(&F)" },
        { "New", "New" },
        { "Save", "Save..." },
        { "Window_MinimizeAll", "Window MinimizeAll1" },
        { "Anti_Clockwise_90__Degrees", "90(Anti-Clockwise) Degrees" },
        { "Dispaly_Navigator", "Display Navigator" },
        { "PatternCellVertSize", " Vertically:" },
        { "FileNameIsEmpty", "    Path not Null    " },
        { "BmpDifferent", "picture size is not identical，not can merge" },
        { "FileHasModified", "Are you sure to Save?Picture has Modified " },
        { "Set_TWAIN", "" },
        { "", "" },
        { "NoSuchKey", "" },
        { "ApplicationName", "Dorwen CAD" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(BuiltInUiText(c.key), QString::fromUtf8(c.text)) << c.key;

    QSet<QString> seen; // every key once, whatever its case
    for (const TUiTextDefault &t : BuiltInUiTexts()) {
        EXPECT_FALSE(seen.contains(QString(t.Key).toLower())) << t.Key;
        seen.insert(QString(t.Key).toLower());
    }
}

TEST_F(LanguageFixture, LookupWithoutAFileGivesTheBuiltInTexts)
{
    OpenLanguageFile(); // the folder is empty: no file is chosen
    EXPECT_TRUE(Folders().LanguageFileName.isEmpty());
    EXPECT_EQ(Folders().LanguageIni, nullptr);
    EXPECT_EQ(GetUiString("MainMenu", "Menu_Edit"), "Edit(&E)");
    EXPECT_EQ(GetUiMessage("ColName"), "Warps:");
    EXPECT_EQ(GetUiString("Any", "Unknown_Key"), "");
    EXPECT_EQ(Folders().CurrentDir, Folders().LanguageDir)
        << "relative names resolve from the language folder";
}

TEST_F(LanguageFixture, FileOverridesAndFallBacks)
{
    language("Alpha.ini",
        "[MainMenu]\nZoom_In=Plus grand\nUndo='Annuler'\nOwn_Key=it's mine\n"
        "Save=\"  Enregistrer  \"\n[String]\nColName=Chaînes:\n");
    OpenLanguageFile();
    ASSERT_EQ(Folders().LanguageFileName, "Alpha.ini");
    struct Case {
        const char *section, *key, *text;
    } cases[] = {
        { "MainMenu", "Zoom_In", "Plus grand" },
        { "mainmenu", "ZOOM_IN", "Plus grand" },
        { "MainMenu", "Undo", "Annuler" }, // quotes removed
        { "MainMenu", "Own_Key", "its mine" }, // every single quote removed
        { "MainMenu", "Save", "  Enregistrer  " },
        { "MainMenu", "Zoom_Out", "Zoom Out" }, // key missing: built-in
        { "Tools", "Zoom_In", "Zoom In" }, // section missing: built-in
        { "String", "ColName", "Chaînes:" },
        { "String", "Nothing", "" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetUiString(c.section, c.key), QString::fromUtf8(c.text)) << c.section << "/" << c.key;
}

TEST_F(LanguageFixture, SortedChoiceAndIndexOutOfRange)
{
    language("b.ini", "[S]\nk=b\n");
    language("A.ini", "[S]\nk=A\n");
    language("c.INI", "[S]\nk=c\n");
    language("notes.txt", "");
    QDir(Folders().LanguageDir).mkdir("d.ini"); // a folder is not a language file
    EXPECT_EQ(ListLanguageFiles(), (QStringList { "A.ini", "b.ini", "c.INI" }));
    struct Case {
        int index;
        const char *file;
    } cases[] = { { 0, "A.ini" }, { 1, "b.ini" }, { 2, "c.INI" }, { 3, "" }, { -1, "" }, { 99, "" } };
    for (const Case &c : cases) {
        WriteLanguageIndex(c.index);
        OpenLanguageFile();
        EXPECT_EQ(Folders().LanguageFileName, c.file) << c.index;
        EXPECT_EQ(GetUiString("S", "k"), QString(c.file).left(1)) << c.index;
    }
    EXPECT_TRUE(ReadAll(Folders().ConfigIniPath).contains("[Language]\nLanuage=99\n"));
}

TEST_F(LanguageFixture, MissingFolderKeepsThePreviousChoice)
{
    language("One.ini", "[S]\nk=one\n");
    OpenLanguageFile();
    ASSERT_EQ(Folders().LanguageFileName, "One.ini");
    const QString current = Folders().CurrentDir;
    Folders().LanguageDir = dir.filePath("Gone") + "/";
    WriteLanguageIndex(5);
    SelectLanguageFile(5);
    EXPECT_EQ(Folders().LanguageFileName, "One.ini");
    EXPECT_EQ(Folders().CurrentDir, current);
}

TEST_F(LanguageFixture, ShippedFilesCoverEveryKey)
{
    Folders().LanguageDir = QStringLiteral(DORWEN_SOURCE_RESOURCES) + "/Language/";
    const QStringList files = ListLanguageFiles();
    ASSERT_EQ(files, (QStringList { "English.ini", "Zhongwen-Fanti.ini", "Zhongwen-Jianti.ini" }));
    QSet<QString> all;
    for (const TUiTextDefault &t : BuiltInUiTexts())
        all.insert(QString(t.Key).toLower());
    for (const QString &file : files) {
        const QString text = TIniFile::DecodeText(ReadAll(Folders().LanguageDir + file));
        QSet<QString> keys;
        for (const QString &line : text.split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq <= 0 || line.startsWith(';'))
                continue;
            const QString key = line.left(eq);
            ASSERT_TRUE(all.contains(key.toLower())) << file.toStdString() << ": " << key.toStdString();
            keys.insert(key.toLower());
            if (file == "English.ini") {
                QString value = line.mid(eq + 1);
                if (value.startsWith('"'))
                    value = value.mid(1, value.size() - 2);
                EXPECT_EQ(value, BuiltInUiText(key)) << key.toStdString();
            }
        }
        EXPECT_EQ(keys, all) << file.toStdString();
    }
    // The menu's positions: 0 English, 1 Traditional Chinese, 2 Simplified Chinese.
    const struct {
        int index;
        const char *menuFile;
    } cases[] = { { 0, "File(&F)" }, { 1, "文件(&F)" }, { 2, "文件(&F)" } };
    for (const auto &c : cases) {
        WriteLanguageIndex(c.index);
        OpenLanguageFile();
        EXPECT_EQ(GetUiString("MainMenu", "Menu_File"), QString::fromUtf8(c.menuFile));
    }
    WriteLanguageIndex(1);
    OpenLanguageFile();
    EXPECT_EQ(GetUiMessage("ErrorHint"), QStringLiteral("錯誤提示"));
    WriteLanguageIndex(2);
    OpenLanguageFile();
    EXPECT_EQ(GetUiMessage("ErrorHint"), QStringLiteral("错误提示"));
    EXPECT_EQ(GetUiMessage("FileNameIsEmpty"), QStringLiteral("    路径不能为空    "));
}

// Windows look their texts up in their own sections (the main window in "MainMenu" and
// "Tools", the card-making dialog in "Set_Pattern", the rotation dialog in
// "RotatePicture"): every shipped file holds the same keys in the same sections, and the
// Chinese files translate the keys those windows ask for there.
TEST_F(LanguageFixture, ShippedFilesHoldTheKeysWhereTheWindowsLookThemUp)
{
    Folders().LanguageDir = QStringLiteral(DORWEN_SOURCE_RESOURCES) + "/Language/";
    const auto pairs = [](const QString &file) {
        QStringList out;
        QString section;
        for (const QString &line : TIniFile::DecodeText(ReadAll(Folders().LanguageDir + file)).split('\n')) {
            if (line.startsWith('['))
                section = line.mid(1, line.indexOf(']') - 1);
            else if (line.indexOf('=') > 0 && !line.startsWith(';'))
                out << section + "/" + line.left(line.indexOf('='));
        }
        return out;
    };
    const QStringList english = pairs("English.ini");
    EXPECT_EQ(pairs("Zhongwen-Fanti.ini"), english);
    EXPECT_EQ(pairs("Zhongwen-Jianti.ini"), english);

    const struct {
        const char *section, *key, *simplified;
    } cases[] = {
        { "MainMenu", "Clear_All", "清空" },
        { "ReduceColor", "Clear_All", "清空" },
        { "Set_Pattern", "Hooks", "针数" },
        { "Set_Pattern", "Direction", "方向" },
        { "Set_Pattern", "Shift_To_Right", "靠向右边" },
        { "RotatePicture", "Clockwise", "度(顺时针)" },
        { "RotatePicture", "Anti_Clockwise", "度(逆时针)" },
    };
    WriteLanguageIndex(2);
    OpenLanguageFile();
    ASSERT_EQ(Folders().LanguageFileName, "Zhongwen-Jianti.ini");
    for (const auto &c : cases)
        EXPECT_EQ(GetUiString(c.section, c.key), QString::fromUtf8(c.simplified))
            << c.section << "/" << c.key;
    WriteLanguageIndex(1);
    OpenLanguageFile();
    for (const auto &c : cases)
        EXPECT_NE(GetUiString(c.section, c.key), BuiltInUiText(c.key)) << c.section << "/" << c.key;
}

// A translated message keeps the placeholders of the built-in text: a lost or extra %N
// would show the number or put a value in the wrong place once the text is filled in.
TEST_F(LanguageFixture, ShippedMessagesKeepTheirPlaceholders)
{
    Folders().LanguageDir = QStringLiteral(DORWEN_SOURCE_RESOURCES) + "/Language/";
    const auto placeholders = [](const QString &text) {
        QSet<QString> out;
        static const QRegularExpression re(QStringLiteral("%[1-9]"));
        for (auto it = re.globalMatch(text); it.hasNext();)
            out.insert(it.next().captured());
        return out;
    };
    for (int index : { 0, 1, 2 }) {
        WriteLanguageIndex(index);
        OpenLanguageFile();
        ASSERT_FALSE(Folders().LanguageFileName.isEmpty());
        for (const TUiTextDefault &t : BuiltInUiTexts())
            EXPECT_EQ(placeholders(GetUiMessage(t.Key)), placeholders(BuiltInUiText(t.Key)))
                << Folders().LanguageFileName.toStdString() << ": " << t.Key;
    }
    // Messages come in the chosen language; a text that starts with a quote keeps it.
    WriteLanguageIndex(2);
    OpenLanguageFile();
    EXPECT_EQ(GetUiMessage("CardHeaderShort").arg("EP"), QStringLiteral("EP文件比其文件头还短。"));
    EXPECT_EQ(
        GetUiMessage("NotControllerCardFormat").arg(".ABC"), QStringLiteral("“.ABC”不是控制器的纹板格式。"));
    WriteLanguageIndex(0);
    OpenLanguageFile();
    EXPECT_EQ(
        GetUiMessage("NotControllerCardFormat").arg(".ABC"), "\".ABC\" is not a controller card format.");
}

// Lookups parse the language file once, and still see a change to it.
TEST_F(LanguageFixture, LookupsParseTheFileOnceAndSeeItsChanges)
{
    language("Alpha.ini", "[MainMenu]\nZoom_In=Plus grand\n[String]\nColName=Chaines:\n");
    OpenLanguageFile();
    const IniCounts counts;
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(GetUiString("MainMenu", "Zoom_In"), "Plus grand");
        EXPECT_EQ(GetUiString("MainMenu", "Zoom_Out"), "Zoom Out");
        EXPECT_EQ(GetUiMessage("ColName"), "Chaines:");
    }
    EXPECT_EQ(counts.parsed(), 1u);
    language("Alpha.ini", "[MainMenu]\nZoom_In=Plus petit\n[String]\nColName=Chaines:\n");
    EXPECT_EQ(GetUiString("MainMenu", "Zoom_In"), "Plus petit");
}

// A 15 MB language file (5,000 sections of 100 texts), installed some time ago: a hundred
// lookups parse it once.
TEST_F(LanguageFixture, LargeLanguageFile)
{
    QByteArray text;
    text.reserve(16 * 1024 * 1024);
    int keys = 0;
    char line[96];
    for (int section = 0; text.size() < 15 * 1024 * 1024; ++section) {
        text.append(line, std::snprintf(line, sizeof line, "[Section%d]\n", section));
        for (int k = 0; k < 100; ++k, ++keys)
            text.append(line,
                std::snprintf(line, sizeof line, "Key_%d='Caption text of key number %d'\n", keys, keys));
    }
    ASSERT_GE(text.size(), 15 * 1024 * 1024);
    ASSERT_LT(text.size(), TIniFile::MaxLanguageFileSize);
    language("Big.ini", text);
    ASSERT_TRUE(AgeFile(Folders().LanguageDir + "Big.ini", 3600));
    OpenLanguageFile();
    ASSERT_EQ(Folders().LanguageFileName, "Big.ini");
    const IniCounts counts;
    for (int i = 0; i < 100; ++i) {
        const int key = int(std::int64_t(i) * (keys - 1) / 99);
        EXPECT_EQ(GetUiString(QString("section%1").arg(key / 100), QString("KEY_%1").arg(key)),
            QString("Caption text of key number %1").arg(key));
    }
    EXPECT_EQ(GetUiString("Section0", "Zoom_In"), "Zoom In");
    EXPECT_EQ(counts.parsed(), 1u);
}
