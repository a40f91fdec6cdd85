// The state file's JSON: {"lastCheck": DATE, "fired": {key: DATE}, "snoozed": [reminder...]}.
// Dates stay day-count doubles, which JSON carries exactly.
#include "tools/reminders/fired_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QJsonObject ReminderToJson(const Reminder& r)
{
    return {{"kind", r.kind},
            {"oid", r.oid},
            {"fireAt", r.fireAt},
            {"start", r.start},
            {"end", r.end},
            {"allDay", r.allDay},
            {"subject", QString::fromStdWString(r.subject)},
            {"location", QString::fromStdWString(r.location)},
            {"options", r.options},
            {"soundFile", QString::fromStdWString(r.soundFile)}};
}

Reminder ReminderFromJson(const QJsonObject& o)
{
    Reminder r;
    r.kind = o["kind"].toInt();
    r.oid = o["oid"].toInt();
    r.fireAt = o["fireAt"].toDouble();
    r.start = o["start"].toDouble();
    r.end = o["end"].toDouble();
    r.allDay = o["allDay"].toBool();
    r.subject = o["subject"].toString().toStdWString();
    r.location = o["location"].toString().toStdWString();
    r.options = o["options"].toInt();
    r.soundFile = o["soundFile"].toString().toStdWString();
    return r;
}

} // namespace

bool FiredState::Load()
{
    lastCheck_ = 0.0;
    fired_.clear();
    snoozed_.clear();
    QFile file(path_);
    if (!file.exists()) {
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject()) {
        return false;
    }
    const QJsonObject root = document.object();
    lastCheck_ = root["lastCheck"].toDouble();
    const QJsonObject fired = root["fired"].toObject();
    for (auto it = fired.begin(); it != fired.end(); ++it) {
        fired_[it.key().toStdWString()] = it.value().toDouble();
    }
    for (const auto& value : root["snoozed"].toArray()) {
        const QJsonObject o = value.toObject();
        snoozed_.push_back({ReminderFromJson(o["reminder"].toObject()), o["until"].toDouble()});
    }
    return true;
}

bool FiredState::Save() const
{
    QJsonObject fired;
    for (const auto& [key, at] : fired_) {
        fired.insert(QString::fromStdWString(key), at);
    }
    QJsonArray snoozed;
    for (const Snooze& s : snoozed_) {
        snoozed.append(QJsonObject{{"reminder", ReminderToJson(s.reminder)}, {"until", s.until}});
    }
    const QJsonObject root{{"lastCheck", lastCheck_}, {"fired", fired}, {"snoozed", snoozed}};
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    return file.open(QIODevice::WriteOnly) &&
           file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) >= 0 && file.commit();
}

void FiredState::ForgetBefore(DATE before)
{
    std::erase_if(fired_, [before](const auto& entry) { return entry.second < before; });
}
