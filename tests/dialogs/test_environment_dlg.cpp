// The environment dialog: what OK writes, the refusals and what they leave stored, and settings
// files read through the chooser, including files that are no settings files at all.
#include <QFile>
#include <QPlainTextEdit>
#include <deque>
#include <sys/stat.h>

#include "dialog_test_support.h"
#include "dialogs/environment_dlg.h"
#include "dialogs/settings_file_chooser.h"
#include "tests/support/temp_paths.h"

namespace {

class ScriptedFileChooser : public SettingsFileChooser {
public:
    std::deque<std::string> answers;
    std::string Choose(QWidget*) override
    {
        std::string answer = answers.empty() ? std::string() : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
};

class EnvironmentDlgTest : public DialogTest {
protected:
    std::string WriteFile(const std::string& name, const QByteArray& bytes)
    {
        const std::string path = paths.File(name);
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    TempPaths paths;
    ScriptedFileChooser files;
};

TEST_F(EnvironmentDlgTest, OkWritesEveryFieldOfTheDialog)
{
    dialogs.Queue(AcceptAfter([](QDialog& dialog) {
        EXPECT_EQ(Selected(dialog, 1025), 4);
        EXPECT_EQ(Control<QComboBox>(dialog, 1025)->itemText(8), QStringLiteral("9 Weeks"));
        EXPECT_EQ(Control<QComboBox>(dialog, 1113)->currentText(), QStringLiteral("AppointTitle"));
        Select(dialog, 1024, 1);
        Type(dialog, 1034, QStringLiteral("abc"));
        Type(dialog, 1035, QStringLiteral("23"));
        Select(dialog, 1025, 8);
        Type(dialog, 1031, QStringLiteral("0"));
        Type(dialog, 1032, QStringLiteral("4000"));
        Type(dialog, 1033, QStringLiteral("120"));
        Select(dialog, 1102, 1);
        Select(dialog, 1103, 0);
    }));
    EXPECT_TRUE(RunEnvironmentDialog(context, files));
    AppSettings expected;
    expected.SetDispNoDue(1);
    expected.SetCntFromToday(0);
    expected.SetDefaultStartHour(23);
    expected.SetDispWeekCount(9);
    expected.SetTaskAreaWidth(0);
    expected.SetInfoAreaWidth(4000);
    expected.SetInfoAreaHeight(120);
    expected.SetStdtChg(1);
    expected.SetUsePopup(0);
    ExpectSameSettings(settings, expected);
}

TEST_F(EnvironmentDlgTest, RefusalKeepsTheSettingsStoredBeforeIt)
{
    CEnvironmentDlg dialog(settings, messages, dialogs, files);
    Select(dialog, 1024, 1);
    Type(dialog, 1035, QStringLiteral("5"));
    Type(dialog, 1031, QStringLiteral("50"));
    Type(dialog, 1032, QStringLiteral("-1"));
    EXPECT_FALSE(PressOk(dialog));
    EXPECT_TRUE(FocusIsOn(dialog, 1032));
    EXPECT_EQ(Warnings(), std::vector<std::wstring>{L"Please set between 0 to 4000"});
    EXPECT_EQ(settings.GetDispNoDue(), 1);
    EXPECT_EQ(settings.GetDefaultStartHour(), 5);
    EXPECT_EQ(settings.GetTaskAreaWidth(), 50);
    EXPECT_EQ(settings.GetInfoAreaWidth(), 200);
}

TEST_F(EnvironmentDlgTest, ReadSettingsStayAfterCancelAndAreNotUndoneByOk)
{
    const std::string file =
        WriteFile("settings.ini", "[Envirorment]\nColorSunday=255\nUsepopup=0\nDispWeekCount=2\n"
                                  "CntFromToday=7\nDispNoDue=1\n");
    files.answers = {file, file};
    dialogs.Queue([](QDialog& dialog) {
        Click(dialog, 1065);
        return static_cast<int>(DialogRejected);
    });
    EXPECT_FALSE(RunEnvironmentDialog(context, files));
    EXPECT_EQ(settings.GetColorSunday(), 255u);

    settings.LoadDefaults();
    dialogs.Queue(AcceptAfter([](QDialog& dialog) { Click(dialog, 1065); }));
    EXPECT_TRUE(RunEnvironmentDialog(context, files));
    AppSettings expected;
    expected.SetColorSunday(255);
    expected.SetUsePopup(0);
    expected.SetDispWeekCount(2);
    expected.SetCntFromToday(7);
    expected.SetDispNoDue(1);
    ExpectSameSettings(settings, expected);
}

TEST_F(EnvironmentDlgTest, EditedListStaysAfterCancel)
{
    settings.AppendListItem(SettingsList::PlaceInfo, L"Office");
    dialogs.Queue([](QDialog& dialog) {
        Select(dialog, 1113, 1); // "AppointPlace"
        Click(dialog, 1066);
        return static_cast<int>(DialogRejected);
    });
    dialogs.Queue([](QDialog& memo) {
        auto* text = Control<QPlainTextEdit>(memo, 1029);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("Office\n"));
        text->setPlainText(QStringLiteral("Office\n\nHead Office\n "));
        Click(memo, 1);
        return memo.result() == QDialog::Accepted ? DialogAccepted : DialogRejected;
    });
    EXPECT_FALSE(RunEnvironmentDialog(context, files));
    EXPECT_EQ(settings.GetListCount(SettingsList::PlaceInfo), 3);
    EXPECT_EQ(settings.GetListText(SettingsList::PlaceInfo), L"Office\x1FHead Office\x1F \x1F");
}

TEST_F(EnvironmentDlgTest, FilesThatAreNoSettingsFilesChangeNothing)
{
    const std::string huge = paths.File("huge.ini");
    {
        QFile file(QString::fromStdString(huge));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[AppPlace]\nHome\n");
        ASSERT_TRUE(file.resize(kMaxSettingsFileBytes + 1));
    }
    const std::string pipe = paths.File("pipe.ini");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>((i * 7919) % 251);
    }
    files.answers = {huge, pipe, paths.File("missing.ini"), paths.File(""),
                     WriteFile("binary.dat", binary)};
    CEnvironmentDlg dialog(settings, messages, dialogs, files);
    for (std::size_t i = 0; i < 5; ++i) {
        Click(dialog, 1065);
    }
    EXPECT_TRUE(files.answers.empty());
    ExpectSameSettings(settings, AppSettings());
    EXPECT_TRUE(messages.shown().empty());
}

TEST(SettingsFileChooser, FilterTextGivesOneNameFilterPerName)
{
    EXPECT_EQ(NameFiltersOf(res::LoadString(res::IDS_SETTINGS_FILE_FILTER)),
              (QStringList{"InitializeFile(*.ini)", "text(*.txt)", "all(*.*)"}));
}

}  // namespace
