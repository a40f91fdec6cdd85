// Find over a store of 50,000 appointments (a fifth recurring) and 2,000 tasks: the lines for
// a text, from the store's index to the dated, sorted list the find bar shows, and the bar
// itself as the user types: a keystroke, and an answer shown. "den" matches about 1,800 items,
// "eet" about 10,000, "e" all of them.
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include <vector>

#include "bench/demo_view_fixture.h"
#include "model/calendar_find.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/demo_calendar.h"
#include "view/find_bar.h"

namespace {

constexpr int kAppointmentCount = 50000;
constexpr int kTaskCount = 2000;

SYSTEMTIME Today()
{
    return MakeSystemTime(2026, 12, 7, 9, 0);
}

// Built at first use and kept for the whole run; empty when it cannot be written.
const std::string& StorePath()
{
    static QTemporaryDir dir;
    static const std::string path = dir.filePath(QStringLiteral("find.sqlite3")).toStdString();
    static const bool ready =
        pim::WriteDemoStore(path, OccurrenceOnDay, Today(), kAppointmentCount, kTaskCount, 1) >= 0;
    static const std::string none;
    return ready ? path : none;
}

void BM_Find(benchmark::State& state, const wchar_t* text)
{
    if (StorePath().empty()) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PimSession session(StorePath(), OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
    size_t lines = 0;
    for (auto _ : state) {
        const FoundItems found = FindInCalendar(session, text, Today());
        lines = found.lines.size();
        benchmark::DoNotOptimize(found.next);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

// The store's part alone: the index query and the columns a line needs of each match.
void BM_FindMatches(benchmark::State& state, const wchar_t* text)
{
    PimSession session(StorePath(), OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
    std::vector<pim::FindMatch> items;
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.FindMatches(text, items));
    }
    state.counters["items"] = static_cast<double>(items.size());
}

// A keystroke in a shown bar: what the window's thread does with it. The search itself runs on
// a worker in the program (BM_Find is its cost); here it is asked and never answers.
void BM_FindBarKeystroke(benchmark::State& state, const char* text)
{
    FindBar bar([](const std::wstring&, bool, const FindBar::Answer&) {}, [](const FoundItem&) {});
    bar.resize(1280, 160);
    bar.Open();
    for (auto _ : state) {
        bar.Field()->setText(QString::fromLatin1(text));
        QApplication::processEvents();
        state.PauseTiming();
        bar.Field()->clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// The answer to a text shown: the list filled with its first lines and painted, on the window's
// thread, for every match of the text.
void BM_FindBarShowsAnswer(benchmark::State& state, const wchar_t* text)
{
    PimSession session(StorePath(), OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
    const FoundItems all = FindInCalendar(session, text, Today());
    FindBar::Answer answer;
    FindBar bar(
        [&answer](const std::wstring&, bool, FindBar::Answer given) { answer = std::move(given); },
        [](const FoundItem&) {}, nullptr, [](int, const std::function<void()>& then) { then(); });
    bar.resize(1280, 160);
    bar.Open();
    const QString typed = QString::fromWCharArray(text);
    bool again = false;
    for (auto _ : state) {
        state.PauseTiming();
        // A new text each time: the bar takes only the answer to the text it shows.
        bar.Field()->setText((again = !again) ? typed : typed + typed);
        FoundItems found = all;
        state.ResumeTiming();
        answer(std::move(found));
        QApplication::processEvents();
    }
    state.counters["lines"] = static_cast<double>(all.lines.size());
}

BENCHMARK_CAPTURE(BM_Find, den, L"den")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Find, eet, L"eet")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Find, e, L"e")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindMatches, den, L"den")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindMatches, eet, L"eet")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_CAPTURE(BM_FindBarKeystroke, e, "e")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindBarKeystroke, eet, "eet")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindBarShowsAnswer, e, L"e")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindBarShowsAnswer, eet, L"eet")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return bench::RunOffscreen(argc, argv);
}
