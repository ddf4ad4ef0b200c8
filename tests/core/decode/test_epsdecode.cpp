// PostScript pictures: a tiny file claiming a vast bounding box is refused by its size
// before Ghostscript is started (it would draw the whole box into a temporary file).
#include "core/decode/epsdecode.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// Puts a stand-in "gs" first on the search path that only leaves a mark that it ran.
class FakeGhostscript {
public:
    FakeGhostscript()
        : m_savedPath(qgetenv("PATH"))
    {
        const QString gs = m_dir.filePath(QStringLiteral("gs"));
        WriteAll(gs, "#!/bin/sh\n: > \"" + QFile::encodeName(marker()) + "\"\n");
        QFile::setPermissions(gs, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_dir.path()));
    }
    ~FakeGhostscript() { qputenv("PATH", m_savedPath); }
    QString marker() const { return m_dir.filePath(QStringLiteral("started")); }
    bool started() const { return QFile::exists(marker()); }

private:
    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

} // namespace

TEST(Eps, VastBoundingBoxIsRefusedBeforeGhostscriptStarts)
{
    FakeGhostscript gs;
    QImage picture;
    QString error;
    const QByteArray vast = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 65535 65535\n"
                            "0 0 moveto 65535 65535 lineto stroke showpage\n";
    ASSERT_LE(vast.size(), 107);
    EXPECT_FALSE(DecodeEps(vast, picture, &error));
    EXPECT_TRUE(error.contains(QLatin1String("65535 x 65535"))) << error.toStdString();
    EXPECT_FALSE(gs.started());
    EXPECT_TRUE(picture.isNull());

    // Beyond the budget only as true colour (20,000 x 20,000 cells at 4 bytes a cell).
    error.clear();
    EXPECT_FALSE(DecodeEps(
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 100 100 20100 20100\nshowpage\n", picture, &error));
    EXPECT_TRUE(error.contains(QLatin1String("20000 x 20000"))) << error.toStdString();
    EXPECT_FALSE(gs.started());

    // A box within the budget does reach Ghostscript (the stand-in draws nothing).
    EXPECT_FALSE(DecodeEps("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\nshowpage\n", picture, &error));
    EXPECT_TRUE(gs.started());
}
