// The running program on the session bus: it owns a well-known name and answers ShowDay, so a
// reminder's "Open" brings the window up on that day instead of starting a second copy, and
// Open, so a second start of the program hands its command line over and ends.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

#include "platform/systemtime.h"

class ProgramInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.velloran.Tamberlo")
public:
    static const char* const kBusName;
    static const char* const kObjectPath;

    // `showDay` brings the program's window up on the day asked for; `open` takes another
    // start's command line (its files with absolute paths).
    explicit ProgramInstance(std::function<void(const SYSTEMTIME&)> showDay,
                             std::function<void(const QStringList&)> open = {});

    // Publishes this object and takes the name; false when another copy holds it or there is
    // no bus.
    bool Claim(QDBusConnection connection);

    // Asks the copy that holds the name to show `day`; false when no copy holds it.
    static bool AskToShow(const QDBusConnection& connection, const SYSTEMTIME& day);
    // Hands a command line to the copy that holds the name and waits until it took it; false
    // when no copy holds the name or it did not answer.
    static bool HandOver(const QDBusConnection& connection, const QStringList& arguments);

public slots:
    // "yyyy-MM-dd"; anything else, or a day outside the years the program shows, is ignored.
    Q_SCRIPTABLE void ShowDay(const QString& day);
    // Answered at once; the arguments are acted on afterwards, so the caller never waits on
    // the questions an import asks.
    Q_SCRIPTABLE void Open(const QStringList& arguments);

private:
    static QDBusMessage Call(const char* method);

    std::function<void(const SYSTEMTIME&)> showDay_;
    std::function<void(const QStringList&)> open_;
};
