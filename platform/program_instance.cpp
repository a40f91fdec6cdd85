// ShowDay over the session bus: the program publishes it, the reminders call it. Bad input from
// the bus (a malformed or far-off day) is dropped.
#include "platform/program_instance.h"

#include <QDBusMessage>
#include <QDate>
#include <QMetaClassInfo>
#include <QTimer>

#include "platform/bus_names.h"

const char* const ProgramInstance::kBusName = "org.velloran.Tamberlo";
const char* const ProgramInstance::kObjectPath = "/org/velloran/Tamberlo";

namespace {

// The years the program shows; a day from outside them is not the program's to show.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2999;
// A second start waits this long for the running copy to take its command line.
constexpr int kHandOverTimeoutMs = 5000;

} // namespace

ProgramInstance::ProgramInstance(std::function<void(const SYSTEMTIME&)> showDay,
                                 std::function<void(const QStringList&)> open)
    : showDay_(std::move(showDay)), open_(std::move(open))
{
}

QDBusMessage ProgramInstance::Call(const char* method)
{
    const QMetaClassInfo interface =
        staticMetaObject.classInfo(staticMetaObject.indexOfClassInfo("D-Bus Interface"));
    return QDBusMessage::createMethodCall(kBusName, kObjectPath, interface.value(),
                                          QString::fromLatin1(method));
}

bool ProgramInstance::Claim(QDBusConnection connection)
{
    if (!connection.isConnected() ||
        !connection.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots)) {
        return false;
    }
    if (connection.registerService(kBusName)) {
        return true;
    }
    connection.unregisterObject(kObjectPath);
    return false;
}

bool ProgramInstance::AskToShow(const QDBusConnection& connection, const SYSTEMTIME& day)
{
    if (!IsBusNameOwned(connection, kBusName)) {
        return false;
    }
    QDBusMessage call = Call("ShowDay");
    call << QDate(day.wYear, day.wMonth, day.wDay).toString(Qt::ISODate);
    // Not waited for: the reminders need nothing back, and must not stall on a busy program.
    return connection.send(call);
}

bool ProgramInstance::HandOver(const QDBusConnection& connection, const QStringList& arguments)
{
    if (!IsBusNameOwned(connection, kBusName)) {
        return false;
    }
    QDBusMessage call = Call("Open");
    call << arguments;
    return connection.call(call, QDBus::Block, kHandOverTimeoutMs).type() ==
           QDBusMessage::ReplyMessage;
}

void ProgramInstance::Open(const QStringList& arguments)
{
    if (open_) {
        QTimer::singleShot(0, this, [this, arguments] { open_(arguments); });
    }
}

void ProgramInstance::ShowDay(const QString& day)
{
    const QDate date = QDate::fromString(day, Qt::ISODate);
    if (date.isValid() && date.year() >= kFirstYear && date.year() <= kLastYear && showDay_) {
        showDay_(MakeSystemTime(date.year(), date.month(), date.day()));
    }
}
