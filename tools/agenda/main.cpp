// The terminal agenda over the calendar store.
#include <iostream>

#include "tools/agenda/agenda.h"

int main(int argc, char* argv[])
{
    return RunAgenda(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
