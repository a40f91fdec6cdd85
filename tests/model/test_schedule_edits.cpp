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

// A plain appointment on a December day from 10:00 to 11:00.
ItemValues Values(const std::wstring& subject, int day)
{
    ItemValues v;
    v.fields.Subject = subject;
    v.fields.Start = SystemTimeToVariantTime(MakeSystemTime(2026, 12, day, 10));
    v.fields.End = SystemTimeToVariantTime(MakeSystemTime(2026, 12, day, 11));
    return v;
}

TEST(ScheduleEdits, FailuresChangeNeitherStoreNorDocument)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 15, 30));
    const ScopedClock useClock(clock);
    TempPaths paths;
    StubSettings settings;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    CTamberloDoc doc(session, settings);
    ScheduleEdits edits(doc, session);
    ScheduleChange add{ChangeKind::kSave, {pim::kAppointmentKind, 0, 0.0}};
    add.after = Values(L"Kept", 8);
    const EditResult added = edits.Apply(add);
    ASSERT_EQ(added.status, EditStatus::kDone);
    const int32_t oid = added.change.item.oid;
    const auto subjects = [&doc](int row) {
        std::vector<std::wstring> out;
        for (int p = 0; p < doc.ApptCount(row); ++p)
            out.push_back(doc.ApptSubject(row, p) + L"/" + std::to_wstring(doc.EntryState(row, p)));
        return out;
    };

    // Another writer holds the store, with the session open (the save fails) or not (it cannot
    // be opened): the change is refused and nothing moves.
    sqlite3* locker = nullptr;
    ASSERT_EQ(sqlite3_open(paths.StorePath().c_str(), &locker), SQLITE_OK);
    ScheduleChange save{ChangeKind::kSave, {pim::kAppointmentKind, oid}};
    save.after = Values(L"Changed", 9);
    for (const bool connected : {true, false}) {
        if (connected)
            session.Connect();
        ASSERT_EQ(sqlite3_exec(locker, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        const EditResult refused = edits.Apply(save);
        sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
        session.Disconnect();
        EXPECT_EQ(refused.status, EditStatus::kSaveFailed) << connected;
        EXPECT_EQ(refused.redraw, Redraw::kNothing);
        EXPECT_EQ(subjects(1), std::vector<std::wstring>{L"Kept/0"});
        EXPECT_EQ(edits.Read({pim::kAppointmentKind, oid, 0.0}).values.fields.Subject, L"Kept");
    }

    // Another process deleted it: not recreated, and the tables forget it.
    sqlite3_exec(locker, "DELETE FROM items", nullptr, nullptr, nullptr);
    sqlite3_close(locker);
    const EditResult gone = edits.Apply(save);
    EXPECT_EQ(gone.status, EditStatus::kNotFound);
    EXPECT_EQ(gone.redraw, Redraw::kReloaded);
    EXPECT_TRUE(subjects(1).empty());
    EXPECT_TRUE(subjects(2).empty());
    session.Connect();
    EXPECT_EQ(session.AppointmentCount(), 0);
    session.Disconnect();

    EXPECT_EQ(edits.Apply({ChangeKind::kCancelException, {pim::kAppointmentKind, oid}}).status,
              EditStatus::kNotFound);
}

} // namespace
