// Command tables and the routing between them.
#include "platform/command_table.h"

#include <algorithm>

void CommandTable::Add(int id, Handler handler, UpdateHandler update)
{
    entries_[id] = Entry{std::move(handler), std::move(update)};
}

void CommandTable::SetHandler(int id, Handler handler)
{
    entries_[id].handler = std::move(handler);
}

bool CommandTable::HasHandler(int id) const
{
    const auto found = entries_.find(id);
    return found != entries_.end() && found->second.handler;
}

bool CommandTable::Execute(int id) const
{
    const auto found = entries_.find(id);
    if (found == entries_.end() || !found->second.handler) {
        return false;
    }
    found->second.handler();
    return true;
}

bool CommandTable::Update(int id, CommandUpdate& update) const
{
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return false;
    }
    if (found->second.update) {
        found->second.update(update);
    }
    return true;
}

bool CommandRouter::Execute(int id) const
{
    return std::ranges::any_of(chain_,
                               [id](const CommandTable* table) { return table->Execute(id); });
}

CommandUpdate CommandRouter::Update(int id) const
{
    CommandUpdate update;
    bool decided = false;
    bool runnable = false;
    for (const CommandTable* table : chain_) {
        if (!decided) {
            decided = table->Update(id, update);
        }
        runnable = runnable || table->HasHandler(id);
    }
    update.enabled = update.enabled && runnable;
    return update;
}
