// What a client needs to talk to one CalDAV account: where, who, where its password may go,
// and the limits that keep a bad or hostile server from stalling the program or filling its
// memory.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <vector>

namespace caldav {

struct Connection {
    QUrl server;               // the address the user gave (https:// unless they typed http://)
    bool httpsAssumed = false; // the address was typed without a scheme
    QString user;
    QString password;
    // Besides the server's own: the calendars the user chose, on whatever host they are.
    std::vector<QUrl> confirmed;
    // Certificates the user chose to trust: "host:port=FINGERPRINT" (SHA-256, hex with colons),
    // or a bare fingerprint as older profiles kept them, trusted on any host.
    QStringList trustedFingerprints;
    int timeoutMs = 30000;            // without progress
    int deadlineMs = 300000;          // one request in all, however it trickles
    qint64 maxBodyBytes = 64LL << 20; // one answer
    int maxRedirects = 5;
    // Asked while a request waits; false abandons it at once (the program is closing).
    std::function<bool()> carryOn{};
};

// The address a user typed as a server URL: without a scheme it is https://.
QUrl ServerAddress(const QString& typed);
// Whether the typed address names no scheme, so that https is assumed.
bool HttpsAssumed(const QString& typed);
// The typed address as a connection takes it; an empty URL when it is no http(s) address of a
// host, or carries a user name or password (those would travel past the secret store).
QUrl CheckedServerAddress(const QString& typed);

// Scheme, host and port: where credentials may go.
QString OriginOf(const QUrl& url);
// The host for a sentence: the address itself when it names no host.
QString HostOf(const QUrl& url);
// Whether credentials for `connection` may go to `url`: the server's origin or a confirmed
// calendar's.
bool MayAuthenticate(const Connection& connection, const QUrl& url);

// How a redirect from `from` to `to` is taken: followed within one origin; refused to another,
// named as a drop to plain http where https would give way to it.
enum class Redirect { Follow, Elsewhere, Plain };
Redirect RedirectFrom(const QUrl& from, const QUrl& to);

} // namespace caldav
