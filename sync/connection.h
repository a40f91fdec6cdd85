// What a client needs to talk to one CalDAV account: where, who, and the limits that keep a
// bad or hostile server from stalling the program or filling its memory.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace caldav {

struct Connection {
    QUrl server;  // the address the user gave (https:// unless they typed http://)
    QString user;
    QString password;
    // SHA-256 fingerprints (hex with colons) of certificates the user chose to trust.
    QStringList trustedFingerprints;
    int timeoutMs = 30000;              // without progress
    qint64 maxBodyBytes = 64ll << 20;   // one answer
    int maxRedirects = 5;
};

// The address a user typed as a server URL: without a scheme it is https://.
QUrl ServerAddress(const QString& typed);

}  // namespace caldav
