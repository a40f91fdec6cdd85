// tamberlo-reminders [--store FILE] [--state FILE]: the command line, read apart from running so
// the tests can check it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct ReminderCommandLine {
    std::string storePath; // empty: the user's store
    std::string statePath; // empty: under the XDG state folder
};

// The arguments without the program name. False, with one line on `err`, for anything else.
bool ParseReminderCommandLine(const std::vector<std::string>& args, ReminderCommandLine& options,
                              std::ostream& err);

// The text of -h and --help.
const char* ReminderUsage();

// $XDG_STATE_HOME (else ~/.local/state) /Velloran/Tamberlo/reminders.json.
std::string DefaultStatePath();
