// The calendar or the tasks folder of the store.
#pragma once

#include <memory>

#include "platform/pim/items.h"
#include "platform/pim/store_database.h"

namespace pim {

class Folder {
public:
    Folder(std::shared_ptr<StoreDatabase> db, int32_t kind) : db_(std::move(db)), kind_(kind) {}

    // Reads the folder's items in bulk; fails when the store cannot be read.
    int32_t GetItems(std::shared_ptr<Items>* out,
                     ItemSelection selection = ItemSelection::All) const;
    // Only the items that can show on a day of the range (StoreDatabase::LoadRange).
    int32_t GetItems(const DayRange& range, std::shared_ptr<Items>* out) const;

private:
    int32_t Hand(int32_t status, std::vector<StoredItem> items, std::shared_ptr<Items>* out) const;

    std::shared_ptr<StoreDatabase> db_;
    int32_t kind_;
};

} // namespace pim
