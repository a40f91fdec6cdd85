// The command line of tamberlo-sync: its command, its options and their values, each option
// taken only with the commands it belongs to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pim/application.h"
#include "platform/profile.h"

struct SyncArguments {
    std::string command; // empty: the rounds
    std::string store = pim::Application::DefaultStorePath();
    std::string profile = Profile::DefaultPath();
    std::string trust;
    std::string passwordCommand;
    std::string url;
    std::string user;
    std::string events;
    std::string tasks;
    std::string name;                   // subscribe --name
    std::vector<std::string> calendars; // --calendar, each
    int32_t id = 0;
    int32_t account = 0; // --account: 0 for every account
};

// The message of the first bad argument, or empty. Options may come before or after the
// command: the command is the first word that is no option nor an option's value.
std::string ParseSyncArguments(const std::vector<std::string>& args, SyncArguments& a);
