// Reading and pruning the document's day tables: entries addressed by row and position, the
// texts in the forms the tables write, and the removal of an item's or occurrence's entries.
#include <algorithm>
#include <cwchar>

#include "model/date_time.h"
#include "model/day_kind.h"
#include "model/tamberlo_doc.h"
#include "model/text_list.h"
#include "platform/clock.h"
#include "res/string_table.h"

namespace {

constexpr wchar_t kHolidayOid[] = L"00000000000000000000";

std::wstring Formatted(const wchar_t* format, int value)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), format, value);
    return text;
}

int Minutes(int16_t digits)
{
    return digits / 100 * 60 + digits % 100;
}

std::wstring ClockText(int16_t digits)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%.2d:%.2d", digits / 100, digits % 100);
    return text;
}

std::wstring OidText(const AppointmentEntry& entry)
{
    return entry.storeIndex == kHolidayStoreIndex ? kHolidayOid : Formatted(L"%20d", entry.oid);
}

} // namespace

bool CTamberloDoc::SetShownStart(const SYSTEMTIME& day)
{
    shownStart_ = day;
    shownOffset_ = DaysBetween(loadStart_, day);
    return shownOffset_ >= 0 && shownOffset_ + shownDayCount_ < kSlotCount;
}

void CTamberloDoc::AddAppointmentEntry(int slot, int position, AppointmentEntry entry)
{
    if (slot < 0 || slot >= kSlotCount) {
        return;
    }
    auto& entries = slots_[slot].appointments;
    const auto at =
        std::clamp<size_t>(static_cast<size_t>(std::max(position, 0)), 0, entries.size());
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

void CTamberloDoc::ReplaceAppointmentEntry(int slot, int position, AppointmentEntry entry)
{
    if (slot < 0 || slot >= kSlotCount || position < 0) {
        return;
    }
    auto& entries = slots_[slot].appointments;
    if (static_cast<size_t>(position) < entries.size()) {
        entries[position] = std::move(entry);
    }
}

void CTamberloDoc::AddTaskEntry(int slot, TaskEntry entry)
{
    if (slot >= 0 && slot < kSlotCount) {
        slots_[slot].tasks.push_back(std::move(entry));
    }
}

int CTamberloDoc::InsertPosition(int slot, int start) const
{
    if (slot < 0 || slot >= kSlotCount) {
        return 0;
    }
    const auto& entries = slots_[slot].appointments;
    const auto later = std::find_if(entries.begin(), entries.end(),
                                    [start](const AppointmentEntry& e) { return e.start > start; });
    return static_cast<int>(later - entries.begin());
}

int CTamberloDoc::FirstEntryKind(int slot) const
{
    const auto& entries = slots_[slot].appointments;
    const bool counted = !entries.empty() && entries.size() < kDayKindEntryLimit;
    return counted ? entries.front().dayKind : kOrdinaryKind;
}

const CTamberloDoc::DaySlot* CTamberloDoc::SlotAt(int row) const
{
    const int slot = shownOffset_ + row;
    return slot >= 0 && slot < kSlotCount ? &slots_[slot] : nullptr;
}

const AppointmentEntry* CTamberloDoc::Appointment(int row, int pos) const
{
    const DaySlot* slot = SlotAt(row);
    const bool held =
        slot != nullptr && pos >= 0 && static_cast<size_t>(pos) < slot->appointments.size();
    return held ? &slot->appointments[pos] : nullptr;
}

const TaskEntry* CTamberloDoc::Task(int row, int pos) const
{
    const DaySlot* slot = SlotAt(row);
    const bool held = slot != nullptr && pos >= 0 && static_cast<size_t>(pos) < slot->tasks.size();
    return held ? &slot->tasks[pos] : nullptr;
}

int CTamberloDoc::ApptCount(int row) const
{
    const DaySlot* slot = SlotAt(row);
    return slot != nullptr ? static_cast<int>(slot->appointments.size()) : 0;
}

std::wstring CTamberloDoc::ApptOid(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? OidText(*e) : std::wstring();
}

std::wstring CTamberloDoc::ApptSerial(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? Formatted(L"%.5d", e->serial) : std::wstring();
}

int CTamberloDoc::ApptStoreIndex(int row, int pos) const
{
    if (SlotAt(row) == nullptr) {
        return 0;
    }
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->storeIndex : -1;
}

int CTamberloDoc::ApptExceptionNo(int row, int pos) const
{
    if (SlotAt(row) == nullptr) {
        return 0;
    }
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->exceptionNo : -1;
}

std::wstring CTamberloDoc::JoinedTexts(int row, std::wstring EntryTexts::*field) const
{
    std::wstring joined;
    if (const DaySlot* slot = SlotAt(row)) {
        for (const AppointmentEntry& e : slot->appointments) {
            joined += (*e.texts).*field + FieldSeparator();
        }
    }
    return joined;
}

std::wstring CTamberloDoc::ApptSubject(int row, int pos) const
{
    if (pos < 0) {
        return JoinedTexts(row, &EntryTexts::subject);
    }
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->texts->subject : std::wstring();
}

std::wstring CTamberloDoc::ApptCategories(int row, int pos) const
{
    if (pos < 0) {
        return JoinedTexts(row, &EntryTexts::categories);
    }
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->texts->categories : std::wstring();
}

std::wstring CTamberloDoc::ApptLocation(int row, int pos) const
{
    if (pos < 0) {
        return JoinedTexts(row, &EntryTexts::location);
    }
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->texts->location : std::wstring();
}

const std::string& CTamberloDoc::ApptMeeting(int row, int pos) const
{
    static const std::string none;
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->texts->meeting : none;
}

int CTamberloDoc::StartMinutes(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? Minutes(e->start) : 0;
}

int CTamberloDoc::EndMinutes(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? Minutes(e->end) : 0;
}

std::wstring CTamberloDoc::StartText(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? ClockText(e->start) : std::wstring();
}

std::wstring CTamberloDoc::EndText(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? ClockText(e->end) : std::wstring();
}

std::wstring CTamberloDoc::ApptStartField(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? Formatted(L"%.4d", e->start) : std::wstring();
}

std::wstring CTamberloDoc::ApptEndField(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? Formatted(L"%.4d", e->end) : std::wstring();
}

bool CTamberloDoc::IsAllDay(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr && e->allDay;
}

int CTamberloDoc::EntryState(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->state : int{kSingleState};
}

bool CTamberloDoc::IsRecurringEntry(int row, int pos) const
{
    return EntryState(row, pos) != kSingleState;
}

int CTamberloDoc::Busy(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->busy : 0;
}

int CTamberloDoc::DayKind(int row, int pos) const
{
    if (ApptCount(row) >= kDayKindEntryLimit) {
        return kOrdinaryKind;
    }
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->dayKind : kOrdinaryKind;
}

int CTamberloDoc::TaskCount(int row) const
{
    const DaySlot* slot = SlotAt(row);
    return slot != nullptr ? static_cast<int>(slot->tasks.size()) : 0;
}

std::wstring CTamberloDoc::TaskOid(int row, int pos) const
{
    const TaskEntry* t = Task(row, pos);
    return t != nullptr ? Formatted(L"%20d", t->oid) : std::wstring();
}

int CTamberloDoc::TaskStoreIndex(int row, int pos) const
{
    if (SlotAt(row) == nullptr) {
        return 0;
    }
    const TaskEntry* t = Task(row, pos);
    return t != nullptr ? t->storeIndex : -1;
}

std::wstring CTamberloDoc::TaskSubject(int row, int pos) const
{
    const TaskEntry* t = Task(row, pos);
    return t != nullptr ? t->texts->subject : std::wstring();
}

std::wstring CTamberloDoc::TaskCategories(int row, int pos) const
{
    if (pos < 0) {
        std::wstring joined;
        if (const DaySlot* slot = SlotAt(row)) {
            for (const TaskEntry& t : slot->tasks) {
                joined += t.texts->categories + FieldSeparator();
            }
        }
        return joined;
    }
    const TaskEntry* t = Task(row, pos);
    return t != nullptr ? t->texts->categories : std::wstring();
}

std::wstring CTamberloDoc::TaskDueKey(int row, int pos) const
{
    const TaskEntry* t = Task(row, pos);
    return t != nullptr ? Formatted(L"%.8d", t->dueKey) : std::wstring();
}

bool CTamberloDoc::TaskFlag(int row, int pos, bool TaskEntry::*flag) const
{
    const TaskEntry* t = Task(row, pos);
    return t != nullptr && t->*flag;
}

bool CTamberloDoc::TaskStartsHere(int row, int pos) const
{
    return TaskFlag(row, pos, &TaskEntry::startsHere);
}

bool CTamberloDoc::TaskMiddle(int row, int pos) const
{
    return TaskFlag(row, pos, &TaskEntry::middle);
}

bool CTamberloDoc::TaskDueHere(int row, int pos) const
{
    return TaskFlag(row, pos, &TaskEntry::dueHere);
}

bool CTamberloDoc::TaskComplete(int row, int pos) const
{
    return TaskFlag(row, pos, &TaskEntry::complete);
}

bool CTamberloDoc::TaskRecurring(int row, int pos) const
{
    return TaskFlag(row, pos, &TaskEntry::recurring);
}

bool CTamberloDoc::TaskHasDue(int row, int pos) const
{
    return TaskFlag(row, pos, &TaskEntry::hasDue);
}

bool CTamberloDoc::TaskOverdue(int row, int pos) const
{
    const TaskEntry* t = Task(row, pos);
    if (t == nullptr || !t->hasDue) {
        return false;
    }
    const SYSTEMTIME today = GetLocalTime();
    return t->dueKey < (today.wYear * 100 + today.wMonth) * 100 + today.wDay;
}

std::wstring CTamberloDoc::TaskDueText(int row, int pos) const
{
    const TaskEntry* t = Task(row, pos);
    if (t == nullptr) {
        return {};
    }
    const int month = t->dueKey / 100 % 100;
    const int day = t->dueKey % 100;
    const bool numericMonths = res::LoadString(res::IDS_NUMERIC_MONTHS) == L"1";
    const std::wstring monthPart =
        numericMonths ? Formatted(res::LoadString(res::IDS_MONTH_NUMBER).c_str(), month)
                      : MonthName(month) + L" ";
    return monthPart + Formatted(res::LoadString(res::IDS_DAY_NUMBER).c_str(), day);
}

void CTamberloDoc::RemoveAppointmentEntry(int slot, int position)
{
    if (slot < 0 || slot >= kSlotCount || position < 0) {
        return;
    }
    auto& entries = slots_[slot].appointments;
    if (static_cast<size_t>(position) < entries.size()) {
        entries.erase(entries.begin() + position);
    }
}

void CTamberloDoc::RemoveTaskEntry(int slot, int position)
{
    if (slot < 0 || slot >= kSlotCount || position < 0) {
        return;
    }
    auto& entries = slots_[slot].tasks;
    if (static_cast<size_t>(position) < entries.size()) {
        entries.erase(entries.begin() + position);
    }
}

void CTamberloDoc::RemoveAppointmentEverywhere(const std::wstring& oid)
{
    for (DaySlot& slot : slots_) {
        std::erase_if(slot.appointments,
                      [&oid](const AppointmentEntry& e) { return OidText(e) == oid; });
    }
}

void CTamberloDoc::RemoveTaskEverywhere(const std::wstring& oid)
{
    for (DaySlot& slot : slots_) {
        std::erase_if(slot.tasks,
                      [&oid](const TaskEntry& t) { return Formatted(L"%20d", t.oid) == oid; });
    }
}

int CTamberloDoc::FindOccurrenceEntry(int row, int32_t oid, int32_t serial) const
{
    const DaySlot* slot = SlotAt(row);
    if (slot == nullptr) {
        return -1;
    }
    const auto& entries = slot->appointments;
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const AppointmentEntry& e) {
        return e.oid == oid && e.serial == serial && e.state <= kChangedState;
    });
    return found != entries.end() ? static_cast<int>(found - entries.begin()) : -1;
}

