// The profile load and save go through the key table of AppSettings, so every setting travels
// both ways under one name. The settings file reader is a token reader: blanks only separate,
// a token of more than 1000 characters is cut into pieces, and only listed keys are taken.
#include "settings/settings_persistence.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <memory>

#include "model/date_time.h"
#include "model/text_list.h"
#include "platform/profile.h"
#include "settings/app_settings.h"

namespace {

std::wstring ElementKey(int index)
{
    std::wstring digits = std::to_wstring(index);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), L'0');
    }
    return L"Name" + digits;
}

void LoadList(AppSettings& settings, const Profile& profile, SettingsList list)
{
    const wchar_t* section = AppSettings::Section(list);
    const int stored = profile.GetInt(section, L"Count", 0);
    const int count =
        std::clamp(stored, 0, std::min(profile.ValueCount(section), AppSettings::kMaxListElements));
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += profile.GetString(section, ElementKey(i), L"") + FieldSeparator();
    }
    settings.SetList(list, text, count);
}

// Walks the text once, so saving a long list does not rescan it for every element.
void SaveList(const AppSettings& settings, Profile& profile, SettingsList list)
{
    const wchar_t* section = AppSettings::Section(list);
    const int count = settings.GetListCount(list);
    const std::wstring text = settings.GetListText(list);
    profile.WriteInt(section, L"Count", count);
    std::size_t begin = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t end =
            begin < text.size() ? text.find(FieldSeparator(), begin) : std::wstring::npos;
        const bool present = end != std::wstring::npos;
        profile.WriteString(section, ElementKey(i),
                            present ? text.substr(begin, end - begin) : std::wstring());
        begin = present ? end + 1 : text.size();
    }
}

template <typename Enum, typename Action> void ForEach(int count, Action action)
{
    for (int i = 0; i < count; ++i) {
        action(static_cast<Enum>(i));
    }
}

// What a section of the settings file feeds.
enum class FileSectionKind { List, Text, Environment, KeyEnvironment };

struct FileSection {
    const wchar_t* header;
    FileSectionKind kind;
    SettingsList list; // for kind List
    TextSetting text;  // for kind Text
};

constexpr std::array<FileSection, 11> kFileSections{{
    {L"AppCategory", FileSectionKind::List, SettingsList::CategoryInfo, {}},
    {L"AppPlace", FileSectionKind::List, SettingsList::PlaceInfo, {}},
    {L"AppSubject", FileSectionKind::List, SettingsList::SubjectInfo, {}},
    {L"SelMinute", FileSectionKind::List, SettingsList::SelMinuteInfo, {}},
    {L"SelAlartMinute", FileSectionKind::List, SettingsList::SelAlartMinuteInfo, {}},
    {L"Holiday", FileSectionKind::List, SettingsList::HolidayInfo, {}},
    {L"HolidayCategory", FileSectionKind::Text, {}, TextSetting::HolidayCategory},
    {L"MemorialCategory", FileSectionKind::Text, {}, TextSetting::MemorialCategory},
    {L"Envirorment", FileSectionKind::Environment, {}, {}},
    {L"TaskSubject", FileSectionKind::List, SettingsList::TaskSubjectInfo, {}},
    {L"KeyEnvirorment", FileSectionKind::KeyEnvironment, {}, {}},
}};

struct FileIntKey {
    FileSectionKind section;
    const wchar_t* key;
    IntSetting setting;
};

// The file's key for the pop-up switch is "Usepopup", unlike the profile's "UsePopup".
constexpr std::array<FileIntKey, 26> kFileIntKeys{{
    {FileSectionKind::Environment, L"DispTextLen", IntSetting::DispTextLen},
    {FileSectionKind::Environment, L"DispNoDue", IntSetting::DispNoDue},
    {FileSectionKind::Environment, L"CntFromToday", IntSetting::CntFromToday},
    {FileSectionKind::Environment, L"MainFontSize", IntSetting::MainFontSize},
    {FileSectionKind::Environment, L"DetailFontSize", IntSetting::DetailFontSize},
    {FileSectionKind::Environment, L"DispWeekCount", IntSetting::DispWeekCount},
    {FileSectionKind::Environment, L"StartDow", IntSetting::StartDow},
    {FileSectionKind::Environment, L"RestDow", IntSetting::RestDow},
    {FileSectionKind::Environment, L"ColorSunday", IntSetting::ColorSunday},
    {FileSectionKind::Environment, L"ColorMonday", IntSetting::ColorMonday},
    {FileSectionKind::Environment, L"ColorTuesday", IntSetting::ColorTuesday},
    {FileSectionKind::Environment, L"ColorWednesday", IntSetting::ColorWednesday},
    {FileSectionKind::Environment, L"ColorThursday", IntSetting::ColorThursday},
    {FileSectionKind::Environment, L"ColorFriday", IntSetting::ColorFriday},
    {FileSectionKind::Environment, L"ColorSaturday", IntSetting::ColorSaturday},
    {FileSectionKind::Environment, L"ColorHoliday", IntSetting::ColorHoliday},
    {FileSectionKind::Environment, L"ColorRestday", IntSetting::ColorRestday},
    {FileSectionKind::Environment, L"ColorMemorialday", IntSetting::ColorMemorialday},
    {FileSectionKind::Environment, L"ColorSelday", IntSetting::ColorSelday},
    {FileSectionKind::Environment, L"BrightReduceRate", IntSetting::BrightReduceRate},
    {FileSectionKind::Environment, L"Usepopup", IntSetting::UsePopup},
    {FileSectionKind::KeyEnvironment, L"KeyToToday", IntSetting::KeyToToday},
    {FileSectionKind::KeyEnvironment, L"KeyCalendarGantt", IntSetting::KeyCalendarGantt},
    {FileSectionKind::KeyEnvironment, L"KeyToTool", IntSetting::KeyToTool},
    {FileSectionKind::KeyEnvironment, L"KeyToMain", IntSetting::KeyToMain},
    {FileSectionKind::KeyEnvironment, L"KeyToDetail", IntSetting::KeyToDetail},
}};

