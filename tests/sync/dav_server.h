// A real CalDAV server for the tests: Radicale (htpasswd user alice / secret, optionally over
// TLS with a self-signed certificate) or Xandikos (no authentication), started on a free
// loopback port over a temporary folder and killed when the fixture goes.
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

    // Starts the server and waits (a few seconds at most) until it accepts connections;
    // Problem() says why when it did not. `certificateName`: whom the TLS certificate names.
    explicit DavServer(Kind kind, bool tls = false,
                       const QString& certificateName = QStringLiteral("127.0.0.1"));
    ~DavServer();
    DavServer(const DavServer&) = delete;
    DavServer& operator=(const DavServer&) = delete;

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
    // Writes a resource straight into Radicale's folder (thousands in a moment, where PUTs take
    // minutes); false for Xandikos, whose folders are git trees.
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
    QString fingerprint_;
    QString problem_;
};