bool CTamberloDoc::RemoveOccurrenceEntry(int row, int32_t oid, int32_t serial)
{
    const int position = FindOccurrenceEntry(row, oid, serial);
    if (position < 0) {
        return false;
    }
    RemoveAppointmentEntry(shownOffset_ + row, position);
    return true;
}

void CTamberloDoc::RemoveOccurrenceSpan(int row, int pos)
{
    const AppointmentEntry* e = Appointment(row, pos);
    if (e == nullptr) {
        return;
    }
    const int32_t oid = e->oid;
    const int32_t serial = e->serial;
    int earlier = row;
    while (earlier >= -shownOffset_ && RemoveOccurrenceEntry(earlier, oid, serial)) {
        --earlier;
    }
    int later = row + 1;
    while (SlotAt(later) != nullptr && RemoveOccurrenceEntry(later, oid, serial)) {
        ++later;
    }
}

CTamberloDoc::EntryRef CTamberloDoc::FindSpanFirst(int row, int pos) const
{
    EntryRef found{row, pos};
    const AppointmentEntry* e = Appointment(row, pos);
    if (e == nullptr) {
        return found;
    }
    for (int r = row; r >= 0; --r) {
        const int p = FindOccurrenceEntry(r, e->oid, e->serial);
        if (p < 0) {
            break;
        }
        found = {r, p};
    }
    return found;
}

CTamberloDoc::EntryRef CTamberloDoc::FindSpanLast(int row, int pos) const
{
    EntryRef found{row, pos};
    const AppointmentEntry* e = Appointment(row, pos);
    if (e == nullptr) {
        return found;
    }
    for (int r = row; SlotAt(r) != nullptr; ++r) {
        const int p = FindOccurrenceEntry(r, e->oid, e->serial);
        if (p < 0) {
            break;
        }
        found = {r, p};
    }
    return found;
}
