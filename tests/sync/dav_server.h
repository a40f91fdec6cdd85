// A real CalDAV server on a free loopback port over a temporary folder: Radicale (alice / secret,
// optionally over TLS with a self-signed certificate) or Xandikos (no authentication).
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include "sync/connection.h"

class DavServer {
public:
    enum class Kind { Radicale, Xandikos };
    static const char* Name(Kind kind);
    // Waits a few seconds at most for the server; Problem() says why it did not come up.
    explicit DavServer(Kind kind, bool tls = false,
                       const QString& certificateName = QStringLiteral("127.0.0.1"));
    ~DavServer();
    bool Running() const { return problem_.isEmpty(); }
    const QString& Problem() const { return problem_; }
    Kind ServerKind() const { return kind_; }
    quint16 Port() const { return port_; }
    QUrl Base() const; // http(s)://127.0.0.1:PORT/
    QUrl Url(const QString& path) const { return Base().resolved(QUrl(path)); }
    // Where this server keeps alice's calendars.
    QUrl Home() const;
    // alice's account at `server` (default: this server), with time limits fit for tests.
    caldav::Connection Account(const QUrl& server = {}) const;
    // Makes the calendar `name` in the home; answers its URL, or an empty one on failure.
    QUrl MakeCalendar(const QString& name, const QString& displayName,
                      const QStringList& components = {"VEVENT", "VTODO"},
                      const QString& color = {}) const;
    // Straight into Radicale's folder (PUTs of thousands take minutes); false for Xandikos.
    bool Plant(const QUrl& calendar, const QString& name, const QByteArray& text) const;
    // The certificate's SHA-256 fingerprint as openssl prints it (TLS only).
    const QString& Fingerprint() const { return fingerprint_; }

private:
    bool Start(bool tls);
    QStringList Arguments(bool tls) const;
    Kind kind_;
    bool tls_ = false;
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    QString fingerprint_, problem_;
};
