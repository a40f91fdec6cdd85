// The change path over a real store file and document when a change cannot be made: failures
// change neither. Saves, deletes, exceptions and task completion are driven through the editing
// commands' tests. "Today", Monday 7 December 2026, is row 0.
#include "model/schedule_edits.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/temp_paths.h"

namespace {

DATE At(int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(2026, 12, day, hour, minute));
}

class ScheduleEditsTest : public ::testing::Test {
protected:
    ScheduleEditsTest()
        : useClock_(clock_), session_(paths_.StorePath(), OccurrenceOnDay),
          doc_(session_, settings_), edits_(doc_, session_)
    {
    }

    // A plain appointment on `day` from 10:00 to 11:00.
    static ItemValues Values(const std::wstring& subject, int day)
    {
        ItemValues v;
        v.fields.Subject = subject;
        v.fields.Start = At(day, 10);
        v.fields.End = At(day, 11);
        return v;
    }

    int32_t Add(const ItemValues& values)
    {
        ScheduleChange add{ChangeKind::kSave, {pim::kAppointmentKind, 0, 0.0}};
        add.after = values;
        const EditResult result = edits_.Apply(add);
        EXPECT_EQ(result.status, EditStatus::kDone);
        EXPECT_FALSE(result.change.before.has_value());
        return result.change.item.oid;
    }

    std::vector<std::wstring> Subjects(int row)
    {
        std::vector<std::wstring> out;
        for (int p = 0; p < doc_.ApptCount(row); ++p)
            out.push_back(doc_.ApptSubject(row, p) + L"/" +
                          std::to_wstring(doc_.EntryState(row, p)));
        return out;
    }

    FixedClock clock_{MakeSystemTime(2026, 12, 7, 15, 30)};
    ScopedClock useClock_;
    TempPaths paths_;
    StubSettings settings_;
    PimSession session_;
    CTamberloDoc doc_;
    ScheduleEdits edits_;
};

TEST_F(ScheduleEditsTest, FailuresChangeNeitherStoreNorDocument)
{
    const int32_t oid = Add(Values(L"Kept", 8));
    ItemValues changed = Values(L"Changed", 9);

    // Another writer holds the store, with the session open (the save fails) or not (it cannot
    // be opened): the change is refused and nothing moves.
    sqlite3* locker = nullptr;
    ASSERT_EQ(sqlite3_open(paths_.StorePath().c_str(), &locker), SQLITE_OK);
    ScheduleChange save{ChangeKind::kSave, {pim::kAppointmentKind, oid}};
    save.after = changed;
    for (const bool connected : {true, false}) {
        if (connected)
            session_.Connect();
        ASSERT_EQ(sqlite3_exec(locker, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        const EditResult refused = edits_.Apply(save);
        sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
        session_.Disconnect();
        EXPECT_EQ(refused.status, EditStatus::kSaveFailed) << connected;
        EXPECT_EQ(refused.redraw, Redraw::kNothing);
        EXPECT_EQ(Subjects(1), std::vector<std::wstring>{L"Kept/0"});
        EXPECT_EQ(edits_.Read({pim::kAppointmentKind, oid, 0.0}).values.fields.Subject, L"Kept");
    }

    // Another process deleted it: not recreated, and the tables forget it.
    sqlite3_exec(locker, "DELETE FROM items", nullptr, nullptr, nullptr);
    sqlite3_close(locker);
    const EditResult gone = edits_.Apply(save);
    EXPECT_EQ(gone.status, EditStatus::kNotFound);
    EXPECT_EQ(gone.redraw, Redraw::kReloaded);
    EXPECT_TRUE(Subjects(1).empty());
    EXPECT_TRUE(Subjects(2).empty());
    session_.Connect();
    EXPECT_EQ(session_.AppointmentCount(), 0);
    session_.Disconnect();

    EXPECT_EQ(edits_.Apply({ChangeKind::kCancelException, {pim::kAppointmentKind, oid}}).status,
              EditStatus::kNotFound);
}

} // namespace
