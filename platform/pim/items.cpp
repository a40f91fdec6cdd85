// Item collections: 1-based access to the bulk-loaded snapshot and the strict object-id find.
#include "platform/pim/items.h"

#include <cstdint>
#include <limits>

#include "platform/pim/store_database.h"

namespace pim {
namespace {

constexpr wchar_t kOidPrefix[] = L"[Oid]=";

size_t SkipBlanks(const std::wstring& text, size_t i)
{
    while (i < text.size() && text[i] == L' ') {
        ++i;
    }
    return i;
}

} // namespace

Items::Items(std::shared_ptr<StoreDatabase> db, int32_t kind, std::vector<StoredItem> items)
    : db_(std::move(db)), kind_(kind),
      items_(std::make_shared<const std::vector<StoredItem>>(std::move(items)))
{
}

// The text never reaches SQL: only the number parsed here is bound to a query.
int32_t Items::ParseOidRestriction(const std::wstring& restriction)
{
    const std::wstring prefix = kOidPrefix;
    if (restriction.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    size_t i = SkipBlanks(restriction, prefix.size());
    const size_t firstDigit = i;
    int64_t value = 0;
    for (; i < restriction.size() && restriction[i] >= L'0' && restriction[i] <= L'9'; ++i) {
        value = value * 10 + (restriction[i] - L'0');
        if (value > std::numeric_limits<int32_t>::max()) {
            return -1;
        }
    }
    const bool onlyBlanksAfter = SkipBlanks(restriction, i) == restriction.size();
    return i > firstDigit && onlyBlanksAfter && value > 0 ? static_cast<int32_t>(value) : -1;
}

const StoredItem* Items::At(int32_t n) const
{
    return n >= 1 && n <= Count() ? &(*items_)[static_cast<size_t>(n - 1)] : nullptr;
}

template <typename ItemType>
int32_t Items::Hand(const StoredItem* stored, int32_t kind, std::shared_ptr<ItemType>* out) const
{
    if (out == nullptr || stored == nullptr || kind != kind_) {
        return -1;
    }
    *out = std::make_shared<ItemType>(db_, std::shared_ptr<const StoredItem>(items_, stored));
    return 0;
}

template <typename ItemType>
int32_t Items::Found(const std::wstring& restriction, int32_t kind,
                     std::shared_ptr<ItemType>* out) const
{
    const int32_t oid = ParseOidRestriction(restriction);
    std::vector<StoredItem> found;
    if (oid <= 0 || kind != kind_ || db_->Load(kind, oid, found) < 0 || found.size() != 1) {
        return -1;
    }
    *out = std::make_shared<ItemType>(db_, std::move(found.front()));
    return 0;
}

int32_t Items::Item(int32_t n, std::shared_ptr<AppointmentItem>* out) const
{
    return Hand(At(n), kAppointmentKind, out);
}

int32_t Items::Item(int32_t n, std::shared_ptr<TaskItem>* out) const
{
    return Hand(At(n), kTaskKind, out);
}

int32_t Items::Find(const std::wstring& restriction, std::shared_ptr<AppointmentItem>* out) const
{
    return Found(restriction, kAppointmentKind, out);
}

int32_t Items::Find(const std::wstring& restriction, std::shared_ptr<TaskItem>* out) const
{
    return Found(restriction, kTaskKind, out);
}

} // namespace pim
