// Opening a store file without ever damaging one it cannot use: a missing file is made whole
// under a draft name and published, an existing one is recognised by reads alone before a byte
// is written, and an older store of ours is brought up to date in one transaction.
#pragma once

#include <cstdint>
#include <string>

namespace pim {

class StoreConnection;

enum class OpenAccess { ReadWrite, ReadOnly };

// What tells a store from another file put in its place: the random id written when it was made
// (empty for a store too old to carry one) and the file's device and inode.
struct FileIdentity {
    std::wstring id;
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Opens `path` on `db` (closed first). A file that is empty, not a store of ours, of a newer
// version, damaged, cut short or locked fails with a negative status and db.LastError(), and is
// left as it was. A store the user may not write opens read-only, the reason in LastError().
int32_t OpenStore(StoreConnection& db, const std::string& path, OpenAccess access,
                  FileIdentity& identity);

} // namespace pim
