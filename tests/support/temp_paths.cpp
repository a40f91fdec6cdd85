// Temporary paths for tests; the folder and everything in it go when the object does.
#include "tests/support/temp_paths.h"

TempPaths::TempPaths() = default;

std::string TempPaths::File(const std::string& name) const
{
    return dir_.filePath(QString::fromStdString(name)).toStdString();
}
