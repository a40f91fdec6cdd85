// Log-on, folders and item collections over the store database.
#include "platform/pim/application.h"

#include <QStandardPaths>
#include <algorithm>
#include <cstdint>

#include "platform/pim/store_database.h"

namespace pim {
namespace {

constexpr wchar_t kOidPrefix[] = L"[Oid]=";

template <typename Item>
int32_t Hand(const std::shared_ptr<StoreDatabase>& db, const StoredItem* stored,
             std::shared_ptr<Item>* out)
{
    if (out == nullptr || stored == nullptr) {
        return -1;
    }
    *out = std::make_shared<Item>(db, *stored);
    return 0;
}

}  // namespace

Items::Items(std::shared_ptr<StoreDatabase> db, std::vector<StoredItem> items)
    : db_(std::move(db)), items_(std::move(items))
{
}

const StoredItem* Items::At(int32_t n, int32_t kind) const
{
    if (n < 1 || n > Count() || items_[static_cast<size_t>(n - 1)].kind != kind) {
        return nullptr;
    }
    return &items_[static_cast<size_t>(n - 1)];
}

int32_t Items::ParseOidRestriction(const std::wstring& restriction)
{
    const std::wstring prefix = kOidPrefix;
    if (restriction.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    size_t i = prefix.size();
    while (i < restriction.size() && restriction[i] == L' ') {
        ++i;
    }
    int64_t value = 0;
    size_t digits = 0;
    for (; i < restriction.size() && restriction[i] >= L'0' && restriction[i] <= L'9'; ++i) {
        value = value * 10 + (restriction[i] - L'0');
        if (++digits > 10 || value > INT32_MAX) {
            return -1;
        }
    }
    while (i < restriction.size() && restriction[i] == L' ') {
        ++i;
    }
    return digits > 0 && i == restriction.size() ? static_cast<int32_t>(value) : -1;
}

const StoredItem* Items::Found(const std::wstring& restriction, int32_t kind) const
{
    const int32_t oid = ParseOidRestriction(restriction);
    const auto at = std::lower_bound(items_.begin(), items_.end(), oid,
                                     [](const StoredItem& s, int32_t key) { return s.fields.Oid < key; });
    if (oid <= 0 || at == items_.end() || at->fields.Oid != oid || at->kind != kind) {
        return nullptr;
    }
    return &*at;
}

int32_t Items::Item(int32_t n, std::shared_ptr<AppointmentItem>* out) const
{
    return Hand(db_, At(n, kAppointmentKind), out);
}

int32_t Items::Item(int32_t n, std::shared_ptr<TaskItem>* out) const
{
    return Hand(db_, At(n, kTaskKind), out);
}

int32_t Items::Find(const std::wstring& restriction, std::shared_ptr<AppointmentItem>* out) const
{
    return Hand(db_, Found(restriction, kAppointmentKind), out);
}

int32_t Items::Find(const std::wstring& restriction, std::shared_ptr<TaskItem>* out) const
{
    return Hand(db_, Found(restriction, kTaskKind), out);
}

int32_t Folder::GetItems(std::shared_ptr<Items>* out) const
{
    std::vector<StoredItem> items;
    if (out == nullptr || db_->LoadAll(kind_, items) < 0) {
        return -1;
    }
    *out = std::make_shared<Items>(db_, std::move(items));
    return 0;
}

Application::Application() = default;
Application::~Application() = default;

std::string Application::DefaultStorePath()
{
    return (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            "/Velloran/Tamberlo/store.sqlite3")
        .toStdString();
}

int32_t Application::Logon(const std::string& path, OccurrenceRule rule)
{
    auto db = std::make_shared<StoreDatabase>();
    const int32_t status = db->Open(path);
    db->SetOccurrenceRule(std::move(rule));
    db_ = std::move(db);
    return status;
}

void Application::Logoff()
{
    if (db_) {
        db_->Close();
    }
}

std::wstring Application::LastError() const { return db_ ? db_->LastError() : std::wstring(); }

int32_t Application::GetDefaultFolder(int32_t id, std::shared_ptr<Folder>* out) const
{
    if (out == nullptr || !db_ || !db_->IsOpen() || (id != kCalendarFolder && id != kTasksFolder)) {
        return -1;
    }
    *out = std::make_shared<Folder>(db_, id == kCalendarFolder ? kAppointmentKind : kTaskKind);
    return 0;
}

int32_t Application::CreateItem(int32_t type, std::shared_ptr<AppointmentItem>* out) const
{
    if (out == nullptr || !db_ || !db_->IsOpen() || type != kAppointmentKind) {
        return -1;
    }
    *out = std::make_shared<AppointmentItem>(db_, StoredItem{kAppointmentKind, {}, std::nullopt, {}});
    return 0;
}

int32_t Application::CreateItem(int32_t type, std::shared_ptr<TaskItem>* out) const
{
    if (out == nullptr || !db_ || !db_->IsOpen() || type != kTaskKind) {
        return -1;
    }
    *out = std::make_shared<TaskItem>(db_, StoredItem{kTaskKind, {}, std::nullopt, {}});
    return 0;
}

}  // namespace pim
