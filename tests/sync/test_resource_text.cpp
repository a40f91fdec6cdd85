// One item per resource: every kind of demo item reads back from its own text as the same item,
// and a resource the store cannot hold exactly is refused with its reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "model/date_time.h"
#include "model/recurrence.h"
#include "platform/pim/demo_calendar.h"
#include "res/string_table.h"
#include "sync/conflict_copy.h"
#include "sync/resource_text.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/temp_paths.h"

namespace {

QByteArray Calendar(const std::string& components)
{
    return QByteArray::fromStdString("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n" +
                                     components + "END:VCALENDAR\r\n");
}

std::string Event(const std::string& uid, const std::string& more = {})
{
    return "BEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:Standup\r\n"
           "DTSTART:20261207T090000Z\r\nDTEND:20261207T091500Z\r\n" +
           more + "END:VEVENT\r\n";
}

} // namespace

TEST(ResourceText, EveryDemoItemComesBackFromItsResource)
{
    for (const char* zone : {"Europe/Berlin", "America/New_York"}) {
        SCOPED_TRACE(zone);
        ScopedZone scoped(zone);
        TempPaths paths;
        ASSERT_EQ(pim::WriteDemoStore(paths.StorePath(), OccurrenceOnDay, kToday, 300, 60, 5), 0);
        int series = 0;
        for (pim::StoredItem item : StoredItems(paths.StorePath())) {
            item.fields.UID = L"u" + std::to_wstring(item.fields.Oid);
            const caldav::ResourceItem read =
                caldav::ReadResource(caldav::ResourceText(item, kToday), kToday);
            ASSERT_TRUE(read.item) << QString::fromStdWString(read.reason).toStdString();
            EXPECT_TRUE(caldav::SameResource(item, *read.item, kToday)) << item.fields.Oid;
            // What the other side stores is what it would send back.
            EXPECT_EQ(caldav::ReadResource(caldav::ResourceText(*read.item, kToday), kToday).item,
                      read.item);
            series += static_cast<int>(item.pattern && !item.exceptions.empty());
        }
        EXPECT_GT(series, 5);
    }
}

TEST(ResourceText, ResourcesTheStoreCannotHoldAreRefused)
{
    ScopedZone zone("UTC");
    const std::pair<QByteArray, const wchar_t*> refused[] = {
        {Calendar(Event("a", "RRULE:FREQ=MINUTELY;INTERVAL=5\r\n")), L"Standup"},
        {Calendar(Event("a") + Event("b")), L"more than one item"},
        {Calendar(Event("a", "RRULE:FREQ=WEEKLY;BYDAY=TU\r\n")), L"DTSTART is not one of"},
        {Calendar(Event("a", "RECURRENCE-ID:20261208T090000Z\r\n")), L"no appointment"},
        {Calendar(Event("a", "RRULE:FREQ=DAILY\r\n") +
                  Event("b", "RECURRENCE-ID:20261208T090000Z\r\n")),
         L"different UIDs"},
        {Calendar(""), L"no appointment or task"},
        {QByteArray("not a calendar"), L"no appointment or task"},
    };
    for (const auto& [text, reason] : refused) {
        const caldav::ResourceItem read = caldav::ReadResource(text, kToday);
        EXPECT_FALSE(read.item) << text.toStdString();
        EXPECT_NE(read.reason.find(reason), std::wstring::npos)
            << QString::fromStdWString(read.reason).toStdString();
    }
    const caldav::ResourceItem series = caldav::ReadResource(
        Calendar(Event("s", "RRULE:FREQ=DAILY\r\nEXDATE:20261209T090000Z\r\n") +
                 Event("s", "RECURRENCE-ID:20261208T090000Z\r\nLOCATION:Hall\r\n")),
        kToday);
    ASSERT_TRUE(series.item && series.item->exceptions.size() == 2U);
    EXPECT_EQ(series.item->exceptions[0].occurrence.Location, L"Hall");
    EXPECT_TRUE(series.item->exceptions[1].Deleted);
}

// A DURATION ends at the equal DTEND to the bit; seeded lengths up to days, starts all day.
TEST(ResourceText, ADurationEndsWhereTheEqualDtendDoes)
{
    ScopedZone zone("UTC");
    std::mt19937 random(357);
    for (int i = 0; i < 400; ++i) {
        const int startSeconds = static_cast<int>(random() % 86400);
        const int length = static_cast<int>(random() % (3UL * 86400));
        char start[32];
        std::snprintf(start, sizeof start, "20261207T%02d%02d%02dZ", startSeconds / 3600,
                      startSeconds / 60 % 60, startSeconds % 60);
        const std::string event = "BEGIN:VEVENT\r\nUID:d\r\nDTSTAMP:20261201T000000Z\r\n"
                                  "DTSTART:" +
                                  std::string(start) + "\r\nDURATION:PT" + std::to_string(length) +
                                  "S\r\nEND:VEVENT\r\n";
        const caldav::ResourceItem read = caldav::ReadResource(Calendar(event), kToday);
        ASSERT_TRUE(read.item) << event << QString::fromStdWString(read.reason).toStdString();
        EXPECT_EQ(read.item->fields.End, AddSeconds(read.item->fields.Start, length)) << event;
    }
}

TEST(ResourceText, AConflictCopyIsANewItemThatSaysWhenAndWhy)
{
    pim::StoredItem local;
    local.fields.Oid = 7;
    local.fields.UID = L"orig";
    local.fields.Subject = L"Review";
    local.fields.Body = L"agenda";
    local.exceptions.push_back({46000.0, false, local.fields});
    const pim::StoredItem copy = caldav::ConflictCopy(
        local, caldav::ConflictReason::ChangedOnBothSides, MakeSystemTime(2026, 12, 7, 9, 5));
    EXPECT_TRUE(copy.fields.Oid == 0 && copy.exceptions[0].occurrence.Oid == 0);
    EXPECT_EQ(std::make_pair(copy.fields.UID.size(), copy.fields.Subject),
              std::make_pair(size_t{36}, std::wstring(L"Conflict: Review")));
    EXPECT_EQ(copy.fields.Body, L"Kept by the sync on 2026-12-07 09:05: " +
                                    res::LoadString(res::IDS_SYNC_CHANGED_BOTH) + L"\r\nagenda");
    EXPECT_NE(caldav::ConflictCopy(local, caldav::ConflictReason::DeletedThere, kToday).fields.UID,
              copy.fields.UID);
}

// An edited item goes back with the lines it came with (which survive which edit: kept_component).
TEST(ResourceText, AnEditedItemGoesBackWithTheLinesItCameWith)
{
    ScopedZone zone("UTC");
    caldav::ResourceItem read = caldav::ReadResource(
        Calendar(Event("m", "ORGANIZER;CN=Ann:mailto:ann@example.com\r\nX-MOZ-GENERATION:7\r\n")),
        kToday);
    ASSERT_TRUE(read.item);
    read.item->fields.Subject = L"Review";
    const QByteArray text = caldav::ResourceText(*read.item, kToday);
    for (const char* line : {"ORGANIZER;CN=Ann:mailto:ann@example.com\r\n",
                             "X-MOZ-GENERATION:7\r\n", "SUMMARY:Review\r\n"}) {
        EXPECT_TRUE(text.contains(line)) << line << text.toStdString();
    }
}
