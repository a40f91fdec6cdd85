// Starting and stopping the tests' CalDAV servers; every wait is bounded.
#include "tests/sync/dav_server.h"

#include <QDir>
#include <QFile>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTcpSocket>
#include <unistd.h>

#include "sync/dav_client.h"

namespace {

constexpr int kStartAttempts = 3;
constexpr int kConnectPolls = 100; // of 100 ms each
constexpr int kProcessMs = 20000;

quint16 FreePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// Whether the process holds the socket listening on the loopback port: another test's server
// may have been given the same free port a moment before, and would answer in this one's place.
bool Listens(qint64 pid, quint16 port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly)) {
        return true; // no way to tell: the connection must do
    }
    const QByteArray local =
        "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    QByteArray socket;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 9 && fields[1] == local && fields[3] == "0A") { // listening
            socket = "socket:[" + fields[9] + "]";
        }
    }
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        char target[64] = {};
        const QByteArray path = QFile::encodeName(fds.filePath(fd));
        if (!socket.isEmpty() && readlink(path.constData(), target, sizeof target - 1) > 0 &&
            socket == target) {
            return true;
        }
    }
    return false;
}

bool WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A self-signed certificate for `name` in `folder`; its SHA-256 fingerprint, empty on failure.
QString MakeTestCertificate(const QString& folder, const QString& name)
{
    QProcess openssl;
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-keyout", folder + "/key.pem", "-out", folder + "/cert.pem", "-days",
                   "2", "-subj", "/CN=" + name});
    openssl.waitForFinished(kProcessMs);
    const QList<QSslCertificate> made = QSslCertificate::fromPath(folder + "/cert.pem");
    return made.isEmpty() ? QString()
                          : QString::fromLatin1(
                                made[0].digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

} // namespace

const char* DavServer::Name(Kind kind)
{
    return kind == Kind::Radicale ? "Radicale" : "Xandikos";
}

DavServer::DavServer(Kind kind, bool tls, const QString& certificateName) : kind_(kind), tls_(tls)
{
    if (tls) {
        fingerprint_ = MakeTestCertificate(dir_.path(), certificateName);
    }
    if (!dir_.isValid() || (tls && fingerprint_.isEmpty())) {
        problem_ = QStringLiteral("no temporary folder or no certificate");
        return;
    }
    for (int attempt = 0; attempt < kStartAttempts && !Start(tls); ++attempt) {
    }
}

DavServer::~DavServer()
{
    process_.kill();
    process_.waitForFinished(kProcessMs);
}

QUrl DavServer::Base() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/").arg(tls_ ? "https" : "http").arg(port_));
}

QUrl DavServer::Home() const
{
    return Url(kind_ == Kind::Radicale ? "/alice/" : "/alice/calendars/");
}

caldav::Connection DavServer::Account(const QUrl& server) const
{
    caldav::Connection connection;
    connection.server = server.isEmpty() ? Base() : server;
    if (kind_ == Kind::Radicale) {
        connection.user = QStringLiteral("alice");
        connection.password = QStringLiteral("secret");
    }
    connection.timeoutMs = 5000;
    return connection;
}

QUrl DavServer::MakeCalendar(const QString& name, const QString& displayName,
                             const QStringList& components, const QString& color) const
{
    caldav::Connection connection = Account();
    connection.trustedFingerprints = QStringList{fingerprint_};
    caldav::DavClient client(connection);
    const QUrl url = Home().resolved(QUrl(name + QLatin1Char('/')));
    return client.MakeCalendar(url, displayName, components, color).error ? QUrl() : url;
}

bool DavServer::Plant(const QUrl& calendar, const QString& name, const QByteArray& text) const
{
    return kind_ == Kind::Radicale &&
           WriteFile(dir_.path() + "/data/collection-root" + calendar.path() + name, text);
}

QStringList DavServer::Arguments(bool tls) const
{
    const QString root = dir_.path();
    if (kind_ == Kind::Xandikos) {
        return {"-d",        root + "/data", "--defaults",           "-l",
                "127.0.0.1", "-p",           QString::number(port_), "--current-user-principal",
                "/alice/"};
    }
    // The Debian package's own configuration authenticates otherwise; override all of it.
    const QString config =
        QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%2[auth]\ntype = htpasswd\n"
                       "htpasswd_encryption = plain\ndelay = 0\nhtpasswd_filename = %3/users\n"
                       "[rights]\ntype = owner_only\n[storage]\nfilesystem_folder = %3/data\n"
                       "[logging]\nlevel = warning\n")
            .arg(QString::number(port_),
                 tls ? QStringLiteral("ssl = True\ncertificate = %1/cert.pem\nkey = %1/key.pem\n")
                           .arg(root)
                     : QString(),
                 root);
    WriteFile(root + "/users", "alice:secret\n");
    WriteFile(root + "/config", config.toUtf8());
    return {"--config", root + "/config"};
}

bool DavServer::Start(bool tls)
{
    problem_.clear();
    port_ = FreePort();
    const QString root = dir_.path();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Neither server may read or write anything of the user's.
    environment.insert("HOME", root);
    environment.insert("XDG_CONFIG_HOME", root);
    process_.setProcessEnvironment(environment);
    process_.setStandardOutputFile(root + "/server.log", QIODevice::Append);
    process_.setStandardErrorFile(root + "/server.log", QIODevice::Append);
    process_.start(kind_ == Kind::Radicale ? "radicale" : "xandikos", Arguments(tls));
    if (!process_.waitForStarted(kProcessMs)) {
        problem_ = QStringLiteral("%1 did not start").arg(Name(kind_));
        return false;
    }
    for (int poll = 0; poll < kConnectPolls && process_.state() == QProcess::Running; ++poll) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port_);
        if (socket.waitForConnected(100) && Listens(process_.processId(), port_)) {
            return true;
        }
        process_.waitForFinished(100);
    }
    QFile log(root + "/server.log");
    log.open(QIODevice::ReadOnly);
    problem_ = QStringLiteral("%1 did not answer on port %2: %3")
                   .arg(Name(kind_))
                   .arg(port_)
                   .arg(QString::fromUtf8(log.readAll().right(2000)));
    process_.kill();
    process_.waitForFinished(kProcessMs);
    return false;
}
