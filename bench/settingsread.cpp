// Reading settings and interface texts from large files: the start-up reads of a
// "Config.Ini" of a few megabytes (a long recent list and a long comment line), and a
// hundred caption lookups, as a window applies its texts, in a 15 MB language file.
#include "core/settings/inifile.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Dates the file an hour back, as a settings or language file that the program finds at
// start-up is.
void age(const QString &path)
{
    timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

void BM_StartUpSettingsRead(benchmark::State &state)
{
    QTemporaryDir dir;
    Folders().ConfigIniPath = dir.filePath(QStringLiteral("Config.Ini"));
    QByteArray text("[Main]\nMaxBakDataSize=200\nFlashFrequence=300\nMaxUndoCount=50\nMaxRecentFile=10\n"
                    "[GrossOption]\nWarp=400\nWeft=300\n[PageOption]\nLeftMargin=15\n[TileWeaveParam]\n"
                    "FindHigh=0\n; ");
    text.append(QByteArray(3 * 1024 * 1024, 'x'));
    text.append("\n[RecentFile]\n");
    char line[64];
    for (int i = 0; i < 50000; ++i)
        text.append(line, std::snprintf(line, sizeof line, "RecentFile%d=/p/%d.ovy\n", i, i));
    writeFile(Folders().ConfigIniPath, text);
    age(Folders().ConfigIniPath);
    const std::uint64_t parses = TIniFile::ParseCount();
    for (auto _ : state) {
        ReadMaxBakDataSize();
        ReadFlashFrequence();
        ReadFlashTime();
        ReadTileWeaveParam(StartSettings().TileWeaveParam);
        ReadMainWindowSettings();
        benchmark::DoNotOptimize(ReadAutoOpenRecentFile());
        benchmark::DoNotOptimize(ReadRecentFileList());
        benchmark::DoNotOptimize(ReadLanguageIndex());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.counters["parses_per_startup"]
        = double(TIniFile::ParseCount() - parses) / double(state.iterations());
}
BENCHMARK(BM_StartUpSettingsRead)->Unit(benchmark::kMillisecond);

void BM_HundredCaptionLookups(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Language"));
    Folders().LanguageDir = dir.filePath(QStringLiteral("Language")) + QLatin1Char('/');
    Folders().ConfigIniPath = dir.filePath(QStringLiteral("Config.Ini"));
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
    const QString file = Folders().LanguageDir + QStringLiteral("Big.ini");
    writeFile(file, text);
    age(file);
    QStringList sections, names;
    for (int i = 0; i < 100; ++i) {
        const int key = int(std::int64_t(i) * (keys - 1) / 99);
        sections << QStringLiteral("Section%1").arg(key / 100);
        names << QStringLiteral("Key_%1").arg(key);
    }
    for (auto _ : state) {
        OpenLanguageFile(); // a fresh file object: the first lookup parses the file
        for (int i = 0; i < 100; ++i)
            benchmark::DoNotOptimize(GetUiString(sections[i], names[i]));
    }
    CloseLanguageFile();
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_HundredCaptionLookups)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
