// Raw access to a store file beside the store's own connection, for the store tests: its bytes,
// SQL run on it as another program would, and a number read from it.
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

inline void Sql(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

inline int64_t SqlNumber(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* s = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    const int64_t value = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
    sqlite3_finalize(s);
    sqlite3_close(db);
    return value;
}
