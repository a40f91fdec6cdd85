// What the program's command line asks before a window opens: -h/--help and --version print and
// end the program; an option it does not know ends it with one line. Anything else is a file.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLineExit {
    int exitCode = 0;
    std::string out; // for standard output
    std::string err; // for standard error
};

// The answer to -h, --help or --version; none when the program is to start. Read before the
// window system is asked for, so it works without a display.
std::optional<CommandLineExit> StandardOptionExit(const std::vector<std::string>& args);
// Exit code 2 and one line for the first argument that looks like an option; none when every
// argument is a file. Read after the toolkit took its own options out.
std::optional<CommandLineExit> UnknownOptionExit(const std::vector<std::string>& args);
