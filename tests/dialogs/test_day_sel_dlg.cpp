// The day-select dialog: the given date shown, the year limits, and Cancel keeping the date.
#include <QDateEdit>
#include <QLabel>
#include <QRegularExpression>

#include "dialog_test_support.h"
#include "dialogs/about_dlg.h"
#include "dialogs/day_sel_dlg.h"

namespace {

class DaySelDlgTest : public DialogTest {};

TEST_F(DaySelDlgTest, PicksDatesWithinTheSupportedYears)
{
    const std::vector<std::pair<QDate, bool>> cases = {{QDate(2999, 12, 31), true},
                                                       {QDate(1899, 12, 31), false}};
    for (const auto& [date, accepted] : cases) {
        const SYSTEMTIME given = MakeSystemTime(2010, 12, 9);
        dialogs.Queue([date = date](QDialog& dialog) {
            EXPECT_EQ(Control<QDateEdit>(dialog, 1140)->date(), QDate(2010, 12, 9));
            Control<QDateEdit>(dialog, 1140)->setDate(date);
            dialog.show();
            Click(dialog, 1);
            if (dialog.result() != QDialog::Accepted) {
                EXPECT_TRUE(FocusIsOn(dialog, 1140));
                return static_cast<int>(DialogRejected);
            }
            return static_cast<int>(DialogAccepted);
        });
        const auto picked = RunDaySelDialog(context, given);
        EXPECT_EQ(picked.has_value(), accepted) << date.toString().toStdString();
        if (picked) {
            EXPECT_EQ(QDate(picked->wYear, picked->wMonth, picked->wDay), date);
        }
    }
    EXPECT_EQ(Warnings(), std::vector<std::wstring>{L"Can't point before year 1900."});
}

TEST_F(DaySelDlgTest, AboutShowsTheProgramVersionAndTheBuild)
{
    dialogs.Queue([](QDialog& dialog) {
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            texts << label->text();
        }
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tamberlo Version Info"));
        EXPECT_TRUE(texts.contains(QStringLiteral("Tamberlo")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Version 2.02a")));
        const QRegularExpression build(QStringLiteral("^Build \\d+\\.\\d+\\.\\d+$"));
        EXPECT_EQ(texts.filter(build).size(), 1) << texts.join(u'|').toStdString();
        return static_cast<int>(DialogAccepted);
    });
    RunAboutDialog(context);
    EXPECT_TRUE(dialogs.Exhausted());
}

}  // namespace
