// The program's entry point: the command line's own options, the Qt application, then the
// program's own start-up.
#include <QApplication>
#include <iostream>

#include "app/main_frame.h"
#include "app/program_command_line.h"
#include "app/qt_dialog_runner.h"
#include "app/qt_message_service.h"
#include "app/sync_rounds.h"
#include "app/tamberlo_app.h"

namespace {

int Finish(const CommandLineExit& exit)
{
    std::cout << exit.out;
    std::cerr << exit.err;
    return exit.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto exit = StandardOptionExit(std::vector<std::string>(argv + 1, argv + argc))) {
        return Finish(*exit);
    }
    QApplication qt(argc, argv);
    // Qt has taken out its own options (-platform, -style, ...); what is left is ours.
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto exit = UnknownOptionExit(args)) {
        return Finish(*exit);
    }
    QtMessageService messages;
    QtDialogRunner dialogs;
    AppEnvironment environment = CTamberloApp::DefaultEnvironment();
    environment.messages = &messages;
    environment.dialogs = &dialogs;
    environment.arguments = args;
    environment.network = CalDavNetwork();
    CTamberloApp app(environment);
    if (!app.InitInstance()) {
        return 0;
    }
    messages.SetParent(app.MainFrame());
    return QApplication::exec();
}
