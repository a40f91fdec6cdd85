// Sync of the calendar store with CalDAV servers.
#include <QCoreApplication>

#include <iostream>

#include "platform/clock.h"
#include "tools/sync/sync_tool.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return RunSync(std::vector<std::string>(argv + 1, argv + argc), GetLocalTime(), std::cout,
                   std::cerr);
}
