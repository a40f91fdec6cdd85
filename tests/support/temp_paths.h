// A temporary folder per test with the profile, store and settings-file paths inside it.
#pragma once

#include <QTemporaryDir>
#include <string>

class TempPaths {
public:
    TempPaths();
    // An absolute path for a file of the given name inside the temporary folder.
    std::string File(const std::string& name) const;
    std::string ProfilePath() const { return File("Tamberlo.ini"); }
    std::string StorePath() const { return File("store.sqlite3"); }

private:
    QTemporaryDir dir_;
};
