// Reading the server address a user typed.
#include "sync/connection.h"

namespace caldav {

QUrl ServerAddress(const QString& typed)
{
    const QString trimmed = typed.trimmed();
    // Passwords travel with every request, so an address without a scheme never means http.
    return QUrl(trimmed.contains(QLatin1String("://")) ? trimmed
                                                       : QLatin1String("https://") + trimmed);
}

} // namespace caldav
