// Account passwords in the desktop's secret store (Secret Service through QtKeychain), never in
// the profile or the calendar store. Each call waits for its answer, a bounded time at most, so
// a missing or hung keyring daemon costs seconds, not the program.
#pragma once

#include <QString>

namespace platform {

class SecretStore {
public:
    enum class Outcome { Done, NotFound, Unavailable, Failed };

    struct Answer {
        Outcome outcome = Outcome::Failed;
        QString secret;  // the password read, for Done
        QString reason;  // the keyring's own words when it failed
    };

    // Entries live under `service` (the program's name); tests pass a service of their own.
    explicit SecretStore(QString service = QStringLiteral("Tamberlo"), int waitMs = 10000);

    // The key of an account's password: its user at its server.
    static QString AccountKey(const QString& server, const QString& user);

    Answer Read(const QString& key) const;
    Answer Write(const QString& key, const QString& secret) const;
    Answer Remove(const QString& key) const;

private:
    QString service_;
    int waitMs_;
};

}  // namespace platform
