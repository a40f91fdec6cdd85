// The profile on QSettings in INI form. QSettings matches names exactly on this platform, so
// every lookup first finds the stored spelling of the section and value name, ignoring case.
#include "platform/profile.h"

#include <QSettings>
#include <QStandardPaths>
#include <sys/stat.h>

#include <cerrno>

namespace {

QString ToQt(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

QString Folded(const QString& text)
{
    return text.toCaseFolded();
}

QString FoldedKey(const QString& section, const QString& name)
{
    return Folded(section) + '/' + Folded(name);
}

// Looked at without opening it: opening a FIFO blocks until a writer comes.
bool UsableProfilePath(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno == ENOENT; // created at the first Flush
    }
    return S_ISREG(st.st_mode) && st.st_size <= Profile::kMaxBytes;
}

} // namespace

Profile::Profile(const std::string& iniPath)
{
    struct stat st {};
    isNew_ = ::stat(iniPath.c_str(), &st) != 0 && errno == ENOENT;
    if (!UsableProfilePath(iniPath)) {
        return;
    }
    settings_ = std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat);
    for (const QString& key : settings_->allKeys()) {
        Remember(key);
    }
}

Profile::~Profile() = default;

std::string Profile::DefaultPath()
{
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/Velloran/Tamberlo.ini")
        .toStdString();
}

// Values outside any section are not the program's and are not indexed.
void Profile::Remember(const QString& storedKey)
{
    const qsizetype slash = storedKey.indexOf('/');
    if (slash <= 0) {
        return;
    }
    const QString group = storedKey.left(slash);
    groups_.insert(Folded(group), group); // with case variants of a section, one is kept
    keys_[FoldedKey(group, storedKey.mid(slash + 1))].append(storedKey);
    ++valueCounts_[Folded(group)];
}

// The stored key of `name` in `section`, preferring the exact spelling.
QString Profile::ExistingKey(const std::wstring& section, const std::wstring& name) const
{
    const QStringList spellings = keys_.value(FoldedKey(ToQt(section), ToQt(name)));
    const QString exact = ToQt(section) + '/' + ToQt(name);
    return spellings.contains(exact) ? exact : spellings.value(0);
}

// The key to write `name` under: the section's stored spelling, with every case variant of the
// name removed first so that no stale duplicate is left for a reader to find.
QString Profile::KeyForWrite(const std::wstring& section, const std::wstring& name)
{
    const QString folded = FoldedKey(ToQt(section), ToQt(name));
    const QStringList stale = keys_.take(folded);
    for (const QString& key : stale) {
        settings_->remove(key);
    }
    valueCounts_[Folded(ToQt(section))] -= static_cast<int>(stale.size());
    QString key = groups_.value(Folded(ToQt(section)), ToQt(section)) + '/' + ToQt(name);
    Remember(key);
    return key;
}

int Profile::GetInt(const std::wstring& section, const std::wstring& name, int fallback) const
{
    const QString key = ExistingKey(section, name);
    if (key.isEmpty()) {
        return fallback;
    }
    bool isNumber = false;
    const int value = settings_->value(key).toString().trimmed().toInt(&isNumber);
    return isNumber ? value : fallback;
}

std::wstring Profile::GetString(const std::wstring& section, const std::wstring& name,
                                const std::wstring& fallback) const
{
    const QString key = ExistingKey(section, name);
    if (key.isEmpty()) {
        return fallback;
    }
    // An unquoted comma in a hand-edited file makes QSettings hand back a list.
    const QVariant value = settings_->value(key);
    if (value.userType() == QMetaType::QStringList) {
        return value.toStringList().join(',').toStdWString();
    }
    return value.toString().toStdWString();
}

int Profile::ValueCount(const std::wstring& section) const
{
    return valueCounts_.value(Folded(ToQt(section)), 0);
}

void Profile::WriteInt(const std::wstring& section, const std::wstring& name, int value)
{
    if (Unusable()) {
        return;
    }
    settings_->setValue(KeyForWrite(section, name), value);
}

void Profile::WriteString(const std::wstring& section, const std::wstring& name,
                          const std::wstring& value)
{
    if (Unusable()) {
        return;
    }
    settings_->setValue(KeyForWrite(section, name), ToQt(value));
}

bool Profile::Flush()
{
    if (Unusable()) {
        return false;
    }
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}
