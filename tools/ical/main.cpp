// The iCalendar bridge over the calendar store.
#include <QCoreApplication>

#include <iostream>

#include "tools/ical/ical_tool.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return RunIcal(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
