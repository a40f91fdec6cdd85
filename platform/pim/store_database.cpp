// The store as one object: the opener fills the connection and the identity; reads and writes go
// to the reader and the writer over the same connection.
#include "platform/pim/store_database.h"

namespace pim {

int32_t StoreDatabase::Open(const std::string& path, Access access)
{
    return OpenStore(db_, path, access, identity_);
}

} // namespace pim