struct FileTextKey {
    const wchar_t* key;
    TextSetting setting;
};

// Text keys are taken in [Envirorment] only.
constexpr std::array<FileTextKey, 6> kFileTextKeys{{
    {L"MainFontName", TextSetting::MainFontName},
    {L"DetailFontName", TextSetting::DetailFontName},
    {L"TaskDueChar", TextSetting::TaskDueChar},
    {L"TaskStartChar", TextSetting::TaskStartChar},
    {L"AppHideCharL", TextSetting::AppHideCharL},
    {L"AppHideCharR", TextSetting::AppHideCharR},
}};

constexpr std::size_t kMaxTokenLength = 1000;

// Length of the valid UTF-8 sequence at `at` with its code point, or 0 when it is not one.
std::size_t Utf8Sequence(const std::string& bytes, std::size_t at, char32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || at + length > bytes.size()) {
        return 0;
    }
    constexpr std::array<unsigned char, 5> kLeadMask{0, 0x7F, 0x1F, 0x0F, 0x07};
    codePoint = lead & kLeadMask[length];
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[at + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return (codePoint < kSmallest[length] || surrogate || codePoint > 0x10FFFF) ? 0 : length;
}

// UTF-8 where the bytes form it; any other byte stands for its Latin-1 character.
std::wstring DecodeText(const std::string& bytes)
{
    std::wstring text;
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(bytes, at, codePoint);
        text += length != 0 ? static_cast<wchar_t>(codePoint)
                            : static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]));
        at += length != 0 ? length : 1;
    }
    return text;
}

// Applies the tokens of a settings file to the settings, one at a time.
class SettingsFileReader {
public:
    explicit SettingsFileReader(AppSettings& settings) : settings_(settings) {}

    // The next byte of a run of non-blank bytes. The run is decoded as it grows and applied in
    // tokens of 1000 characters, so a file without blanks is read in bounded memory.
    void AddByte(char byte)
    {
        bytes_ += byte;
        if (bytes_.size() >= kDecodeChunkBytes) {
            Decode(CompleteSequencesEnd(bytes_));
            ApplyTokens(false);
        }
    }

    // The end of a run: its last, possibly shorter, token.
    void EndRun()
    {
        Decode(bytes_.size());
        ApplyTokens(true);
    }

    int SettingsRead() const { return settingsRead_; }

private:
    static constexpr std::size_t kDecodeChunkBytes = 4096;

    // Where the bytes can be cut without splitting a UTF-8 sequence: before the last byte that
    // is not a continuation byte, when a sequence starting there might still be incomplete.
    static std::size_t CompleteSequencesEnd(const std::string& bytes)
    {
        const std::size_t tail = std::min<std::size_t>(bytes.size(), 4);
        for (std::size_t at = bytes.size(); at > bytes.size() - tail; --at) {
            if ((static_cast<unsigned char>(bytes[at - 1]) & 0xC0) != 0x80) {
                return at - 1;
            }
        }
        return bytes.size();
    }

    void Decode(std::size_t byteCount)
    {
        chars_ += DecodeText(bytes_.substr(0, byteCount));
        bytes_.erase(0, byteCount);
    }

    void ApplyTokens(bool runEnded)
    {
        std::size_t at = 0;
        for (; chars_.size() - at >= kMaxTokenLength; at += kMaxTokenLength) {
            Apply(chars_.substr(at, kMaxTokenLength));
        }
        if (runEnded && at < chars_.size()) {
            Apply(chars_.substr(at));
            at = chars_.size();
        }
        chars_.erase(0, at);
    }

