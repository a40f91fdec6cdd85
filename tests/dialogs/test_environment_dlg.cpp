// Settings files read in the environment dialog stay after Cancel; other files change nothing.
#include <QFile>
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
    std::string Choose(QWidget* /*parent*/) override
    {
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class EnvironmentDlgTest : public DialogTest {
protected:
    TempPaths paths;
    ScriptedFileChooser files;
};

TEST_F(EnvironmentDlgTest, ReadSettingsStayAfterCancelAndAreNotUndoneByOk)
{
    const std::string file =
        paths.Write("settings.ini", "[Envirorment]\nColorSunday=255\nUsepopup=0\nDispWeekCount=2\n"
                                    "CntFromToday=7\nDispNoDue=1\n");
    files.answers = {file, file};
    dialogs.Queue([](QDialog& dialog) {
        Click(dialog, 1065);
        return static_cast<int>(DialogRejected);
    });
    EXPECT_FALSE(RunEnvironmentDialog(context, files));
    EXPECT_EQ(settings.GetColorSunday(), 255U);
    settings.LoadDefaults();
    dialogs.Queue(AcceptAfter([](QDialog& dialog) { Click(dialog, 1065); }));
    EXPECT_TRUE(RunEnvironmentDialog(context, files));
    EXPECT_EQ(Changed(settings),
              "DispNoDue=1 CntFromToday=7 DispWeekCount=2 ColorSunday=255 UsePopup=0");
}

// Every import says in one line what it did; a file of 5 MB is read like any other.
TEST_F(EnvironmentDlgTest, FilesThatAreNoSettingsFilesChangeNothingAndSaySo)
{
    const std::string huge = paths.Write("huge.ini", "[AppPlace]\nHome\nHarbour\n");
    ASSERT_TRUE(QFile::resize(QString::fromStdString(huge), qint64{5} * 1024 * 1024));
    {
        CEnvironmentDlg dialog(settings, messages, dialogs, files);
        files.answers = {huge};
        Click(dialog, 1065);
    }
    EXPECT_EQ(Changed(settings), "PlaceInfo=Home|Harbour|");
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text,
              L"2 settings were read from " + QString::fromStdString(huge).toStdWString() + L".");
    settings.LoadDefaults();
    const std::string pipe = paths.File("pipe.ini");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string missing = paths.File("missing.ini");
    files.answers = {pipe, missing, paths.File(""),
                     paths.Write("binary.dat", QByteArray("\0\x01\xfe\xff", 4).repeated(1024)),
                     paths.Write("empty.ini", "")};
    CEnvironmentDlg dialog(settings, messages, dialogs, files);
    for (int i = 0; i < 5; ++i) {
        Click(dialog, 1065);
    }
    EXPECT_TRUE(files.answers.empty());
    EXPECT_EQ(Changed(settings), "");
    const std::vector<std::wstring> warned = Warnings(1);
    ASSERT_EQ(warned.size(), 5U);
    EXPECT_EQ(warned[1], L"No settings could be read from " +
                             QString::fromStdString(missing).toStdWString() + L".");
}

TEST(SettingsFileChooser, FilterTextGivesOneNameFilterPerName)
{
    EXPECT_EQ(NameFiltersOf(res::LoadString(res::IDS_SETTINGS_FILE_FILTER)),
              (QStringList{"InitializeFile(*.ini)", "text(*.txt)", "all(*.*)"}));
}
} // namespace
