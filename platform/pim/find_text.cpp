// Folding through Qt's Unicode tables; the SQL function lets migrations and saves fold inside
// SQLite, in the statement that writes the index.
#include "platform/pim/find_text.h"

#include <QString>
#include <sqlite3.h>

namespace pim {
namespace {

QString Fold(const QString& text)
{
    const QString decomposed = text.toLower().normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing) {
            continue;
        }
        if (c == QChar(0x00DF)) {
            folded += QStringLiteral("ss");
        } else {
            folded += c;
        }
    }
    return folded;
}

void FindFold(sqlite3_context* context, int count, sqlite3_value** values)
{
    QString joined;
    for (int i = 0; i < count; ++i) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[i]));
        if (i > 0) {
            joined += QLatin1Char('\n');
        }
        if (text != nullptr) {
            joined += QString::fromUtf8(text);
        }
    }
    const QByteArray utf8 = Fold(joined).toUtf8();
    sqlite3_result_text(context, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

std::wstring FoldForFind(const std::wstring& text)
{
    return Fold(QString::fromStdWString(text)).toStdWString();
}

int RegisterFindFold(sqlite3* db)
{
    return sqlite3_create_function(db, "find_fold", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   FindFold, nullptr, nullptr) == SQLITE_OK
               ? 0
               : -1;
}

} // namespace pim
