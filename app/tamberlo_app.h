// The application object: start-up in the program's order, the main window, and the settings
// saved on the way out.
#pragma once

#include <QApplication>
#include <memory>

class CMainFrame;

class CTamberloApp {
public:
    CTamberloApp(int& argc, char** argv);
    ~CTamberloApp();
    bool InitInstance();
    int Run();

private:
    QApplication qt_;
    std::unique_ptr<CMainFrame> frame_;
};
