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

private:
    std::shared_ptr<StoreDatabase> db_;
    int32_t kind_;
};

}  // namespace pim
