// A folder hands out its items, all or those of a range of days, as one bulk-loaded collection.
#include "platform/pim/folder.h"

#include "platform/pim/store_database.h"

namespace pim {

int32_t Folder::GetItems(std::shared_ptr<Items>* out, ItemSelection selection) const
{
    std::vector<StoredItem> items;
    const int32_t status = out == nullptr ? -1 : db_->Load(kind_, 0, items, selection);
    return Hand(status, std::move(items), out);
}

int32_t Folder::GetItems(const DayRange& range, std::shared_ptr<Items>* out) const
{
    std::vector<StoredItem> items;
    const int32_t status = out == nullptr ? -1 : db_->LoadRange(kind_, range, items);
    return Hand(status, std::move(items), out);
}

int32_t Folder::Hand(int32_t status, std::vector<StoredItem> items,
                     std::shared_ptr<Items>* out) const
{
    if (status < 0) {
        return -1;
    }
    *out = std::make_shared<Items>(db_, kind_, std::move(items));
    return 0;
}

} // namespace pim
