// A folder hands out its items as one bulk-loaded collection.
#include "platform/pim/folder.h"

#include "platform/pim/store_database.h"

namespace pim {

int32_t Folder::GetItems(std::shared_ptr<Items>* out, ItemSelection selection) const
{
    std::vector<StoredItem> items;
    if (out == nullptr || db_->Load(kind_, 0, items, selection) < 0) {
        return -1;
    }
    *out = std::make_shared<Items>(db_, kind_, std::move(items));
    return 0;
}

}  // namespace pim
