// Each settings dialog through its command: what it shows and OK writes; a refused field keeps it
// open with the focus there, storing only what came before it.
#include <QDate>
#include <QLabel>
#include <QRegularExpression>

#include "dialog_test_support.h"
#include "dialogs/about_dlg.h"
#include "dialogs/settings_file_chooser.h"

namespace {
using Texts = std::vector<std::wstring>;

class SettingsCommandsTest : public DialogTest {
protected:
    // The next dialog takes the steps and OK; OK refused (focus on `refusedAt`) cancels it.
    void Answer(const std::vector<Step>& steps, int refusedAt = 0)
    {
        dialogs.Queue([steps, refusedAt](QDialog& dialog) {
            Apply(dialog, steps);
            dialog.show();
            Click(dialog, 1); // OK
            if (dialog.result() == QDialog::Accepted || refusedAt == 0) {
                return dialog.result();
            }
            EXPECT_TRUE(FocusIsOn(dialog, refusedAt));
            return static_cast<int>(DialogRejected);
        });
    }
    // The warnings since the last call.
    Texts NewWarnings()
    {
        Texts texts = Warnings(seen_);
        seen_ = messages.shown().size();
        return texts;
    }
    class : public SettingsFileChooser {
        std::string Choose(QWidget* /*parent*/) override { return {}; }
    } files;
    size_t seen_ = 0;
};

TEST_F(SettingsCommandsTest, CharacterSet)
{
    Answer({Is(1030, "system"), Is(1034, "^"), Set(1030, "Serif"), Set(1115, "6"),
            Set(1031, "Mono"), Set(1116, "200"), Set(1032, "0"), Set(1033, ""), Set(1036, "]")});
    EXPECT_TRUE(RunCharSetDialog(context));
    EXPECT_EQ(Changed(settings),
              "DispTextLen=0 MainFontSize=6 DetailFontSize=200 MainFontName=Serif "
              "DetailFontName=Mono TaskStartChar= AppHideCharR=]");
    EXPECT_EQ(NewWarnings(), Texts{});
}

TEST_F(SettingsCommandsTest, Environment)
{
    Answer({Is(1025, "5 Weeks"), Is(1113, "AppointTitle"), Set(1024, 1), Set(1034, "abc"),
            Set(1035, "23"), Set(1025, 8), Is(1025, "9 Weeks"), Set(1031, "0"), Set(1032, "4000"),
            Set(1033, "120"), Set(1102, 1), Set(1103, 0)});
    EXPECT_TRUE(RunEnvironmentDialog(context, files));
    EXPECT_EQ(Changed(settings),
              "DispNoDue=1 TaskAreaWidth=0 InfoAreaHeight=120 InfoAreaWidth=4000 StdtChg=1 "
              "CntFromToday=0 DefaultStartHour=23 DispWeekCount=9 UsePopup=0");
    settings.LoadDefaults();
    Answer({Set(1024, 1), Set(1035, "5"), Set(1031, "50"), Set(1032, "-1")}, 1032);
    EXPECT_FALSE(RunEnvironmentDialog(context, files));
    EXPECT_EQ(NewWarnings(), Texts{L"Please set between 0 to 4000"});
    EXPECT_EQ(Changed(settings), "DispNoDue=1 TaskAreaWidth=50 DefaultStartHour=5");
}

TEST_F(SettingsCommandsTest, FunctionKeys)
{
    settings.SetKeyToMain(99); // no button: shown as "----", stored back as 0; '9' is 57
    Answer({Is(1102, 6), Is(1106, 5), Is(1103, 0), Set(1102, 10), Is(1102, "9 Button"),
            Set(1105, 0), Set(1104, 0)});
    EXPECT_TRUE(RunFuncKeyDialog(context));
    EXPECT_EQ(Changed(settings), "KeyToToday=57 KeyToTool=0 KeyToMain=0 KeyToDetail=0");
    settings.LoadDefaults();
    Answer({Set(1102, 4), Set(1105, 4)}, 1105);
    EXPECT_FALSE(RunFuncKeyDialog(context));
    EXPECT_EQ(NewWarnings(), Texts{L"There are same setting"});
    EXPECT_EQ(Changed(settings), "");
}

TEST_F(SettingsCommandsTest, WeekAndColours)
{
    Answer({Press(1073), Set(1164, 1), Set(1102, 6), Set(1183, "80")}); // Memorial: the picker
    dialogs.Queue(AcceptAfter([](QDialog& picker) {
        Apply(picker, {Set(1149, 1), Set(1153, 2), Set(1154, 3)});
    }));
    EXPECT_TRUE(RunWeekColorDialog(context));
    EXPECT_EQ(Changed(settings),
              "StartDow=1 RestDow=6 ColorMemorialday=197121 BrightReduceRate=80");
}

TEST_F(SettingsCommandsTest, DaySelectionWithinTheSupportedYears)
{
    const SYSTEMTIME given = MakeSystemTime(2010, 12, 9);
    Answer({Is(1140, QDate(2010, 12, 9)), Set(1140, QDate(2999, 12, 31))});
    const auto picked = RunDaySelDialog(context, given);
    ASSERT_TRUE(picked);
    EXPECT_EQ(SystemTimeToVariantTime(*picked),
              SystemTimeToVariantTime(MakeSystemTime(2999, 12, 31)));
    Answer({Set(1140, QDate(1899, 12, 31))}, 1140);
    EXPECT_FALSE(RunDaySelDialog(context, given));
    EXPECT_EQ(NewWarnings(), Texts{L"Can't point before year 1900."});
}

TEST_F(SettingsCommandsTest, AboutShowsTheProgramVersionAndTheBuild)
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
        return DialogAccepted;
    });
    RunAboutDialog(context);
    EXPECT_TRUE(dialogs.Exhausted());
}
} // namespace
