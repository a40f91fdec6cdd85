// The exceptions of a pattern in ascending original date, as the pattern held them when the
// list was asked for.
#pragma once

#include <memory>
#include <vector>

#include "platform/pim/exception.h"

namespace pim {

class Exceptions {
public:
    explicit Exceptions(std::vector<std::shared_ptr<Exception>> items) : items_(std::move(items)) {}

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // 1-based; fails outside 1..Count.
    int32_t Item(int32_t n, std::shared_ptr<Exception>* out) const;

private:
    std::vector<std::shared_ptr<Exception>> items_;
};

} // namespace pim
