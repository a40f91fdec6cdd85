// Seeded mutations of a profile and of a settings file: whatever the bytes, the readers finish,
// lists stay within their maximum, and what a load gives survives a save and a second load.
#include <random>

#include "tests/settings/settings_files.h"

namespace {
const char kProfile[] =
    "[PlaceInfo]\nCount=3\nName000=Office\nName001=Home\nName002=\"a,b\"\n"
    "[HolidayInfo]\nHolidayCategory=Rest\nCount=1\nName000=\"Harbour Day,5,11,03,00\"\n"
    "[Envirorment]\nCntFromToday=3\nOneHourPixel=36\nMainFontName=system\nColorSunday=255\n"
    "[KeyEnvirorment]\nKeyToTOday=49\n[CategoryCtr]\nType=1\nTarget=Home\n";

const char kSettingsFile[] =
    "[Envirorment]\nColorSunday=16763135 BrightReduceRate=80 TaskDueChar=^ Usepopup=0\n"
    "[AppPlace]\nOffice Home\n[Holiday]\nHarbour,5,11,03,00\n[HolidayCategory]\nRest\n"
    "[KeyEnvirorment]\nKeyToToday=50\n[TaskSubject]\nCall\n";

// Pieces that reach the readers' edges: headers, separators, numbers past 32 bits.
const char* const kPieces[] = {"[",     "]",        "=",           "\n",
                               "\\x1f", "Count=",   "[PlaceInfo]", "Count=99999999999",
                               "\xC3",  "\xE6\xB8", "\0"};

std::string Mutated(const std::string& base, std::mt19937& random)
{
    std::string text = base;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits; ++e) {
        const size_t at = text.empty() ? 0 : random() % (text.size() + 1);
        const unsigned kind = random() % 4;
        if (kind == 0 && at < text.size()) {
            text[at] = static_cast<char>(random());
        } else if (kind == 1) {
            text.insert(at, kPieces[random() % std::size(kPieces)]);
        } else if (kind == 2) {
            text.erase(at, random() % 16);
        } else if (kind == 3) {
            text.insert(at, std::string(random() % 3000, static_cast<char>('a' + random() % 26)));
        }
    }
    return text;
}

void ExpectListsWithinTheMaximum(const AppSettings& s)
{
    for (int i = 0; i < kSettingsListCount; ++i) {
        const auto list = static_cast<SettingsList>(i);
        EXPECT_GE(s.GetListCount(list), 0);
        EXPECT_LE(s.GetListCount(list), AppSettings::kMaxListElements);
    }
}

// Each case mutates both texts: the profile must load and survive a save (a file written with a
// disk sync, hence few cases), the settings file must be read to its end.
TEST(SettingsFuzz, MutatedProfilesAndSettingsFilesLoadWithinBounds)
{
    std::mt19937 random(20261207);
    TempPaths paths;
    for (int n = 0; n < 200; ++n) {
        SCOPED_TRACE(n);
        QFile::remove(QString::fromStdString(paths.File("saved.ini")));
        const std::string profile = Mutated(kProfile, random);
        const std::string file = Mutated(kSettingsFile, random);
        paths.Write("Tamberlo.ini", QByteArray::fromStdString(profile));
        AppSettings s;
        LoadSettings(s, Profile(paths.ProfilePath()));
        ExpectListsWithinTheMaximum(s);
        ExpectSaveAndLoadKeep(s, paths.File("saved.ini"));
        AppSettings imported;
        const std::string written = paths.Write("settings.txt", QByteArray::fromStdString(file));
        EXPECT_EQ(ImportSettingsFile(imported, written), 1);
        ExpectListsWithinTheMaximum(imported);
        if (HasFailure()) {
            ADD_FAILURE() << "profile:\n" << profile << "\nfile:\n" << file;
            return;
        }
    }
}
} // namespace
