// Texts are held by their hash only, so the index costs little beside the items it stands
// for; a hit is confirmed against the holder's own text.
#include "ical/kept_index.h"

#include <functional>

namespace ical {

void KeptIndex::Add(const pim::StoredItem& item, int32_t position)
{
    AddText(item.fields.Kept, {item.kind, position, std::nullopt});
    for (const pim::ExceptionFields& e : item.exceptions) {
        if (!e.Deleted) {
            AddText(e.occurrence.Kept, {item.kind, position, e.OriginalDate});
        }
    }
}

void KeptIndex::AddText(const std::string& kept, const Holder& holder)
{
    if (kept.empty()) {
        return;
    }
    const auto [at, added] = byHash_.try_emplace(std::hash<std::string>{}(kept), holder);
    if (!added) {
        at->second.reset();
    }
}

std::optional<KeptIndex::Holder> KeptIndex::Find(const std::string& kept) const
{
    const auto at = byHash_.find(std::hash<std::string>{}(kept));
    return at == byHash_.end() ? std::nullopt : at->second;
}

} // namespace ical
