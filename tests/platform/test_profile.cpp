// The profile on an INI file: exact round trips, any-case names, hand-edited and unusable files.
#include "platform/profile.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/temp_paths.h"

TEST(Profile, RoundTripsHandEditedBrokenAndUnusableFiles)
{
    // Hex digits right after an escaped control character, quoting and escape look-alikes.
    const std::wstring unit = L"\x1F"; // the unit separator, a control character
    const std::wstring texts[] = {L"",
                                  L"Office" + unit + L"Home" + unit,
                                  unit + L"abc" + unit + L"09",
                                  L"line one\nline two\r\n\ttabbed",
                                  L"a,b;c=d \"quoted\" \\back\\slash",
                                  L"@Variant(x) @@ #hash [section]",
                                  L"\x6E2F\x306E\x65E5 \x0416 \x00E9\x00E8 \x1F600"};
    TempPaths paths;
    {
        Profile profile(paths.ProfilePath());
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            profile.WriteString(L"Texts", L"Name" + std::to_wstring(i), texts[i]);
        }
        profile.WriteInt(L"Numbers", L"Low", INT32_MIN);
        profile.WriteInt(L"Numbers", L"High", INT32_MAX);
        ASSERT_TRUE(profile.Flush());
    }
    Profile reread(paths.ProfilePath());
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(reread.GetString(L"Texts", L"Name" + std::to_wstring(i), L"absent"), texts[i]);
    }
    EXPECT_EQ(reread.GetInt(L"Numbers", L"Low", 0), INT32_MIN);
    EXPECT_EQ(reread.GetInt(L"Numbers", L"High", 0), INT32_MAX);
    EXPECT_EQ(reread.GetString(L"Nowhere", L"Missing", L"fallback"), L"fallback");
    EXPECT_EQ(reread.ValueCount(L"Texts"), static_cast<int>(std::size(texts)));
    TempPaths edited;
    edited.Write("Tamberlo.ini", "[keyenvirorment]\nKeyToTOday=49\nKeyToMain= 50 \n"
                                 "KeyToTool=abc\nKeyToDetail=99999999999\n"
                                 "[CategoryCtr]\nTarget=Home,Work\n");
    Profile edit(edited.ProfilePath());
    EXPECT_EQ(edit.GetInt(L"KeyEnvirorment", L"KeyToToday", 0), 49);
    EXPECT_EQ(edit.GetInt(L"KeyEnvirorment", L"KeyToMain", 0), 50);
    EXPECT_EQ(edit.GetInt(L"KeyEnvirorment", L"KeyToTool", 7), 7);   // not a number
    EXPECT_EQ(edit.GetInt(L"KeyEnvirorment", L"KeyToDetail", 7), 7); // beyond 32 bits
    Profile garbage(edited.Write("garbage.ini", QByteArray("\x00\xff\xfe[[=\x01\n=\n[", 12)));
    EXPECT_EQ(garbage.GetInt(L"Envirorment", L"OneHourPixel", 36), 36);
    EXPECT_TRUE(Profile::DefaultPath().ends_with("/Velloran/Tamberlo.ini"));

    // A FIFO would block the start, a huge file cost seconds: neither is read nor written.
    const std::string fifo = edited.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = edited.Write("huge.ini", "[Envirorment]\nDispTextLen=7\n");
    ASSERT_EQ(::truncate(huge.c_str(), Profile::kMaxBytes + 1), 0);
    const std::string sane = edited.Write("sane.ini", "[Envirorment]\nDispTextLen=7\n");
    for (const std::string& path : {fifo, huge, edited.File("")}) {
        Profile unusable(path);
        EXPECT_TRUE(unusable.Unusable()) << path;
        EXPECT_EQ(unusable.GetInt(L"Envirorment", L"DispTextLen", 3), 3);
        unusable.WriteInt(L"Envirorment", L"DispTextLen", 9);
        EXPECT_FALSE(unusable.Flush());
    }
    EXPECT_EQ(QFile(QString::fromStdString(huge)).size(), Profile::kMaxBytes + 1);
    EXPECT_FALSE(Profile(sane).Unusable());
    EXPECT_EQ(Profile(sane).GetInt(L"Envirorment", L"DispTextLen", 3), 7);
    EXPECT_FALSE(Profile(edited.File("absent.ini")).Unusable());
}
