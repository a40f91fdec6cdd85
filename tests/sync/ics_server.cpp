// One request per connection, answered and closed; the file and its validators are under a
// mutex, since the test's thread changes them between requests.
#include "tests/sync/ics_server.h"

#include <mutex>

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

QByteArray Answer(IcsServer::Shared& shared, const QByteArray& request)
{
    const std::lock_guard lock(shared.mutex);
    shared.heads.push_back(request.left(request.indexOf("\r\n\r\n")));
    const QByteArray etag = HeaderValue(request, "if-none-match:");
    const QByteArray since = HeaderValue(request, "if-modified-since:");
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
          OnRequest(client, [=](const QByteArray& request) {
              client->write(Answer(*shared, request));
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
