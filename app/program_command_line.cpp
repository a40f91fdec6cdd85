// The program's command line, answered as every tool of the suite answers it.
#include "app/program_command_line.h"

#include <sstream>

#include "res/command_line.h"

namespace {

constexpr char kProgram[] = "tamberlo";
constexpr char kUsage[] = "Usage: tamberlo [FILE.ics...]\n"
                          "Shows the schedule; each calendar file named is offered for import.\n"
                          "  -h, --help  this text\n"
                          "  --version   the program's version\n"
                          "See also tamberlo(1).\n";

} // namespace

std::optional<CommandLineExit> StandardOptionExit(const std::vector<std::string>& args)
{
    std::ostringstream out;
    if (!res::AnswerStandardOption(args, kProgram, kUsage, out)) {
        return std::nullopt;
    }
    return CommandLineExit{0, out.str(), {}};
}

std::optional<CommandLineExit> UnknownOptionExit(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg.size() > 1 && arg[0] == '-') {
            return CommandLineExit{2, {}, res::UnknownOptionText(kProgram, arg)};
        }
    }
    return std::nullopt;
}
