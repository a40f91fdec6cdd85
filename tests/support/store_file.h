// Raw access to a store file beside the program's own connection: its bytes, and another
// program's connection that runs SQL behind the program's back and reads numbers from it.
#pragma once

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <string>

inline QByteArray Bytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Another program's connection to the store file, closed with the object.
class OtherProgram {
public:
    explicit OtherProgram(const std::string& path,
                          int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
    {
        EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db_, flags, nullptr), SQLITE_OK) << path;
    }
    ~OtherProgram() { sqlite3_close(db_); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    bool Run(const std::string& sql)
    {
        return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // The first column of the first row; 0 for a statement without rows, -1 for a failure.
    int64_t Number(const std::string& sql)
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr);
        const int step = sqlite3_step(s);
        const int64_t value = step == SQLITE_ROW    ? sqlite3_column_int64(s, 0)
                              : step == SQLITE_DONE ? 0
                                                    : -1;
        sqlite3_finalize(s);
        return value;
    }
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

inline void Sql(const std::string& path, const std::string& sql)
{
    EXPECT_TRUE(OtherProgram(path).Run(sql)) << sql;
}

inline int64_t SqlNumber(const std::string& path, const std::string& sql)
{
    return OtherProgram(path, SQLITE_OPEN_READONLY).Number(sql);
}
