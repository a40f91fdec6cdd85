// A temporary folder per test with the profile, store and settings-file paths inside it.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <string>

class TempPaths {
public:
    // An absolute path for a file of the given name inside the temporary folder.
    std::string File(const std::string& name) const;
    std::string ProfilePath() const { return File("Tamberlo.ini"); }
    std::string StorePath() const { return File("store.sqlite3"); }
    // Writes a file of that name with exactly these bytes, replacing any, and answers its path.
    std::string Write(const std::string& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};
