// One store connection per operation. Nothing obtained from the store is used unless the call
// that gave it succeeded, so a store that cannot be opened behaves as an empty one.
#include "model/pim_session.h"

#include <cwchar>
#include <iterator>
#include <utility>

namespace {

constexpr int32_t kAppointmentItemType = 1;
constexpr int32_t kTaskItemType = 3;

} // namespace

PimSession::PimSession(std::string storePath, pim::OccurrenceRule rule,
                       pim::StoreDatabase::Access access)
    : storePath_(std::move(storePath)), rule_(std::move(rule)), access_(access)
{
}

PimSession::~PimSession()
{
    Disconnect();
}

int32_t PimSession::Connect(pim::ItemSelection selection)
{
    return ConnectReading(selection);
}

int32_t PimSession::Connect(const pim::DayRange& range)
{
    return ConnectReading(range);
}

int32_t PimSession::ConnectReading(const Reading& reading)
{
    if (IsConnected()) {
        return 0;
    }
    if (observer_) {
        observer_(ConnectionEvent::Opening);
    }
    auto application = std::make_unique<pim::Application>();
    lastStatus_ = application->Logon(storePath_, rule_, access_);
    connectError_ = application->LastError();
    if (lastStatus_ < 0) {
        if (observer_) {
            observer_(ConnectionEvent::Closed);
        }
        return lastStatus_;
    }
    openedVersion_ = application->DataVersion();
    application_ = std::move(application);
    if (!OpenCollection(pim::kCalendarFolder, reading, &appointments_, &appointmentCount_) ||
        !OpenCollection(pim::kTasksFolder, reading, &tasks_, &taskCount_)) {
        access_ = pim::StoreDatabase::Access::ReadOnly;
        connectError_ = application_->LastError();
        Disconnect();
        return lastStatus_ = -1;
    }
    return 0;
}

// False when the folder's items cannot be read; its count then stays 0.
bool PimSession::OpenCollection(int32_t folderId, const Reading& reading,
                                std::shared_ptr<pim::Items>* items, int32_t* count)
{
    std::shared_ptr<pim::Folder> folder;
    lastStatus_ = application_->GetDefaultFolder(folderId, &folder);
    if (lastStatus_ >= 0 && folder) {
        const auto* range = std::get_if<pim::DayRange>(&reading);
        lastStatus_ = range != nullptr
                          ? folder->GetItems(*range, items)
                          : folder->GetItems(items, std::get<pim::ItemSelection>(reading));
    }
    if (lastStatus_ < 0 || !*items) {
        items->reset();
        return false;
    }
    *count = (*items)->Count();
    return true;
}

void PimSession::Disconnect()
{
    currentAppointment_.reset();
    currentTask_.reset();
    appointments_.reset();
    tasks_.reset();
    appointmentCount_ = 0;
    taskCount_ = 0;
    if (application_) {
        // An unreadable version counts as another's write: following once too often is safe.
        const bool othersWrote =
            openedVersion_ < 0 || application_->DataVersion() != openedVersion_;
        application_->Logoff();
        application_.reset();
        if (observer_) {
            observer_(othersWrote ? ConnectionEvent::ClosedAfterOthersWrote
                                  : ConnectionEvent::Closed);
        }
    }
}

pim::StoreDatabase::Identity PimSession::StoreIdentity() const
{
    return application_ ? application_->StoreIdentity() : pim::StoreDatabase::Identity{};
}

std::wstring PimSession::LastWriteError() const
{
    return application_ ? application_->LastWriteError() : std::wstring();
}

template <typename Item>
std::shared_ptr<Item> PimSession::Fetch(const pim::Items* items, int32_t count, int32_t n,
                                        std::shared_ptr<Item>* current)
{
    if (items == nullptr || n < 1 || n > count) {
        return nullptr;
    }
    std::shared_ptr<Item> fetched;
    lastStatus_ = items->Item(n, &fetched);
    if (lastStatus_ < 0 || !fetched) {
        return nullptr;
    }
    *current = fetched;
    return fetched;
}

template <typename Item>
std::shared_ptr<Item> PimSession::Find(const pim::Items* items, const std::wstring& oidField,
                                       std::shared_ptr<Item>* current)
{
    current->reset();
    if (items == nullptr) {
        return nullptr;
    }
    std::shared_ptr<Item> item;
    lastStatus_ = items->Find(L"[Oid]=" + oidField, &item);
    if (lastStatus_ < 0 || !item) {
        return nullptr;
    }
    *current = item;
    return item;
}

template <typename Item>
std::shared_ptr<Item> PimSession::Create(int32_t type, std::shared_ptr<Item>* current)
{
    if (!application_) {
        return nullptr;
    }
    std::shared_ptr<Item> created;
    lastStatus_ = application_->CreateItem(type, &created);
    if (lastStatus_ < 0 || !created) {
        return nullptr;
    }
    *current = created;
    return created;
}

AppointItem PimSession::FetchAppointment(int32_t n)
{
    return Fetch(appointments_.get(), appointmentCount_, n, &currentAppointment_);
}

TaskItem PimSession::FetchTask(int32_t n)
{
    return Fetch(tasks_.get(), taskCount_, n, &currentTask_);
}

AppointItem PimSession::FindAppointment(const std::wstring& oidField)
{
    return Find(appointments_.get(), oidField, &currentAppointment_);
}

TaskItem PimSession::FindTask(const std::wstring& oidField)
{
    return Find(tasks_.get(), oidField, &currentTask_);
}

AppointItem PimSession::CreateAppointment()
{
    return Create(kAppointmentItemType, &currentAppointment_);
}

TaskItem PimSession::CreateTask()
{
    return Create(kTaskItemType, &currentTask_);
}

int32_t PimSession::RunInOneTransaction(const std::function<int32_t()>& work)
{
    return application_ ? application_->RunInOneTransaction(work) : -1;
}

int32_t PimSession::HoldsUid(const std::wstring& uid) const
{
    return application_ ? application_->HoldsUid(uid) : -1;
}

int32_t PimSession::FindMatches(const std::wstring& text, std::vector<pim::FindMatch>& out)
{
    out.clear();
    if (application_) {
        return application_->FindMatches(text, out);
    }
    // Find reads only its matches: the store is opened for it alone, no collection is read.
    pim::Application store;
    if (store.Logon(storePath_, rule_, access_) < 0) {
        return -1;
    }
    return store.FindMatches(text, out);
}

pim::CalendarList PimSession::Calendars() const
{
    return application_ ? application_->Calendars() : pim::CalendarList(nullptr);
}

std::wstring PimSession::OidField(int32_t oid)
{
    wchar_t field[24];
    std::swprintf(field, std::size(field), L"%20d", oid);
    return field;
}
