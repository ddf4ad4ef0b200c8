// Which file a start opens, and the message a second start hands over.
#include "shell/documentopen.h"
#include "shell/handover.h"

#include <gtest/gtest.h>

TEST(Startup, ArgumentIsTrimmedAndMadeAbsolute)
{
    struct Case {
        QStringList args;
        const char *expected;
    } cases[] = {
        { { "dorwen-cad" }, "" },
        { { "dorwen-cad", "   " }, "" },
        { { "dorwen-cad", "  a.bmp  " }, "/work/dir/a.bmp" },
        { { "dorwen-cad", "../b/c.ovy" }, "/work/b/c.ovy" },
        { { "dorwen-cad", " /abs/d e.bmp\t" }, "/abs/d e.bmp" },
        { { "dorwen-cad", "first.bmp", "second.bmp" }, "/work/dir/first.bmp" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(StartupArgumentPath(c.args, "/work/dir"), QString::fromUtf8(c.expected))
            << c.args.join('|').toStdString();
}

TEST(Startup, AutoOpenRecentFile)
{
    auto exists = [](const QString &name) { return name == "/recent/there.bmp"; };
    struct Case {
        const char *what;
        const char *argument;
        bool autoOpen;
        const char *recent;
        const char *expected;
    } cases[] = {
        { "argument wins over the recent file", "/arg.bmp", true, "/recent/there.bmp", "/arg.bmp" },
        { "argument without auto-open", "/arg.bmp", false, "", "/arg.bmp" },
        { "recent file when asked for", "", true, "/recent/there.bmp", "/recent/there.bmp" },
        { "no recent file when not asked for", "", false, "/recent/there.bmp", "" },
        { "a recent file that is gone opens nothing", "", true, "/recent/gone.bmp", "" },
        { "an empty recent list opens nothing", "", true, "", "" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(
            StartupDocumentPath(c.argument, c.autoOpen, c.recent, exists), QString::fromUtf8(c.expected))
            << c.what;
}

TEST(Startup, ProjectFilesByExtensionInAnyCase)
{
    for (const char *name : { "/a/b.OVY", "/a/b.ovy", "/a/b.Ovy" })
        EXPECT_TRUE(IsProjectFileName(name)) << name;
    for (const char *name : { "/a/b.Ovw", "/a/b.Ovwb", "/a/ovy", "/a/b.ovy.bmp" })
        EXPECT_FALSE(IsProjectFileName(name)) << name;
}

TEST(HandOver, RoundTripAndMalformedMessages)
{
    QString path;
    const QByteArray good = EncodeHandOver("/home/\u5f20/a b.bmp");
    EXPECT_EQ(DecodeHandOver(good, path), THandOverState::Complete);
    EXPECT_EQ(path, "/home/\u5f20/a b.bmp");
    EXPECT_EQ(DecodeHandOver(EncodeHandOver(""), path), THandOverState::Complete);
    EXPECT_TRUE(path.isEmpty()) << "no file: only raise";
    for (int cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(DecodeHandOver(good.left(cut), path), THandOverState::Incomplete) << cut;

    auto withLength = [](quint32 n, const QByteArray &body) {
        QByteArray m(4, '\0');
        for (int i = 0; i < 4; ++i)
            m[i] = char((n >> (8 * i)) & 0xFF);
        return m + body;
    };
    const struct {
        const char *what;
        QByteArray bytes;
    } bad[] = {
        { "length beyond the bound", withLength(MaxHandOverPathBytes + 1, "") },
        { "huge length", withLength(0xFFFFFFFFu, "/a") },
        { "bytes after the message", good + "x" },
        { "relative path", withLength(5, "a.bmp") },
        { "embedded NUL", withLength(4, QByteArray("/a\0b", 4)) },
    };
    for (const auto &b : bad) {
        EXPECT_EQ(DecodeHandOver(b.bytes, path), THandOverState::Malformed) << b.what;
        EXPECT_TRUE(path.isEmpty()) << b.what;
    }
    const QString longest = "/" + QString(MaxHandOverPathBytes - 1, 'a');
    EXPECT_EQ(DecodeHandOver(EncodeHandOver(longest), path), THandOverState::Complete);
    EXPECT_EQ(path, longest);

    // A name that is not UTF-8 travels as its bytes: each part read as GBK when it is not
    // UTF-8, so that it finds the same file again.
    EXPECT_EQ(
        DecodeHandOver(withLength(12, "/u/\xB0\xB8/\xCD\xBC\xB0\xB8.b"), path), THandOverState::Complete);
    EXPECT_EQ(path, QString::fromUtf8("/u/案/图案.b"));
    EXPECT_EQ(DecodeHandOver(withLength(3, "/\xff\xfe"), path), THandOverState::Complete);
    EXPECT_FALSE(path.isEmpty());
    EXPECT_FALSE(CheckHandOverPath(longest + "a"));
    QString error;
    EXPECT_FALSE(CheckHandOverPath("/" + QString(20000, 'a'), &error));
    EXPECT_TRUE(error.contains("20001") && error.contains(QString::number(MaxHandOverPathBytes)))
        << error.toStdString();
    EXPECT_TRUE(CheckHandOverPath(longest));
}

TEST(HandOver, KeyNamesTheWindowClassAndTheUser)
{
    EXPECT_TRUE(SingleInstanceKey().startsWith("Velmora Quenvali-"));
    EXPECT_EQ(QString(MainWindowClassName).size(), 16);
}
