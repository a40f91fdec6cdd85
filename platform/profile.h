// The application profile: sections of named integer and text values in an INI file, standing
// in for the handheld's per-user profile. Value and section names match without regard to case,
// as the handheld's profile does, so a value written as "KeyToToday" is found as "KeyToTOday".
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class QSettings;

class Profile {
public:
    // The profile at `iniPath`; the file and its folder are created at the first Flush. A path
    // that holds something other than a regular file (a FIFO, a device, a folder) or a file
    // larger than kMaxBytes is never read nor written: every value reads as its fallback and
    // Flush fails, and Unusable() says so.
    explicit Profile(const std::string& iniPath);

    // Far above any real profile (a few kilobytes, some hundred with long lists).
    static constexpr long long kMaxBytes = 16LL * 1024 * 1024;
    bool Unusable() const { return settings_ == nullptr; }
    // True when no file stood at the path when the profile was opened: the first start.
    bool IsNew() const { return isNew_; }
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    // The user's profile: <config>/Velloran/Tamberlo.ini.
    static std::string DefaultPath();

    // The stored value, or `fallback` when the value is absent or (for integers) not a number
    // within 32 bits.
    int GetInt(const std::wstring& section, const std::wstring& name, int fallback) const;
    std::wstring GetString(const std::wstring& section, const std::wstring& name,
                           const std::wstring& fallback) const;

    // How many values the section holds (0 when it is absent).
    int ValueCount(const std::wstring& section) const;

    // Replace the value, under whichever case variant of the name already exists.
    void WriteInt(const std::wstring& section, const std::wstring& name, int value);
    void WriteString(const std::wstring& section, const std::wstring& name,
                     const std::wstring& value);

    // Writes pending changes to the file; false when it cannot be written.
    bool Flush();

private:
    QString ExistingKey(const std::wstring& section, const std::wstring& name) const;
    QString KeyForWrite(const std::wstring& section, const std::wstring& name);
    void Remember(const QString& storedKey);

    std::unique_ptr<QSettings> settings_;
    bool isNew_ = false;
    // Stored spellings by folded name, built once from the file, so a lookup costs the same
    // however many values the profile holds (a list of thousands is read name by name).
    QHash<QString, QString> groups_;
    QHash<QString, QStringList> keys_; // "section/name" folded -> stored "Section/Name"s
    QHash<QString, int> valueCounts_;  // folded section -> values in it
};
