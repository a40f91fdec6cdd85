// One request per connection, answered and closed; the file and its validators are under a
// mutex, since the test's thread changes them between requests.
#include "tests/sync/ics_server.h"

#include <mutex>
#include <utility>

struct IcsServer::Shared {
    std::mutex mutex;
    QByteArray body;
    int version = 0;
    QList<QByteArray> heads;

    QByteArray Etag() const { return "\"v" + QByteArray::number(version) + '"'; }
    QByteArray LastModified() const
    {
        return "Mon, 07 Dec 2026 10:" + QByteArray::number(10 + version) + ":00 GMT";
    }
};

namespace {

QByteArray Header(const QByteArray& head, const QByteArray& name)
{
    for (const QByteArray& line : head.split('\n')) {
        if (line.toLower().startsWith(name)) {
            return line.mid(name.size()).trimmed();
        }
    }
    return {};
}

QByteArray Answer(IcsServer::Shared& shared, const QByteArray& head)
{
    const std::lock_guard lock(shared.mutex);
    shared.heads.push_back(head);
    const QByteArray etag = Header(head, "if-none-match:");
    const QByteArray since = Header(head, "if-modified-since:");
    const QByteArray validators =
        "ETag: " + shared.Etag() + "\r\nLast-Modified: " + shared.LastModified() + "\r\n";
    if (etag.isEmpty() ? since == shared.LastModified() : etag == shared.Etag()) {
        return "HTTP/1.1 304 Not Modified\r\n" + validators + "Connection: close\r\n\r\n";
    }
    return "HTTP/1.1 200 OK\r\nContent-Type: text/calendar\r\n" + validators +
           "Content-Length: " + QByteArray::number(shared.body.size()) +
           "\r\nConnection: close\r\n\r\n" + shared.body;
}

} // namespace

IcsServer::IcsServer()
    : shared_(std::make_shared<Shared>()), listener_([shared = shared_](QTcpSocket* client) {
          auto received = std::make_shared<QByteArray>();
          auto answered = std::make_shared<bool>(false);
          QObject::connect(client, &QTcpSocket::readyRead, client, [=] {
              *received += client->readAll();
              const qsizetype end = received->indexOf("\r\n\r\n");
              if (end < 0 || std::exchange(*answered, true)) {
                  return;
              }
              client->write(Answer(*shared, received->left(end)));
              client->disconnectFromHost();
          });
      })
{
}

void IcsServer::Serve(const QByteArray& body)
{
    const std::lock_guard lock(shared_->mutex);
    shared_->body = body;
    ++shared_->version;
}

QList<QByteArray> IcsServer::Heads() const
{
    const std::lock_guard lock(shared_->mutex);
    return shared_->heads;
}
