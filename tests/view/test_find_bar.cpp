// The find bar as typing drives it, over a scripted search and a scripted pause.
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <utility>

#include "view/find_bar.h"

namespace {
struct FindHarness {
    // clang-format off
    struct Asked { std::wstring text; bool hiddenToo; FindBar::Answer answer; };
    // clang-format on
    std::vector<Asked> asked;
    std::vector<std::pair<int, std::function<void()>>> paused;
    std::vector<std::wstring> jumped;
    FindBar bar{
        [this](const std::wstring& text, bool hiddenToo, FindBar::Answer answer) {
            asked.push_back({text, hiddenToo, std::move(answer)});
        },
        [this](const FoundItem& found) { jumped.push_back(found.subject); }, nullptr,
        [this](int ms, const std::function<void()>& then) { paused.emplace_back(ms, then); }};
    int Rows() const { return bar.Matches()->model()->rowCount(); }
    QString Text(int row, int column = 2) const
    {
        const QAbstractItemModel& model = *bar.Matches()->model();
        return model.data(model.index(row, column)).toString();
    }
    int Current() const { return bar.Matches()->currentIndex().row(); }
};

// `count` lines a day apart, "line 0" first; `next` the first upcoming one.
FoundItems Lines(int count, int next)
{
    FoundItems found;
    for (int i = 0; i < count; ++i) {
        found.lines.push_back({{}, 46000.0 + i, false, L"line " + std::to_wstring(i), 1});
    }
    found.next = next;
    return found;
}

TEST(FindBar, ShortTextsWaitForAPauseAndOnlyTheLatestAnswerShows)
{
    FindHarness h;
    QTest::keyClicks(h.bar.Field(), "de");
    EXPECT_TRUE(h.asked.empty()) << "no search while the first letters are typed";
    ASSERT_EQ(h.paused.size(), 2U);
    EXPECT_EQ(h.paused[0].first, 300);
    h.paused[0].second(); // the pause after "d" ends with "de" typed since: nothing asked
    h.paused[1].second();
    ASSERT_EQ(h.asked.size(), 1U);
    EXPECT_EQ(h.asked[0].text, L"de");
    EXPECT_TRUE(h.bar.Searching());
    QTest::keyClick(h.bar.Field(), 'n');
    ASSERT_EQ(h.asked.size(), 2U) << "three letters are asked for at once, without a pause";
    h.asked[1].answer(Lines(2, 0));
    h.asked[0].answer(Lines(5, 0)); // the answer to "de", late: dropped
    EXPECT_EQ(h.Rows(), 2);
    EXPECT_FALSE(h.bar.Searching());
    h.bar.HiddenToo()->setChecked(true);
    ASSERT_EQ(h.asked.size(), 3U);
    EXPECT_TRUE(h.asked[2].hiddenToo);
    QTest::keyClick(h.bar.Field(), Qt::Key_Return);
    EXPECT_TRUE(h.jumped.empty()) << "the matches of the question asked are not in yet";
    h.asked[2].answer(Lines(3, 1));
    EXPECT_EQ(h.jumped, std::vector<std::wstring>{L"line 1"});
    h.bar.Field()->clear();
    EXPECT_EQ(h.Rows(), 0);
}

TEST(FindBar, ManyMatchesListAWindowAroundTheNextOneAndCountTheRest)
{
    FindHarness h;
    QTest::keyClicks(h.bar.Field(), "eet");
    ASSERT_EQ(h.asked.size(), 1U);
    h.asked.back().answer(Lines(1000, 700));
    ASSERT_EQ(h.Rows(), FindBar::kListedLines + 1);
    EXPECT_EQ(h.Text(0), "line 680");
    EXPECT_EQ(h.Current(), 20);
    EXPECT_EQ(h.Text(20), "line 700");
    EXPECT_EQ(h.Text(300), "700 more");
    for (int i = 0; i < 25; ++i) {
        QTest::keyClick(h.bar.Field(), Qt::Key_Up);
    }
    EXPECT_EQ(h.Current(), 0);
    h.bar.Step(-1); // wraps round within the listed lines
    EXPECT_EQ(h.Current(), 299);
    EXPECT_EQ(h.jumped, std::vector<std::wstring>{L"line 979"});
    QTest::keyClick(h.bar.Field(), Qt::Key_Down);
    EXPECT_EQ(h.Current(), 299) << "the count line is not chosen";
}
} // namespace
