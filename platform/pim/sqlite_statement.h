// One prepared SQLite statement with positional binding and typed column reads. Every value the
// store writes or looks up travels through a bound parameter, never through SQL text.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace pim {

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const std::string& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Each Bind fills the next parameter; a failed prepare or bind makes Step fail.
    SqliteStatement& Bind(int64_t value);
    SqliteStatement& Bind(int32_t value) { return Bind(int64_t{value}); }
    SqliteStatement& Bind(bool value) { return Bind(int64_t{value ? 1 : 0}); }
    SqliteStatement& Bind(double value);
    SqliteStatement& Bind(const std::wstring& value);
    // Text that is UTF-8 already, bound as it is.
    SqliteStatement& Bind(const std::string& value);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    // Clears the bindings and any failed bind so the statement can run again with new values.
    void Reset();
    bool Prepared() const { return stmt_ != nullptr; }

    int32_t Int(int column) const;
    int64_t Int64(int column) const;
    double Real(int column) const;
    std::wstring Text(int column) const;
    std::string Utf8Text(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool ok_ = false;
    int bound_ = 0;
};

} // namespace pim
