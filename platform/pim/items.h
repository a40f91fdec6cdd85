// The items of one folder, read in bulk when the collection was obtained, in ascending Oid.
// Find goes to the store itself, so it also sees items saved since.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/pim/appointment_item.h"
#include "platform/pim/task_item.h"

namespace pim {

class Items {
public:
    Items(std::shared_ptr<StoreDatabase> db, int32_t kind, std::vector<StoredItem> items);

    int32_t Count() const { return static_cast<int32_t>(items_->size()); }
    // 1-based; fails outside 1..Count or for the other kind of item.
    int32_t Item(int32_t n, std::shared_ptr<AppointmentItem>* out) const;
    int32_t Item(int32_t n, std::shared_ptr<TaskItem>* out) const;
    // Accepts exactly "[Oid]=", optional blanks, a decimal id and optional blanks; any other
    // text, or an id that is not there, fails.
    int32_t Find(const std::wstring& restriction, std::shared_ptr<AppointmentItem>* out) const;
    int32_t Find(const std::wstring& restriction, std::shared_ptr<TaskItem>* out) const;

    // The positive object id of a restriction, or -1 for any other text.
    static int32_t ParseOidRestriction(const std::wstring& restriction);

private:
    template <typename ItemType>
    int32_t Hand(const StoredItem* stored, int32_t kind, std::shared_ptr<ItemType>* out) const;
    template <typename ItemType>
    int32_t Found(const std::wstring& restriction, int32_t kind,
                  std::shared_ptr<ItemType>* out) const;
    const StoredItem* At(int32_t n) const;

    std::shared_ptr<StoreDatabase> db_;
    int32_t kind_;
    // Shared with the items handed out, which measure their changes against it.
    std::shared_ptr<const std::vector<StoredItem>> items_;
};

} // namespace pim
