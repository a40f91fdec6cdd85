// Each option is checked against the command it came with, wherever it stands on the line.
#include "tools/sync/sync_arguments.h"

#include <optional>
#include <utility>

namespace {

std::optional<int32_t> ParseId(const std::string& text)
{
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int32_t id = std::stoi(text);
    return id > 0 ? std::optional<int32_t>(id) : std::nullopt;
}

bool IsCommand(const std::string& word)
{
    return word == "discover" || word == "add" || word == "list" || word == "remove" ||
           word == "subscribe" || word == "unsubscribe";
}

bool TakesValue(const std::string& name)
{
    return name == "--store" || name == "--profile" || name == "--password-command" ||
           name == "--user" || name == "--trust" || name == "--events" || name == "--tasks" ||
           name == "--account" || name == "--calendar" || name == "--name";
}

// Whether the option belongs with the command (the global ones go with any).
bool Fits(const std::string& name, const std::string& command)
{
    if (name == "--user") {
        return command == "discover" || command == "add";
    }
    if (name == "--trust") {
        return command == "discover" || command == "add" || command == "subscribe";
    }
    if (name == "--name") {
        return command == "subscribe";
    }
    if (name == "--events" || name == "--tasks" || name == "--calendar") {
        return command == "add";
    }
    if (name == "--account") {
        return command.empty();
    }
    return true;
}

} // namespace

std::string ParseSyncArguments(const std::vector<std::string>& args, SyncArguments& a)
{
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind('-', 0) != 0) {
            if (a.command.empty() && positional.empty()) {
                if (!IsCommand(word)) {
                    return "unknown command: " + word;
                }
                a.command = word;
            } else {
                positional.push_back(word);
            }
        } else if (!TakesValue(word)) {
            return "unknown argument: " + word;
        } else if (i + 1 >= args.size()) {
            return "missing value after " + word;
        } else {
            options.emplace_back(word, args[++i]);
        }
    }
    for (const auto& [name, value] : options) {
        if (!Fits(name, a.command)) {
            return "unknown argument: " + name;
        }
        if (name == "--account") {
            const std::optional<int32_t> id = ParseId(value);
            if (!id) {
                return "bad account id: " + value;
            }
            a.account = *id;
            continue;
        }
        if (name == "--calendar") {
            a.calendars.push_back(value);
            continue;
        }
        (name == "--store"              ? a.store
         : name == "--profile"          ? a.profile
         : name == "--password-command" ? a.passwordCommand
         : name == "--user"             ? a.user
         : name == "--trust"            ? a.trust
         : name == "--events"           ? a.events
         : name == "--name"             ? a.name
                                        : a.tasks) = value;
    }
    const size_t wanted = a.command.empty() || a.command == "list" ? 0 : 1;
    if (positional.size() != wanted) {
        return positional.size() < wanted
                   ? "missing " + std::string(a.command == "remove"        ? "account id"
                                              : a.command == "unsubscribe" ? "subscription"
                                                                           : "server address")
                   : "unexpected argument: " + positional.back();
    }
    if (a.command == "remove") {
        const std::optional<int32_t> id = ParseId(positional[0]);
        if (!id) {
            return "bad account id: " + positional[0];
        }
        a.id = *id;
    } else if (wanted == 1) {
        a.url = positional[0];
        if (a.user.empty() && a.command != "subscribe" && a.command != "unsubscribe") {
            return a.command + " needs --user";
        }
    }
    return {};
}
