// A conflict copy must not be mistaken for the server's item by a later round: it gets a UID of
// its own and no object id, and the ledger keeps it from being pushed until the user keeps it.
#include "sync/conflict_copy.h"

#include <QUuid>

#include <cwchar>

#include "res/string_table.h"

namespace caldav {
namespace {

int ReasonText(ConflictReason reason)
{
    switch (reason) {
    case ConflictReason::ChangedOnBothSides:
        return res::IDS_SYNC_CHANGED_BOTH;
    case ConflictReason::DeletedThere:
        return res::IDS_SYNC_DELETED_THERE;
    case ConflictReason::UnreadableThere:
        break;
    }
    return res::IDS_SYNC_UNREADABLE_THERE;
}

std::wstring TimeText(const SYSTEMTIME& t)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute);
    return text;
}

} // namespace

std::wstring FilledText(int id, std::initializer_list<std::wstring> values)
{
    std::wstring text = res::LoadString(id);
    int n = 1;
    for (const std::wstring& value : values) {
        const std::wstring mark = L"%" + std::to_wstring(n++);
        if (const size_t at = text.find(mark); at != std::wstring::npos) {
            text.replace(at, mark.size(), value);
        }
    }
    return text;
}

pim::StoredItem ConflictCopy(const pim::StoredItem& local, ConflictReason reason,
                             const SYSTEMTIME& now)
{
    pim::StoredItem copy = local;
    copy.fields.Oid = 0;
    copy.fields.UID = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdWString();
    copy.fields.Subject = res::LoadString(res::IDS_SYNC_CONFLICT_SUBJECT, local.fields.Subject);
    const std::wstring memo = FilledText(res::IDS_SYNC_CONFLICT_MEMO,
                                         {TimeText(now), res::LoadString(ReasonText(reason))});
    copy.fields.Body = local.fields.Body.empty() ? memo : memo + L"\r\n" + local.fields.Body;
    for (pim::ExceptionFields& e : copy.exceptions) {
        e.occurrence.Oid = 0;
    }
    return copy;
}

} // namespace caldav
