// Settings with long lists: the profile load, the profile's own writes and the settings-file
// import must grow linearly with the number of elements (see the fitted complexity), and a
// 50 MB settings file without a single blank must be read in bounded memory.
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <map>
#include <string>

#include "platform/profile.h"
#include "settings/app_settings.h"
#include "settings/settings_persistence.h"

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::wstring ElementName(int i)
{
    return QString("Name%1").arg(i, 3, 10, QChar('0')).toStdWString();
}

// A profile whose place list holds `count` elements, written once per size.
const std::string& ProfileWithList(int count)
{
    static std::map<int, std::string> paths;
    auto [at, added] = paths.try_emplace(count);
    if (added) {
        at->second = Folder().filePath(QString("list%1.ini").arg(count)).toStdString();
        Profile profile(at->second);
        profile.WriteInt(L"PlaceInfo", L"Count", count);
        for (int i = 0; i < count; ++i) {
            profile.WriteString(L"PlaceInfo", ElementName(i), L"Place " + std::to_wstring(i));
        }
        profile.Flush();
    }
    return at->second;
}

std::string WriteFile(const QString& name, const QByteArray& bytes)
{
    const QString path = Folder().filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path.toStdString();
}

long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs first, while the process is still small, so the peak it reports is its own.
void BM_ImportFiftyMegabytesWithoutBlanks(benchmark::State& state)
{
    const QString name = Folder().filePath("run.txt");
    {
        QFile file(name); // written in pieces, so writing it does not raise the peak
        file.open(QIODevice::WriteOnly);
        file.write("[AppPlace]\n");
        const QByteArray piece(qsizetype{1024} * 1024, 'p');
        for (int i = 0; i < 50; ++i) {
            file.write(piece);
        }
    }
    const std::string path = name.toStdString();
    const long before = PeakResidentKiB();
    for (auto _ : state) {
        AppSettings settings;
        benchmark::DoNotOptimize(ImportSettingsFile(settings, path));
    }
    state.counters["peak_growth_MiB"] = static_cast<double>(PeakResidentKiB() - before) / 1024.0;
}
BENCHMARK(BM_ImportFiftyMegabytesWithoutBlanks)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadSettingsWithList(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    const std::string& path = ProfileWithList(count);
    for (auto _ : state) {
        AppSettings settings;
        LoadSettings(settings, Profile(path));
        benchmark::DoNotOptimize(settings.GetListCount(SettingsList::PlaceInfo));
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_LoadSettingsWithList)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The profile side of a save: every element written under its name, then the file.
void BM_ProfileWritesList(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    const std::string path = Folder().filePath("written.ini").toStdString();
    for (auto _ : state) {
        QFile::remove(QString::fromStdString(path));
        Profile profile(path);
        profile.WriteInt(L"PlaceInfo", L"Count", count);
        for (int i = 0; i < count; ++i) {
            profile.WriteString(L"PlaceInfo", ElementName(i), L"Place");
        }
        benchmark::DoNotOptimize(profile.Flush());
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_ProfileWritesList)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A full save of settings holding the longest lists there can be.
void BM_SaveSettingsAtTheListMaximum(benchmark::State& state)
{
    AppSettings settings;
    LoadSettings(settings, Profile(ProfileWithList(AppSettings::kMaxListElements)));
    const std::string path = Folder().filePath("saved.ini").toStdString();
    for (auto _ : state) {
        QFile::remove(QString::fromStdString(path));
        Profile profile(path);
        benchmark::DoNotOptimize(SaveSettings(settings, profile));
    }
}
BENCHMARK(BM_SaveSettingsAtTheListMaximum)->Unit(benchmark::kMillisecond);

void BM_ImportList(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    QByteArray text = "[AppPlace]\n";
    for (int i = 0; i < count; ++i) {
        text += "Place" + QByteArray::number(i) + "\n";
    }
    const std::string path = WriteFile(QString("import%1.txt").arg(count), text);
    for (auto _ : state) {
        AppSettings settings;
        benchmark::DoNotOptimize(ImportSettingsFile(settings, path));
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_ImportList)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

BENCHMARK_MAIN();
