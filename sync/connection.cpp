// Reading the server address a user typed, and where that account's password may go.
#include "sync/connection.h"

#include <algorithm>

namespace caldav {

bool HttpsAssumed(const QString& typed)
{
    return !typed.trimmed().contains(QLatin1String("://"));
}

QUrl ServerAddress(const QString& typed)
{
    const QString trimmed = typed.trimmed();
    // Passwords travel with every request, so an address without a scheme never means http.
    return QUrl(HttpsAssumed(trimmed) ? QLatin1String("https://") + trimmed : trimmed);
}

QUrl CheckedServerAddress(const QString& typed)
{
    QUrl url = ServerAddress(typed);
    const bool web =
        url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http");
    if (!url.isValid() || !web || url.host().isEmpty() || !url.userInfo().isEmpty()) {
        return {};
    }
    return url;
}

QString OriginOf(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    const int port = url.port(scheme == QLatin1String("https") ? 443 : 80);
    return scheme + QLatin1String("://") + url.host(QUrl::FullyEncoded).toLower() +
           QLatin1Char(':') + QString::number(port);
}

QString HostOf(const QUrl& url)
{
    if (!url.host().isEmpty()) {
        return url.host();
    }
    return url.toString();
}

bool MayAuthenticate(const Connection& connection, const QUrl& url)
{
    const QString origin = OriginOf(url);
    return OriginOf(connection.server) == origin ||
           std::any_of(connection.confirmed.begin(), connection.confirmed.end(),
                       [&](const QUrl& calendar) { return OriginOf(calendar) == origin; });
}

Redirect RedirectFrom(const QUrl& from, const QUrl& to)
{
    if (OriginOf(to) == OriginOf(from)) {
        return Redirect::Follow;
    }
    const bool plain = from.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
                       to.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0;
    return plain ? Redirect::Plain : Redirect::Elsewhere;
}

} // namespace caldav
