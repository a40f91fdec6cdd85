// The Notify call and its hints: sound-file or sound-name for the sound, suppress-sound when the
// reminder wants silence, and urgency with no expiry for one that must stay until dismissed.
#include "platform/dbus_notifier.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

namespace {

const char* const kService = "org.freedesktop.Notifications";
const char* const kPath = "/org/freedesktop/Notifications";
const char* const kInterface = "org.freedesktop.Notifications";
constexpr int kCallTimeoutMs = 3000;
constexpr int kServerDefaultExpiry = -1;
constexpr int kNeverExpires = 0;
constexpr uchar kCriticalUrgency = 2;

QVariantMap HintsOf(const Notification& n)
{
    QVariantMap hints;
    if (!n.sound) {
        hints.insert(QStringLiteral("suppress-sound"), true);
    } else if (n.soundFile.empty()) {
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    } else {
        hints.insert(QStringLiteral("sound-file"), QString::fromStdWString(n.soundFile));
    }
    if (n.transient) {
        hints.insert(QStringLiteral("transient"), true);
    }
    if (n.persistent) {
        hints.insert(QStringLiteral("urgency"), QVariant::fromValue(kCriticalUrgency));
    }
    return hints;
}

} // namespace

DBusNotifier::DBusNotifier(QDBusConnection connection, QString appName, QString appIcon)
    : connection_(std::move(connection)), appName_(std::move(appName)), appIcon_(std::move(appIcon))
{
    connection_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                        SLOT(OnActionInvoked(uint, QString)));
}

uint32_t DBusNotifier::Notify(const Notification& n)
{
    if (!connection_.isConnected()) {
        return 0;
    }
    QStringList actions;
    for (const auto& [key, label] : n.actions) {
        actions << QString::fromStdString(key) << QString::fromStdWString(label);
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << appName_ << 0U << appIcon_ << QString::fromStdWString(n.summary)
         << QString::fromStdWString(n.body) << actions << HintsOf(n)
         << (n.persistent ? kNeverExpires : kServerDefaultExpiry);
    const QDBusReply<uint> reply = connection_.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid()) {
        return 0;
    }
    shown_.insert(reply.value());
    return reply.value();
}

void DBusNotifier::OnActionInvoked(uint id, const QString& action)
{
    if (shown_.erase(id) == 0) {
        return;
    }
    ActionInvoked(id, action.toStdString());
    QDBusMessage close = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                        QStringLiteral("CloseNotification"));
    close << id;
    connection_.call(close, QDBus::NoBlock);
}
