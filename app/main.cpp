// The program's entry point: the application object does the start-up and runs the window.
#include "app/tamberlo_app.h"

int main(int argc, char** argv)
{
    CTamberloApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return app.Run();
}
