// The program's entry point: the Qt application, then the program's own start-up.
#include <QApplication>

#include "app/main_frame.h"
#include "app/qt_dialog_runner.h"
#include "app/qt_message_service.h"
#include "app/tamberlo_app.h"

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    QtMessageService messages;
    QtDialogRunner dialogs;
    AppEnvironment environment = CTamberloApp::DefaultEnvironment();
    environment.messages = &messages;
    environment.dialogs = &dialogs;
    for (int i = 1; i < argc; ++i)
        environment.arguments.emplace_back(argv[i]);
    CTamberloApp app(environment);
    if (!app.InitInstance()) {
        return 0;
    }
    messages.SetParent(app.MainFrame());
    return QApplication::exec();
}
