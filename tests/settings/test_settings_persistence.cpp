// Settings through the profile and back, and the settings file reader with good and bad files.
#include "tests/settings/settings_files.h"

namespace {
// A first start gets the defaults with whole subjects, and keeps that; a profile that exists
// without the value keeps the five characters.
TEST(SettingsPersistence, EmptyProfileGivesDefaults)
{
    TempPaths paths;
    Profile profile(paths.ProfilePath());
    AppSettings loaded;
    loaded.SetOneHourPixel(0);
    loaded.SetList(SettingsList::PlaceInfo, Elements({L"stale"}), 1);
    LoadSettings(loaded, profile);
    EXPECT_EQ(loaded.GetOneHourPixel(), AppSettings().GetOneHourPixel());
    EXPECT_EQ(loaded.GetDispTextLen(), 0);
    EXPECT_EQ(loaded.GetListCount(SettingsList::PlaceInfo), 0);
    ASSERT_TRUE(SaveSettings(loaded, profile));
    AppSettings again;
    LoadSettings(again, Profile(paths.ProfilePath()));
    EXPECT_EQ(again.GetDispTextLen(), 0);
    AppSettings older;
    LoadSettings(older, Profile(paths.Write("older.ini", "[Envirorment]\nOneHourPixel=40\n")));
    EXPECT_EQ(older.GetDispTextLen(), 5);
}

TEST(SettingsPersistence, EveryKeyRoundTrips)
{
    AppSettings saved;
    for (int i = 0; i < kIntSettingCount; ++i) {
        saved.Set(IntSetting(i), -1000 - i);
    }
    for (int i = 0; i < kTextSettingCount; ++i) {
        saved.Set(TextSetting(i), L"t\x00E9xt \x6E2F\n" + std::to_wstring(i));
    }
    for (int i = 0; i < kSettingsListCount; ++i) {
        saved.SetList(SettingsList(i),
                      Elements({L"one", L"", L"Head Office", L"x" + std::to_wstring(i)}), 4);
    }
    TempPaths paths;
    ExpectSaveAndLoadKeep(saved, paths.ProfilePath());
}

TEST(SettingsPersistence, ShrunkListsAndKeyNames)
{
    TempPaths paths;
    AppSettings s;
    s.SetList(SettingsList::SubjectInfo, Elements({L"a", L"b", L"c", L"d", L"e"}), 5);
    s.SetKeyToToday(0x39);
    {
        Profile profile(paths.ProfilePath());
        ASSERT_TRUE(SaveSettings(s, profile));
        s.SetList(SettingsList::SubjectInfo, Elements({L"x", L"y"}), 2);
        ASSERT_TRUE(SaveSettings(s, profile));
    }
    Profile profile(paths.ProfilePath());
    EXPECT_EQ(profile.GetInt(L"KeyEnvirorment", L"KeyToTOday", 0), 0x39);
    AppSettings loaded;
    LoadSettings(loaded, profile);
    EXPECT_EQ(loaded.GetListText(SettingsList::SubjectInfo), Elements({L"x", L"y"}));
    // A hand-written profile: the other spelling, and a count no profile could back up.
    const std::string path =
        paths.Write("hand.ini", "[KeyEnvirorment]\nKeyToTOday=56\n"
                                "[PlaceInfo]\nCount=2000000000\nName000=Dock\n");
    AppSettings hand;
    LoadSettings(hand, Profile(path));
    EXPECT_EQ(hand.GetKeyToToday(), 56);
    EXPECT_EQ(hand.GetListItem(SettingsList::PlaceInfo, 0), L"Dock");
    EXPECT_LE(hand.GetListCount(SettingsList::PlaceInfo), 2);
}

TEST(SettingsFile, SectionsKeysAndTokens)
{
    TempPaths paths;
    AppSettings s;
    s.SetList(SettingsList::SubjectInfo, Elements({L"kept"}), 1);
    const std::string path = paths.Write(
        "settings.txt",
        "Ignored=1 [Unknown] orphan\n"
        "[Envirorment]\nColorSunday=16763135 BrightReduceRate=80\tUsePopup=5\n"
        "Usepopup=0 DispWeekCount=7x MainFontSize=abc ColorMonday=0xFFC8FF OneHourPixel=0\n"
        "TaskDueChar=** NoEquals KeyToToday=50 CntFromToday=-2 DispTextLen=99999999999\n"
        "[AppPlace]\r\nHead Office\r\n[Bogus]\r\nStill\r\n"
        // UTF-8 where it is valid, each other byte as Latin-1, surrogates included.
        "Caf\xC3\xA9 \xE6\xB8\xAF Caf\xE9 \xC3 \xF0\x9F\x98\x80 \xED\xA0\x80\n"
        "[Holiday]\nHarbour Day,5,11,03,00\n"
        "[KeyEnvirorment]\nKeyToToday=50 keytotool=1 TaskDueChar=!!\n"
        "[HolidayCategory]\nFirst Last\n[MemorialCategory]\n");
    // Counted: the lines that set something (9 keys, 9 places, 2 rules, 1 key, 2 categories).
    const SettingsFileRead read = ReadSettingsFile(s, path);
    EXPECT_EQ(std::pair(read.complete, read.settingsRead), std::pair(true, 23));
    // OneHourPixel is not settable from a file; the last of two spellings wins.
    EXPECT_EQ(std::tuple(s.GetColorSunday(), s.GetBrightReduceRate(), s.GetUsePopup(),
                         s.GetDispWeekCount(), s.GetMainFontSize(), s.GetColorMonday(),
                         s.GetOneHourPixel(), s.GetCntFromToday(), s.GetDispTextLen(),
                         s.GetKeyToToday(), s.GetKeyToTool(), s.GetTaskDueChar()),
              std::tuple(16763135U, 80, 0, 7, 0, 0U, 36, -2, INT32_MAX, 50, 0x31, L"**"));
    EXPECT_EQ(s.GetListText(SettingsList::PlaceInfo),
              Elements({L"Head", L"Office", L"Still", L"Caf\x00E9", L"\x6E2F", L"Caf\x00E9",
                        L"\x00C3", L"\x1F600", L"\x00ED\x00A0\x0080"}));
    EXPECT_EQ(s.GetListCount(SettingsList::PlaceInfo), 9);
    EXPECT_EQ(s.GetListText(SettingsList::HolidayInfo), Elements({L"Harbour", L"Day,5,11,03,00"}));
    EXPECT_EQ(s.GetListText(SettingsList::SubjectInfo), Elements({L"kept"}));
    EXPECT_EQ(s.GetHolidayCategory(), L"Last");
    EXPECT_EQ(s.GetMemorialCategory(), L"");
}

TEST(SettingsFile, BadFilesNeverBreakTheReader)
{
    TempPaths paths;
    AppSettings s;
    EXPECT_EQ(ImportSettingsFile(s, paths.File("missing.txt")), 0);
    EXPECT_EQ(ImportSettingsFile(s, paths.File("")), 0);               // the folder itself
    EXPECT_EQ(ImportSettingsFile(s, paths.Write("empty.txt", "")), 1); // bytes at random: the fuzz
    s.LoadDefaults();
    const QByteArray longLine =
        "[AppCategory]\n" + QByteArray(100000, 'a') + "\n" + QByteArray(1500, 'b');
    EXPECT_EQ(ImportSettingsFile(s, paths.Write("long.txt", longLine)), 1);
    // Tokens of at most 1000 characters: 100 of the long line, then 1000 + 500 of the last.
    ASSERT_EQ(s.GetListCount(SettingsList::CategoryInfo), 102);
    EXPECT_EQ(s.GetListItem(SettingsList::CategoryInfo, 99), std::wstring(1000, L'a'));
    EXPECT_EQ(s.GetListItem(SettingsList::CategoryInfo, 100), std::wstring(1000, L'b'));
    EXPECT_EQ(s.GetListItem(SettingsList::CategoryInfo, 101), std::wstring(500, L'b'));
    // A run read in pieces is cut as a whole: a two-byte character straddles every piece.
    const QByteArray accented = "[AppPlace]\nx" + QByteArray("\xC3\xA9").repeated(2500);
    EXPECT_EQ(ImportSettingsFile(s, paths.Write("accented.txt", accented)), 1);
    EXPECT_EQ(s.GetListText(SettingsList::PlaceInfo),
              L"x" + std::wstring(999, L'\x00E9') + L'\x1F' + std::wstring(1000, L'\x00E9') +
                  L'\x1F' + std::wstring(501, L'\x00E9') + L'\x1F');
}

TEST(SettingsFile, LongListsAreCutToTheMaximum)
{
    TempPaths paths;
    const int elements = AppSettings::kMaxListElements + 500;
    QByteArray file = "[AppSubject]\n";
    {
        Profile profile(paths.ProfilePath());
        profile.WriteInt(L"PlaceInfo", L"Count", elements);
        for (int i = 0; i < elements; ++i) {
            file += "s" + QByteArray::number(i) + "\n";
            profile.WriteString(L"PlaceInfo",
                                QString("Name%1").arg(i, 3, 10, QChar('0')).toStdWString(),
                                std::to_wstring(i));
        }
        ASSERT_TRUE(profile.Flush());
    }
    AppSettings s;
    LoadSettings(s, Profile(paths.ProfilePath()));
    ASSERT_EQ(ImportSettingsFile(s, paths.Write("long.txt", file)), 1);
    for (const SettingsList list : {SettingsList::PlaceInfo, SettingsList::SubjectInfo}) {
        const int last = AppSettings::kMaxListElements - 1;
        ASSERT_EQ(s.GetListCount(list), AppSettings::kMaxListElements);
        EXPECT_EQ(s.GetListItem(list, last),
                  (list == SettingsList::SubjectInfo ? L"s" : L"") + std::to_wstring(last));
    }
}
} // namespace
