// The options every program of the suite answers the same way: -h / --help and --version, and
// the one line that names an unknown option.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace res {

// The version the about dialog and every --version show.
inline constexpr const char* kProgramVersion = "2.02a";

enum class StandardOption { kNone, kHelp, kVersion };

// The first of -h, --help or --version among the arguments (after the program's name).
StandardOption FindStandardOption(const std::vector<std::string>& args);
// Prints `usage` or the version line to `out` when the arguments ask for either; true when they
// did, and the program then ends with exit code 0.
bool AnswerStandardOption(const std::vector<std::string>& args, const std::string& program,
                          const std::string& usage, std::ostream& out);
// "<program> 2.02a (build 0.1.0)", with a newline.
std::string VersionText(const std::string& program);
// "<program>: unknown option '<option>' (see --help)", with a newline.
std::string UnknownOptionText(const std::string& program, const std::string& option);

} // namespace res
