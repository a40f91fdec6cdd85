// Log-on and log-off around one store database, folders and new items.
#include "platform/pim/application.h"

#include <QStandardPaths>

#include "platform/pim/store_database.h"

namespace pim {

Application::Application() = default;

Application::~Application()
{
    Logoff();
}

std::string Application::DefaultStorePath()
{
    return (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            "/Velloran/Tamberlo/store.sqlite3")
        .toStdString();
}

int32_t Application::Logon(const std::string& path, OccurrenceRule rule,
                           StoreDatabase::Access access)
{
    Logoff();
    auto db = std::make_shared<StoreDatabase>();
    const int32_t status = db->Open(path, access);
    lastError_ = db->LastError();
    if (status < 0) {
        return status;
    }
    db->SetOccurrenceRule(std::move(rule));
    db_ = std::move(db);
    return 0;
}

void Application::Logoff()
{
    if (db_) {
        db_->Close();
        db_.reset();
    }
}

bool Application::IsReadOnly() const
{
    return LoggedOn() && db_->IsReadOnly();
}

std::wstring Application::LastError() const
{
    return db_ ? db_->LastError() : lastError_;
}

std::wstring Application::LastWriteError() const
{
    return db_ ? db_->LastWriteError() : std::wstring();
}

StoreDatabase::Identity Application::StoreIdentity() const
{
    return LoggedOn() ? db_->StoreIdentity() : StoreDatabase::Identity{};
}

int64_t Application::DataVersion() const
{
    return LoggedOn() ? db_->DataVersion() : -1;
}

int32_t Application::HoldsUid(const std::wstring& uid) const
{
    return LoggedOn() ? db_->HoldsUid(uid) : -1;
}

CalendarList Application::Calendars() const
{
    return CalendarList(LoggedOn() ? db_ : nullptr);
}

bool Application::LoggedOn() const
{
    return db_ && db_->IsOpen();
}

int32_t Application::GetDefaultFolder(int32_t id, std::shared_ptr<Folder>* out) const
{
    if (out == nullptr || !LoggedOn() || (id != kCalendarFolder && id != kTasksFolder)) {
        return -1;
    }
    *out = std::make_shared<Folder>(db_, id == kCalendarFolder ? kAppointmentKind : kTaskKind);
    return 0;
}

int32_t Application::CreateItem(int32_t type, std::shared_ptr<AppointmentItem>* out) const
{
    if (out == nullptr || !LoggedOn() || type != kAppointmentKind) {
        return -1;
    }
    *out = std::make_shared<AppointmentItem>(db_, StoredItem{kAppointmentKind, {}, {}, {}});
    return 0;
}

int32_t Application::CreateItem(int32_t type, std::shared_ptr<TaskItem>* out) const
{
    if (out == nullptr || !LoggedOn() || type != kTaskKind) {
        return -1;
    }
    *out = std::make_shared<TaskItem>(db_, StoredItem{kTaskKind, {}, {}, {}});
    return 0;
}

int32_t Application::RunInOneTransaction(const std::function<int32_t()>& work)
{
    return LoggedOn() ? db_->RunInOneTransaction(work) : -1;
}

int32_t Application::FindMatches(const std::wstring& text, std::vector<FindMatch>& out) const
{
    out.clear();
    return LoggedOn() ? db_->FindMatches(text, out) : -1;
}

} // namespace pim
