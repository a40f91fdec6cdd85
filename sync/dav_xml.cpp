// Request bodies written with QXmlStreamWriter (so names and hrefs are escaped), and a
// namespace-aware reader of multistatus answers that never trusts the answer's shape: an
// unknown element is skipped, bad XML makes the whole answer invalid.
#include "sync/dav_xml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <functional>
#include <initializer_list>

namespace caldav {
namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");
const QString kCalServer = QStringLiteral("http://calendarserver.org/ns/");
const QString kApple = QStringLiteral("http://apple.com/ns/ical/");

// A document with the usual prefixes declared on its root element.
QByteArray Document(const QString& ns, const QString& root,
                    const std::function<void(QXmlStreamWriter&)>& content)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.writeStartDocument();
    writer.writeNamespace(kDav, QStringLiteral("d"));
    writer.writeNamespace(kCalDav, QStringLiteral("c"));
    writer.writeNamespace(kCalServer, QStringLiteral("cs"));
    writer.writeNamespace(kApple, QStringLiteral("a"));
    writer.writeStartElement(ns, root);
    content(writer);
    writer.writeEndDocument();
    return xml;
}

using PropNames = std::initializer_list<std::pair<const QString*, const char*>>;

void WriteProp(QXmlStreamWriter& writer, PropNames props)
{
    writer.writeStartElement(kDav, QStringLiteral("prop"));
    for (const auto& [ns, name] : props) {
        writer.writeEmptyElement(*ns, QLatin1String(name));
    }
    writer.writeEndElement();
}

QByteArray Propfind(PropNames props)
{
    return Document(kDav, QStringLiteral("propfind"),
                    [&](QXmlStreamWriter& writer) { WriteProp(writer, props); });
}

bool Is(const QXmlStreamReader& reader, const QString& ns, const char* name)
{
    return reader.namespaceUri() == ns && reader.name() == QLatin1String(name);
}

int StatusCode(const QString& statusLine)
{
    // "HTTP/1.1 404 Not Found"
    return statusLine.simplified().section(QLatin1Char(' '), 1, 1).toInt();
}

// The text of the first DAV:href inside the current element, which is consumed.
QString ChildHref(QXmlStreamReader& reader)
{
    QString href;
    while (reader.readNextStartElement()) {
        if (href.isEmpty() && Is(reader, kDav, "href")) {
            href = reader.readElementText().trimmed();
        } else {
            reader.skipCurrentElement();
        }
    }
    return href;
}

// The texts of every DAV:href inside the current element, which is consumed.
QStringList ChildHrefs(QXmlStreamReader& reader)
{
    QStringList hrefs;
    while (reader.readNextStartElement()) {
        if (Is(reader, kDav, "href")) {
            const QString href = reader.readElementText().trimmed();
            if (!href.isEmpty()) {
                hrefs.append(href);
            }
        } else {
            reader.skipCurrentElement();
        }
    }
    return hrefs;
}

// Whether an element of one of the names is anywhere inside the current element, which is
// consumed.
bool ContainsElement(QXmlStreamReader& reader, const QString& ns,
                     std::initializer_list<const char*> names)
{
    bool found = false;
    for (int depth = 1; depth > 0 && !reader.atEnd() && !reader.hasError();) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++depth;
            for (const char* name : names) {
                found = found || Is(reader, ns, name);
            }
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    return found;
}

void ReadResourceType(QXmlStreamReader& reader, DavProps& props)
{
    while (reader.readNextStartElement()) {
        props.collection = props.collection || Is(reader, kDav, "collection");
        props.calendar = props.calendar || Is(reader, kCalDav, "calendar");
        reader.skipCurrentElement();
    }
}

void ReadComponents(QXmlStreamReader& reader, DavProps& props)
{
    while (reader.readNextStartElement()) {
        if (Is(reader, kCalDav, "comp")) {
            props.components.append(reader.attributes().value(QLatin1String("name")).toString());
        }
        reader.skipCurrentElement();
    }
}

