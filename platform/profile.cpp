// The profile on QSettings in INI form. QSettings matches names exactly on this platform, so
// every lookup first finds the stored spelling of the section and value name, ignoring case.
#include "platform/profile.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString ToQt(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

// The entry of `names` equal to `wanted` without regard to case, preferring the exact spelling.
QString MatchIgnoringCase(const QStringList& names, const QString& wanted)
{
    if (names.contains(wanted)) {
        return wanted;
    }
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return name;
        }
    }
    return {};
}

}  // namespace

Profile::Profile(const std::string& iniPath)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat))
{
}

Profile::~Profile() = default;

std::string Profile::DefaultPath()
{
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/Velloran/Tamberlo.ini")
        .toStdString();
}

QString Profile::ExistingKey(const std::wstring& section, const std::wstring& name) const
{
    const QString group = MatchIgnoringCase(settings_->childGroups(), ToQt(section));
    if (group.isEmpty()) {
        return {};
    }
    settings_->beginGroup(group);
    const QString key = MatchIgnoringCase(settings_->childKeys(), ToQt(name));
    settings_->endGroup();
    return key.isEmpty() ? QString() : group + '/' + key;
}

// The key to write `name` under: the section's stored spelling, with every case variant of the
// name removed first so that no stale duplicate is left for a reader to find.
QString Profile::KeyForWrite(const std::wstring& section, const std::wstring& name)
{
    QString group = MatchIgnoringCase(settings_->childGroups(), ToQt(section));
    if (group.isEmpty()) {
        group = ToQt(section);
    }
    settings_->beginGroup(group);
    for (const QString& key : settings_->childKeys()) {
        if (key.compare(ToQt(name), Qt::CaseInsensitive) == 0) {
            settings_->remove(key);
        }
    }
    settings_->endGroup();
    return group + '/' + ToQt(name);
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
    const QString group = MatchIgnoringCase(settings_->childGroups(), ToQt(section));
    if (group.isEmpty()) {
        return 0;
    }
    settings_->beginGroup(group);
    const auto count = static_cast<int>(settings_->childKeys().size());
    settings_->endGroup();
    return count;
}

void Profile::WriteInt(const std::wstring& section, const std::wstring& name, int value)
{
    settings_->setValue(KeyForWrite(section, name), value);
}

void Profile::WriteString(const std::wstring& section, const std::wstring& name,
                          const std::wstring& value)
{
    settings_->setValue(KeyForWrite(section, name), ToQt(value));
}

bool Profile::Flush()
{
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}