    void Apply(const std::wstring& token)
    {
        if (token.front() == L'[' && token.find(L']') == token.size() - 1) {
            EnterSection(token.substr(1, token.size() - 2));
            return;
        }
        if (current_ == nullptr) {
            return;
        }
        switch (current_->kind) {
        case FileSectionKind::List:
            settings_.AppendListItem(current_->list, token);
            break;
        case FileSectionKind::Text:
            settings_.Set(current_->text, token);
            break;
        case FileSectionKind::Environment:
        case FileSectionKind::KeyEnvironment:
            if (!ApplyKeyLine(token)) {
                return;
            }
            break;
        }
        ++settingsRead_;
    }

    // An unknown header leaves the section before it in force.
    void EnterSection(const std::wstring& name)
    {
        const auto* const found =
            std::find_if(kFileSections.begin(), kFileSections.end(),
                         [&](const FileSection& s) { return name == s.header; });
        if (found == kFileSections.end()) {
            return;
        }
        current_ = &*found;
        if (found->kind == FileSectionKind::List) {
            settings_.SetList(found->list, L"", 0);
        } else if (found->kind == FileSectionKind::Text) {
            settings_.Set(found->text, L"");
        }
    }

    // False when the line sets nothing.
    bool ApplyKeyLine(const std::wstring& line)
    {
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) {
            return false;
        }
        const std::wstring key = line.substr(0, equals);
        const std::wstring value = line.substr(equals + 1);
        for (const FileIntKey& entry : kFileIntKeys) {
            if (entry.section == current_->kind && key == entry.key) {
                settings_.Set(entry.setting, TextToInt(value));
                return true;
            }
        }
        if (current_->kind != FileSectionKind::Environment) {
            return false;
        }
        const auto* const entry = std::ranges::find_if(
            kFileTextKeys, [&key](const FileTextKey& e) { return key == e.key; });
        if (entry == kFileTextKeys.end()) {
            return false;
        }
        settings_.Set(entry->setting, value);
        return true;
    }

    AppSettings& settings_;
    const FileSection* current_ = nullptr;
    std::string bytes_;  // undecoded bytes of the current run
    std::wstring chars_; // decoded characters not yet applied
    int settingsRead_ = 0;
};

// Blanks, tabs, line ends and NUL bytes only separate tokens.
bool IsSeparatorByte(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' ||
           byte == '\f' || byte == '\0';
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

void LoadSettings(AppSettings& settings, const Profile& profile)
{
    settings.LoadDefaults();
    ForEach<SettingsList>(kSettingsListCount,
                          [&](SettingsList list) { LoadList(settings, profile, list); });
    ForEach<TextSetting>(kTextSettingCount, [&](TextSetting setting) {
        const AppSettings::TextInfo& info = AppSettings::Info(setting);
        settings.Set(setting,
                     profile.GetString(info.section, info.key, AppSettings::DefaultText(setting)));
    });
    ForEach<IntSetting>(kIntSettingCount, [&](IntSetting setting) {
        const AppSettings::IntInfo& info = AppSettings::Info(setting);
        settings.Set(setting, profile.GetInt(info.section, info.key, info.defaultValue));
    });
    // A newcomer sees whole subjects (cut at the bar's end); the handheld's five characters
    // stay the default of a profile that exists but lacks the value.
    if (profile.IsNew()) {
        settings.SetDispTextLen(0);
    }
}

bool SaveSettings(const AppSettings& settings, Profile& profile)
{
    ForEach<SettingsList>(kSettingsListCount,
                          [&](SettingsList list) { SaveList(settings, profile, list); });
    ForEach<TextSetting>(kTextSettingCount, [&](TextSetting setting) {
        const AppSettings::TextInfo& info = AppSettings::Info(setting);
        profile.WriteString(info.section, info.key, settings.Get(setting));
    });
    ForEach<IntSetting>(kIntSettingCount, [&](IntSetting setting) {
        const AppSettings::IntInfo& info = AppSettings::Info(setting);
        profile.WriteInt(info.section, info.key, settings.Get(setting));
    });
    return profile.Flush();
}

int ImportSettingsFile(AppSettings& settings, const std::string& path)
{
    return ReadSettingsFile(settings, path).complete ? 1 : 0;
}

SettingsFileRead ReadSettingsFile(AppSettings& settings, const std::string& path)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return {};
    }
    SettingsFileReader reader(settings);
    std::array<char, 65536> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) {
        for (std::size_t i = 0; i < got; ++i) {
            if (IsSeparatorByte(buffer[i])) {
                reader.EndRun();
            } else {
                reader.AddByte(buffer[i]);
            }
        }
    }
    reader.EndRun();
    return {std::ferror(file.get()) == 0, reader.SettingsRead()};
}
