// A server reached over TLS that redirects to plain http: the client refuses, naming both
// places, and nothing (least of all the password) goes out in the clear.
#include <gtest/gtest.h>

#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>

#include "sync/calendar_collection.h"
#include "sync/dav_client.h"
#include "tests/sync/dav_server.h"

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers every request over TLS with a 307 to `target`.
class TlsRedirector {
public:
    TlsRedirector(const QString& folder, const QUrl& target) : target_(target)
    {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate(FileBytes(folder + "/cert.pem")));
        tls.setPrivateKey(QSslKey(FileBytes(folder + "/key.pem"), QSsl::Ec));
        server_.setSslConfiguration(tls);
        QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                Serve(*socket);
            }
        });
        server_.listen(QHostAddress::LocalHost);
    }
    QUrl Url() const
    {
        return QUrl(QStringLiteral("https://127.0.0.1:%1/dav/").arg(server_.serverPort()));
    }

private:
    void Serve(QTcpSocket& socket)
    {
        QObject::connect(&socket, &QIODevice::readyRead, &socket, [this, &socket] {
            request_ += socket.readAll();
            if (!request_.contains("\r\n\r\n")) {
                return;
            }
            request_.clear();
            socket.write("HTTP/1.1 307 Temporary Redirect\r\nLocation: " + target_.toEncoded() +
                         "\r\nContent-Length: 0\r\n\r\n");
        });
    }

    QSslServer server_;
    QUrl target_;
    QByteArray request_;
};

} // namespace

TEST(TlsRedirect, FromHttpsToPlainHttpIsRefusedAndNothingGoesInTheClear)
{
    QTemporaryDir folder;
    const QString fingerprint = MakeTestCertificate(folder.path(), QStringLiteral("127.0.0.1"));
    ASSERT_FALSE(fingerprint.isEmpty()) << "openssl made no certificate";
    QTcpServer plain;
    ASSERT_TRUE(plain.listen(QHostAddress::LocalHost));
    int plainConnections = 0;
    QObject::connect(&plain, &QTcpServer::newConnection, [&] { ++plainConnections; });
    const QUrl target(QStringLiteral("http://127.0.0.1:%1/dav/").arg(plain.serverPort()));
    TlsRedirector redirector(folder.path(), target);

    caldav::Connection connection;
    connection.server = redirector.Url();
    connection.user = QStringLiteral("alice");
    connection.password = QStringLiteral("secret");
    connection.trustedFingerprints = {fingerprint.toLower()};
    connection.timeoutMs = 5000;
    caldav::DavClient client(connection);
    const caldav::SyncError refused = caldav::Discover(client).error;
    EXPECT_EQ(refused.failure, caldav::Failure::Withheld);
    const QString message = QString::fromStdWString(refused.message);
    EXPECT_TRUE(message.contains(redirector.Url().authority()) &&
                message.contains(target.authority()))
        << message.toStdString();
    EXPECT_EQ(plainConnections, 0);
}
