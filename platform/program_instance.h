// The running program on the session bus: it owns a well-known name and answers ShowDay, so a
// reminder's "Open" brings the window up on that day instead of starting a second copy.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

#include "platform/systemtime.h"

class ProgramInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.velloran.Tamberlo")
public:
    static const char* const kBusName;
    static const char* const kObjectPath;

    // `showDay` brings the program's window up on the day asked for.
    explicit ProgramInstance(std::function<void(const SYSTEMTIME&)> showDay);

    // Publishes this object and takes the name; false when another copy holds it or there is
    // no bus.
    bool Claim(QDBusConnection connection);

    // Asks the copy that holds the name to show `day`; false when no copy holds it.
    static bool AskToShow(QDBusConnection connection, const SYSTEMTIME& day);

public slots:
    // "yyyy-MM-dd"; anything else, or a day outside the years the program shows, is ignored.
    Q_SCRIPTABLE void ShowDay(const QString& day);

private:
    std::function<void(const SYSTEMTIME&)> showDay_;
};
