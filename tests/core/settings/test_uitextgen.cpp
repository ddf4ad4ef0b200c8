// The build step that makes the built-in texts and key constants from English.ini, and the
// script that turns lookups by string into lookups by constant.
#include "testutil.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TScriptRun {
    int exitCode = -1;
    QString output; // standard output and error together
};

TScriptRun python(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(DORWEN_PYTHON), arguments);
    TScriptRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAll());
    return run;
}

const QString kGenerator = QStringLiteral(DORWEN_SOURCE_DIR) + "/cmake/uitextgen.py";
const QString kConverter = QStringLiteral(DORWEN_SOURCE_DIR) + "/scripts/uikeys_convert.py";

} // namespace

// A file the generator cannot make constants from is refused with the place and the
// reason, and what it generated before stays as it was.
TEST(UiTextGenerator, RefusesWhatCannotBeAConstant)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("English.ini");
    const QString header = dir.filePath("out/core/settings/uikeys.h");
    ASSERT_TRUE(WriteAll(ini, "[String]\nHintMSG=Hint\n"));
    ASSERT_EQ(python({ kGenerator, ini, dir.filePath("out") }).exitCode, 0);
    const QByteArray good = ReadAll(header);
    ASSERT_TRUE(good.contains("HintMSG"));

    const struct {
        const char *name;
        QByteArray text;
        const char *says;
    } cases[] = {
        { "a blank in a key", "[S]\nKey Name=x\n",
            "English.ini:2: the key name 'Key Name' is not a C++ identifier" },
        { "a key before a section", "Key=x\n[S]\n", "English.ini:1: a key before the first section" },
        { "a key twice in any case", "[S]\nKey=x\nKEY=y\n",
            "English.ini:3: key KEY stands twice in section [S]" },
        { "a section twice", "[S]\nA=x\n[s]\nB=y\n", "English.ini:3: section [s] stands twice" },
        { "a common macro", "[S]\nNone=x\n", "clashes with a C++ keyword or a common macro" },
        { "a C++ keyword", "[delete]\nA=x\n", "the section name 'delete'" },
        { "a line of neither kind", "[S]\nA=x\njust words\n", "English.ini:3: neither a section" },
        { "an open section line", "[S\nA=x\n", "English.ini:1: a section line must end with ']'" },
        { "bytes that are not UTF-8", "[S]\nA=\xC0\xC1\n", "cannot be read as UTF-8" },
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(WriteAll(ini, c.text));
        const TScriptRun run = python({ kGenerator, ini, dir.filePath("out") });
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(run.output.contains(QString::fromUtf8(c.says)))
            << c.name << ": " << run.output.toStdString();
        EXPECT_EQ(ReadAll(header), good) << c.name;
    }
}

// Every line becomes a constant of its section and a row of the built-in table, with the
// value as the ini reader gives it (blanks and one pair of quotes removed) written as a C
// string; the "String" section's constants are message keys.
TEST(UiTextGenerator, WritesConstantsAndTable)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("English.ini");
    ASSERT_TRUE(WriteAll(ini,
        "; comment\n[String]\nHintMSG=\"  Hint  \"\n[Tools]\nRuber='Rubber'\n"
        "Path=  C:\\dir \"x\"  \n[SampleCard]\nOpen=打开\n"));
    const TScriptRun run = python({ kGenerator, ini, dir.filePath("out") });
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QByteArray header = ReadAll(dir.filePath("out/core/settings/uikeys.h"));
    const QByteArray table = ReadAll(dir.filePath("out/core/settings/uitextdefaults.cpp"));
    for (const char *line : {
             "namespace String {\ninline constexpr TUiMessageKey HintMSG { { \"String\", \"HintMSG\" } };\n",
             "namespace Tools {\ninline constexpr TUiKey Ruber { \"Tools\", \"Ruber\" };\n"
             "inline constexpr TUiKey Path { \"Tools\", \"Path\" };\n} // namespace Tools\n",
         })
        EXPECT_TRUE(header.contains(line)) << line << "\n" << header.toStdString();
    for (const char *row : {
             "    { \"String\", \"HintMSG\", \"  Hint  \" },\n",
             "    { \"Tools\", \"Ruber\", \"Rubber\" },\n",
             "    { \"Tools\", \"Path\", \"C:\\\\dir \\\"x\\\"\" },\n",
             "    { \"SampleCard\", \"Open\", \"打开\" },\n",
         })
        EXPECT_TRUE(table.contains(row)) << row << "\n" << table.toStdString();

    // A second run on the same file leaves the files untouched, so nothing rebuilds.
    const QDateTime before = QFileInfo(dir.filePath("out/core/settings/uikeys.h")).lastModified();
    ASSERT_TRUE(AgeFile(dir.filePath("out/core/settings/uikeys.h"), 3600));
    const QDateTime aged = QFileInfo(dir.filePath("out/core/settings/uikeys.h")).lastModified();
    ASSERT_NE(before, aged);
    ASSERT_EQ(python({ kGenerator, ini, dir.filePath("out") }).exitCode, 0);
    EXPECT_EQ(QFileInfo(dir.filePath("out/core/settings/uikeys.h")).lastModified(), aged);
}

