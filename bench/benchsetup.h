#pragma once
// What the benchmark programs share around their runs: a private home for the settings the
// shared state writes, the offscreen platform, the plain run of the selected benchmarks, and
// the largest pattern the editor takes as test material.

#include "core/palette/palette.h"
#include "core/settings/sharedstate.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cstdint>

namespace bench {

// Runs on the offscreen platform unless the command line's environment chose another, so a
// benchmark needs no display and a developer can still watch one run on screen.
inline void UseOffscreenUnlessChosen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Keeps the settings and data folders the shared state creates out of the real home folder
// for as long as it lives; made before the application object, like the environment.
class TPrivateHome {
public:
    TPrivateHome()
    {
        const QByteArray root = QFile::encodeName(m_home.path());
        qputenv("XDG_CONFIG_HOME", root + "/config");
        qputenv("XDG_DATA_HOME", root + "/data");
    }

private:
    QTemporaryDir m_home;
};

// The application the benchmarks of the editor's logic run in: a private home, the offscreen
// platform unless another was chosen, and the shared state (it registers cursors, hence a
// GUI application) over a data folder that does not exist, so that no file of the user's
// installation changes the figures.
class TLogicBenchApp {
public:
    TLogicBenchApp(int &argc, char **argv)
        : m_app(offscreenFirst(argc), argv)
    {
        InitSharedState(QStringLiteral("/nonexistent-dorwen-bench"));
    }

private:
    // The platform is read when the application is made, so it is chosen before that.
    static int &offscreenFirst(int &argc)
    {
        UseOffscreenUnlessChosen();
        return argc;
    }

    TPrivateHome m_home; // made first: the shared state reads the folders it sets
    QGuiApplication m_app;
};

// Runs the benchmarks the command line selects with the usual table.
inline int RunBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// A 5120 x 65,535 pattern of 256 colours in runs of 4 cells of pseudo-random colour (the
// same every time): the largest pattern the editor takes, with enough colour changes that
// no painting or scanning step can take a short cut.
inline QImage BigPattern()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = TPaletteEntry { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0 };
    QImage p = NewPicture(5120, 65535, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < p.height(); ++y) {
        std::uint8_t *row = p.scanLine(y);
        for (int x = 0; x < p.width(); x += 4) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = row[x + 1] = row[x + 2] = row[x + 3] = std::uint8_t(seed >> 24);
        }
    }
    return p;
}

} // namespace bench
