// A reminder's "Open": the running program is asked to show the reminder's day; when none runs
// it is started, and asked as soon as its name appears on the bus.
#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

#include "platform/systemtime.h"

class ProgramOpener : public QObject {
    Q_OBJECT
public:
    // A started program that has not appeared by then is not waited for any longer.
    static constexpr int kStartTimeoutMs = 30 * 1000;

    // `start` starts the program detached; false when it could not.
    ProgramOpener(QDBusConnection connection, std::function<bool()> start);

    void Open(const SYSTEMTIME& day);

private:
    void OnProgramAppeared();

    QDBusConnection connection_;
    std::function<bool()> start_;
    QDBusServiceWatcher watcher_;
    QTimer giveUp_;
    std::optional<SYSTEMTIME> pending_; // the day to show once the started program is up
};
