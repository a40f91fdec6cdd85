// The program's version as its about dialog shows it, and the build it was made from.
#include "res/command_line.h"

#include <QString>

#include "res/build_version.h"

namespace res {

StandardOption FindStandardOption(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") {
            return StandardOption::kHelp;
        }
        if (arg == "--version") {
            return StandardOption::kVersion;
        }
    }
    return StandardOption::kNone;
}

bool AnswerStandardOption(const std::vector<std::string>& args, const std::string& program,
                          const std::string& usage, std::ostream& out)
{
    switch (FindStandardOption(args)) {
    case StandardOption::kHelp:
        out << usage;
        return true;
    case StandardOption::kVersion:
        out << VersionText(program);
        return true;
    case StandardOption::kNone:
        break;
    }
    return false;
}

std::string VersionText(const std::string& program)
{
    return program + " " + kProgramVersion + " (build " +
           QString::fromWCharArray(kBuildVersion).toStdString() + ")\n";
}

std::string UnknownOptionText(const std::string& program, const std::string& option)
{
    return program + ": unknown option '" + option + "' (see --help)\n";
}

} // namespace res
