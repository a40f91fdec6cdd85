// Start-up and the event loop.
#include "app/tamberlo_app.h"

#include <QMainWindow>

class CMainFrame : public QMainWindow {};

CTamberloApp::CTamberloApp(int& argc, char** argv) : qt_(argc, argv) {}
CTamberloApp::~CTamberloApp() = default;

bool CTamberloApp::InitInstance()
{
    frame_ = std::make_unique<CMainFrame>();
    frame_->show();
    return true;
}

int CTamberloApp::Run() { return QApplication::exec(); }
