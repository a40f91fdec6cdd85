// 1-based access to a pattern's exceptions.
#include "platform/pim/exceptions.h"

namespace pim {

int32_t Exceptions::Item(int32_t n, std::shared_ptr<Exception>* out) const
{
    if (out == nullptr || n < 1 || n > Count()) {
        return -1;
    }
    *out = items_[static_cast<size_t>(n - 1)];
    return 0;
}

} // namespace pim