// The conversion script on a small source file: every form it knows becomes a constant
// spelt as English.ini spells it, a wrapper and a section variable that nothing uses any
// more go, a key that is not in the section is reported with where it stands, and a second
// run changes nothing.
TEST(UiKeyConverter, ConvertsReportsAndIsIdempotent)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("English.ini");
    ASSERT_TRUE(WriteAll(
        ini, "[String]\nHintMSG=Hint\nAsk=Ask?\n[Tools]\nRuber=Rubber\n[SetSpray]\nSpray_Caption=S\n"));
    const QString source = dir.filePath("window.cpp");
    ASSERT_TRUE(WriteAll(source,
        "#include \"core/settings/uitexts.h\"\n"
        "\n"
        "namespace {\n"
        "QString text(const char *key)\n"
        "{\n"
        "    return GetUiString(QStringLiteral(\"SetSpray\"), QLatin1String(key));\n"
        "}\n"
        "} // namespace\n"
        "\n"
        "QString a() { return GetUiMessage(QStringLiteral(\"HintMSG\")); }\n"
        "QString b() { return GetUiString(\"tools\", \"RUBER\"); }\n"
        "QString c(bool x) { return GetUiMessage(x ? QStringLiteral(\"HintMSG\") : QLatin1String(\"Ask\")); "
        "}\n"
        "QString d() { return text(\"Spray_Caption\"); }\n"
        "QString e()\n"
        "{\n"
        "    const QString section = QStringLiteral(\"Tools\");\n"
        "    return GetUiString(section, QStringLiteral(\"Ruber\"));\n"
        "}\n"
        "QString typo() { return GetUiMessage(QStringLiteral(\"HintMGS\")); }\n"
        "QString wrong() { return GetUiString(QStringLiteral(\"String\"), QStringLiteral(\"Ruber\")); }\n"
        "QString runtime(const QString &k) { return GetUiString(QStringLiteral(\"Tools\"), k); }\n"));

    const TScriptRun run = python({ kConverter, "--no-format", "--runtime", "--english", ini, source });
    EXPECT_EQ(run.exitCode, 1) << "keys are left to mend";
    const QByteArray converted = ReadAll(source);
    EXPECT_EQ(converted,
        "#include \"core/settings/uitexts.h\"\n"
        "\n"
        "QString a() { return GetUiMessage(UiKey::String::HintMSG); }\n"
        "QString b() { return GetUiString(UiKey::Tools::Ruber); }\n"
        "QString c(bool x) { return GetUiMessage(x ? UiKey::String::HintMSG : UiKey::String::Ask); }\n"
        "QString d() { return GetUiString(UiKey::SetSpray::Spray_Caption); }\n"
        "QString e()\n"
        "{\n"
        "    return GetUiString(UiKey::Tools::Ruber);\n"
        "}\n"
        "QString typo() { return GetUiMessage(QStringLiteral(\"HintMGS\")); }\n"
        "QString wrong() { return GetUiString(QStringLiteral(\"String\"), QStringLiteral(\"Ruber\")); }\n"
        "QString runtime(const QString &k) { return GetUiString(QStringLiteral(\"Tools\"), k); }\n");
    EXPECT_TRUE(
        run.output.contains("window.cpp:11: cannot convert: key HintMGS is not in [String] of English.ini "
                            "(nor in any section)"))
        << run.output.toStdString();
    EXPECT_TRUE(
        run.output.contains("window.cpp:12: cannot convert: key Ruber is not in [String] of English.ini "
                            "(it stands in [Tools])"))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("window.cpp:13: run-time key: GetUiString(QStringLiteral(\"Tools\"), k)"))
        << run.output.toStdString();

    const TScriptRun again = python({ kConverter, "--no-format", "--english", ini, source });
    EXPECT_EQ(ReadAll(source), converted);
    EXPECT_TRUE(again.output.contains("0 file(s) converted, 2 lookup(s) to mend by hand"))
        << again.output.toStdString();
    const TScriptRun check = python({ kConverter, "--check", "--english", ini, source });
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_EQ(ReadAll(source), converted) << "--check changes nothing";
}
