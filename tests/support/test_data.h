// A file of tests/data read whole, for the tests whose input or expected result is a file.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline std::string TestData(const std::string& name)
{
    std::ifstream in(TAMBERLO_TEST_DATA "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