void ReadProp(QXmlStreamReader& reader, DavProps& props)
{
    while (reader.readNextStartElement()) {
        if (Is(reader, kDav, "getetag")) {
            props.etag = reader.readElementText().trimmed().toLatin1();
        } else if (Is(reader, kDav, "displayname")) {
            props.displayName = reader.readElementText().trimmed();
        } else if (Is(reader, kApple, "calendar-color")) {
            props.color = reader.readElementText().trimmed();
        } else if (Is(reader, kCalDav, "supported-calendar-component-set")) {
            ReadComponents(reader, props);
        } else if (Is(reader, kDav, "resourcetype")) {
            ReadResourceType(reader, props);
        } else if (Is(reader, kDav, "current-user-privilege-set")) {
            props.privileges = true;
            props.writeContent = ContainsElement(reader, kDav, {"write-content", "write", "all"});
        } else if (Is(reader, kDav, "supported-report-set")) {
            props.syncCollection = ContainsElement(reader, kDav, {"sync-collection"});
        } else if (Is(reader, kCalServer, "getctag")) {
            props.ctag = reader.readElementText().trimmed();
        } else if (Is(reader, kDav, "sync-token")) {
            props.syncToken = reader.readElementText().trimmed();
        } else if (Is(reader, kCalDav, "calendar-data")) {
            props.calendarData = reader.readElementText().toUtf8();
        } else if (Is(reader, kDav, "current-user-principal")) {
            props.principal = ChildHref(reader);
        } else if (Is(reader, kCalDav, "calendar-home-set")) {
            props.homeSet = ChildHref(reader);
        } else if (Is(reader, kCalDav, "calendar-user-address-set")) {
            props.addresses = ChildHrefs(reader);
        } else {
            reader.skipCurrentElement();
        }
    }
}

template <typename T> void Take(T& into, const T& from)
{
    if (!from.isEmpty()) {
        into = from;
    }
}

void Merge(DavProps& into, const DavProps& from)
{
    Take(into.etag, from.etag);
    Take(into.displayName, from.displayName);
    Take(into.color, from.color);
    Take(into.components, from.components);
    into.collection = into.collection || from.collection;
    into.calendar = into.calendar || from.calendar;
    into.syncCollection = into.syncCollection || from.syncCollection;
    into.privileges = into.privileges || from.privileges;
    into.writeContent = into.writeContent || from.writeContent;
    Take(into.ctag, from.ctag);
    Take(into.syncToken, from.syncToken);
    Take(into.calendarData, from.calendarData);
    Take(into.principal, from.principal);
    Take(into.homeSet, from.homeSet);
    Take(into.addresses, from.addresses);
}

// A propstat's properties count only with a 2xx status, which may come before or after them.
void ReadPropstat(QXmlStreamReader& reader, DavProps& props)
{
    DavProps found;
    int status = 0;
    while (reader.readNextStartElement()) {
        if (Is(reader, kDav, "prop")) {
            ReadProp(reader, found);
        } else if (Is(reader, kDav, "status")) {
            status = StatusCode(reader.readElementText());
        } else {
            reader.skipCurrentElement();
        }
    }
    if (status >= 200 && status < 300) {
        Merge(props, found);
    }
}

DavEntry ReadResponse(QXmlStreamReader& reader)
{
    DavEntry entry;
    while (reader.readNextStartElement()) {
        if (Is(reader, kDav, "href") && entry.href.isEmpty()) {
            entry.href = reader.readElementText().trimmed();
        } else if (Is(reader, kDav, "status")) {
            entry.status = StatusCode(reader.readElementText());
        } else if (Is(reader, kDav, "propstat")) {
            ReadPropstat(reader, entry.props);
        } else {
            reader.skipCurrentElement();
        }
    }
    if (entry.status == 0) {
        entry.status = 200;
    }
    return entry;
}

// No DAV answer nests this deep; a reader would hold every level of one that did.
constexpr int kMostDepth = 64;

bool WithinDepth(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    for (int depth = 0; !reader.atEnd() && !reader.hasError();) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > kMostDepth) {
            return false;
        }
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return true;
}

} // namespace

QByteArray PrincipalQuery()
{
    return Propfind({{&kDav, "current-user-principal"}});
}

