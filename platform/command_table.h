// Command dispatch by numeric id: each window class fills one table of handlers and update
// handlers, and a router asks the tables in order (view, document, frame, application), so the
// menus, keys and the context menu all reach the same first handler.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// What an update handler decides before a menu item is shown.
struct CommandUpdate {
    bool enabled = true;
    bool checked = false;
    std::optional<std::wstring> text; // replaces the resource text when set
};

class CommandTable {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CommandUpdate&)>;

    // A command without an update handler is always enabled and unchecked. An empty handler
    // leaves the row waiting for one (see SetHandler): it decides texts and checks, but the
    // command stays disabled until some table in the chain can run it.
    void Add(int id, Handler handler, UpdateHandler update = {});
    // Gives a row (added now if missing) the handler that runs it.
    void SetHandler(int id, Handler handler);
    bool Handles(int id) const { return entries_.contains(id); }
    bool HasHandler(int id) const;
    // False when the table has no handler for the id.
    bool Execute(int id) const;
    // False when the table has no row for the id.
    bool Update(int id, CommandUpdate& update) const;

private:
    struct Entry {
        Handler handler;
        UpdateHandler update;
    };
    std::unordered_map<int, Entry> entries_;
};

class CommandRouter {
public:
    // Tables are asked in the order they were appended; they must outlive the router's use.
    void Append(const CommandTable* table) { chain_.push_back(table); }
    // Runs the first handler of the id; false when no table has one.
    bool Execute(int id) const;
    // The state decided by the first table with a row for the id; a command that no table can
    // run is disabled whatever that row says.
    CommandUpdate Update(int id) const;

private:
    std::vector<const CommandTable*> chain_;
};
