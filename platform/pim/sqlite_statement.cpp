// Prepared statements for the store. Text is kept as UTF-8 in the file and converted to and
// from program text here, in one place.
#include "platform/pim/sqlite_statement.h"

#include <QString>
#include <sqlite3.h>

namespace pim {

SqliteStatement::SqliteStatement(sqlite3* db, const std::string& sql)
{
    ok_ = db != nullptr && sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) == SQLITE_OK;
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

SqliteStatement& SqliteStatement::Bind(int64_t value)
{
    ok_ = ok_ && sqlite3_bind_int64(stmt_, ++bound_, value) == SQLITE_OK;
    return *this;
}

SqliteStatement& SqliteStatement::Bind(double value)
{
    ok_ = ok_ && sqlite3_bind_double(stmt_, ++bound_, value) == SQLITE_OK;
    return *this;
}

SqliteStatement& SqliteStatement::Bind(const std::wstring& value)
{
    // Plain ASCII, most of what a save binds, is its own UTF-8.
    wchar_t high = 0;
    for (const wchar_t c : value) {
        high |= c;
    }
    const std::string utf8 = (high & ~0x7F) == 0
                                 ? std::string(value.begin(), value.end())
                                 : QString::fromStdWString(value).toUtf8().toStdString();
    ok_ = ok_ && sqlite3_bind_text(stmt_, ++bound_, utf8.data(), static_cast<int>(utf8.size()),
                                   SQLITE_TRANSIENT) == SQLITE_OK;
    return *this;
}

SqliteStatement& SqliteStatement::Bind(const std::string& value)
{
    ok_ = ok_ && sqlite3_bind_text(stmt_, ++bound_, value.data(), static_cast<int>(value.size()),
                                   SQLITE_TRANSIENT) == SQLITE_OK;
    return *this;
}

int SqliteStatement::Step()
{
    return ok_ ? sqlite3_step(stmt_) : SQLITE_ERROR;
}

void SqliteStatement::Reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    bound_ = 0;
    ok_ = stmt_ != nullptr;
}

int32_t SqliteStatement::Int(int column) const
{
    return static_cast<int32_t>(sqlite3_column_int64(stmt_, column));
}

int64_t SqliteStatement::Int64(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double SqliteStatement::Real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

std::wstring SqliteStatement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int bytes = sqlite3_column_bytes(stmt_, column);
    if (text == nullptr) {
        return {};
    }
    // Most store text is plain ASCII; it needs no decoding, and loads read a lot of it. The
    // test and the widening are two plain loops, which the compiler runs many bytes at a time.
    const auto* begin = reinterpret_cast<const unsigned char*>(text);
    unsigned char high = 0;
    for (int i = 0; i < bytes; ++i) {
        high = static_cast<unsigned char>(high | begin[i]);
    }
    if ((high & 0x80) != 0) {
        return QString::fromUtf8(text, bytes).toStdWString();
    }
    return std::wstring(begin, begin + bytes);
}

std::string SqliteStatement::Utf8Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text == nullptr
               ? std::string()
               : std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

} // namespace pim