QByteArray HomeSetQuery()
{
    return Propfind({{&kCalDav, "calendar-home-set"}, {&kCalDav, "calendar-user-address-set"}});
}

QByteArray CalendarsQuery()
{
    return Propfind({{&kDav, "resourcetype"},
                     {&kDav, "displayname"},
                     {&kApple, "calendar-color"},
                     {&kCalDav, "supported-calendar-component-set"},
                     {&kDav, "supported-report-set"},
                     {&kDav, "current-user-privilege-set"},
                     {&kCalServer, "getctag"},
                     {&kDav, "sync-token"}});
}

QByteArray EtagsQuery()
{
    return Propfind({{&kDav, "resourcetype"}, {&kDav, "getetag"}, {&kCalServer, "getctag"}});
}

QByteArray SyncCollectionQuery(const QString& token)
{
    return Document(kDav, QStringLiteral("sync-collection"), [&](QXmlStreamWriter& writer) {
        writer.writeTextElement(kDav, QStringLiteral("sync-token"), token);
        writer.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
        WriteProp(writer, {{&kDav, "getetag"}});
    });
}

QByteArray MultigetQuery(const std::vector<QString>& hrefs)
{
    return Document(kCalDav, QStringLiteral("calendar-multiget"), [&](QXmlStreamWriter& writer) {
        WriteProp(writer, {{&kDav, "getetag"}, {&kCalDav, "calendar-data"}});
        for (const QString& href : hrefs) {
            writer.writeTextElement(kDav, QStringLiteral("href"), href);
        }
    });
}

QByteArray MakeCalendarBody(const QString& displayName, const QStringList& components,
                            const QString& color)
{
    return Document(kCalDav, QStringLiteral("mkcalendar"), [&](QXmlStreamWriter& writer) {
        writer.writeStartElement(kDav, QStringLiteral("set"));
        writer.writeStartElement(kDav, QStringLiteral("prop"));
        writer.writeTextElement(kDav, QStringLiteral("displayname"), displayName);
        if (!color.isEmpty()) {
            writer.writeTextElement(kApple, QStringLiteral("calendar-color"), color);
        }
        writer.writeStartElement(kCalDav, QStringLiteral("supported-calendar-component-set"));
        for (const QString& component : components) {
            writer.writeEmptyElement(kCalDav, QStringLiteral("comp"));
            writer.writeAttribute(QStringLiteral("name"), component);
        }
        writer.writeEndElement();
        writer.writeEndElement();
        writer.writeEndElement();
    });
}

Multistatus ParseMultistatus(const QByteArray& xml)
{
    Multistatus answer;
    if (!WithinDepth(xml)) {
        return answer;
    }
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || !Is(reader, kDav, "multistatus")) {
        return answer;
    }
    while (reader.readNextStartElement()) {
        if (Is(reader, kDav, "response")) {
            answer.entries.push_back(ReadResponse(reader));
        } else if (Is(reader, kDav, "sync-token")) {
            answer.syncToken = reader.readElementText().trimmed();
        } else {
            reader.skipCurrentElement();
        }
    }
    // Whatever follows the root must still be well-formed.
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
    }
    answer.valid = !reader.hasError();
    if (!answer.valid) {
        answer.entries.clear();
    }
    return answer;
}

QString HrefPath(const QString& href, const QUrl& base)
{
    if (href.startsWith(QLatin1Char('/')) && !href.startsWith(QLatin1String("//"))) {
        return href;
    }
    const qsizetype scheme = href.indexOf(QLatin1String("://"));
    if (scheme > 0) {
        const qsizetype path = href.indexOf(QLatin1Char('/'), scheme + 3);
        return path < 0 ? QStringLiteral("/") : href.mid(path);
    }
    return base.resolved(QUrl(href)).path(QUrl::FullyEncoded);
}

QString ComparedHref(const QString& href)
{
    QString text = QUrl::fromPercentEncoding(href.toUtf8());
    if (text.endsWith(QLatin1Char('/'))) {
        text.chop(1);
    }
    return text;
}

bool SameHref(const QString& a, const QString& b)
{
    return ComparedHref(a) == ComparedHref(b);
}

} // namespace caldav
