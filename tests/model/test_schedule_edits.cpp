// The change path over a real store file and document when a change cannot be made: failures
// change neither. (Saves, deletes and exceptions: the editing commands' tests.) Row 0 is today.
#include "model/schedule_edits.h"

#include <QString>
#include <gtest/gtest.h>

#include <cstdio>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/dates.h"
#include "tests/support/document_changes.h"
#include "tests/support/store_file.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

namespace {

// A plain appointment on a December day from 10:00 to 11:00.
ItemValues Values(const std::wstring& subject, int day)
{
    return AppointmentValues(subject, At(2026, 12, day, 10), At(2026, 12, day, 11));
}

// One window over a store file: its session, day tables and change path.
struct Window {
    explicit Window(const std::string& path) : session(path, OccurrenceOnDay) {}
    int32_t Add(const ItemValues& values) { return AddThrough(edits, values); }

    StubSettings settings;
    PimSession session;
    CTamberloDoc doc{session, settings};
    ScheduleEdits edits{doc, session};
};

class ChangePathTest : public ::testing::Test {
protected:
    const FixedClock clock{MakeSystemTime(2026, 12, 7, 15, 30)};
    const ScopedClock useClock{clock};
    TempPaths paths;
    Window window{paths.StorePath()};
    PimSession& session = window.session;
    CTamberloDoc& doc = window.doc;
    ScheduleEdits& edits = window.edits;
};

TEST_F(ChangePathTest, FailuresChangeNeitherStoreNorDocument)
{
    const int32_t oid = window.Add(Values(L"Kept", 8));
    const auto subjects = [this](int row) {
        std::vector<std::wstring> out;
        out.reserve(doc.ApptCount(row));
        for (int p = 0; p < doc.ApptCount(row); ++p) {
            out.push_back(doc.ApptSubject(row, p) + L"/" + std::to_wstring(doc.EntryState(row, p)));
        }
        return out;
    };

    // Another writer holds the store, with the session open (the save fails) or not (it cannot
    // be opened): the change is refused and nothing moves.
    OtherProgram locker(paths.StorePath());
    const ScheduleChange save = SaveChange({pim::kAppointmentKind, oid}, Values(L"Changed", 9));
    for (const bool connected : {true, false}) {
        if (connected) {
            session.Connect();
        }
        ASSERT_TRUE(locker.Run("BEGIN IMMEDIATE"));
        const EditResult refused = edits.Apply(save);
        locker.Run("ROLLBACK");
        session.Disconnect();
        EXPECT_EQ(refused.status, EditStatus::kSaveFailed) << connected;
        EXPECT_EQ(edits.StoreError(), L"The calendar store " +
                                          QString::fromStdString(paths.StorePath()).toStdWString() +
                                          L" is in use by another program; try again.");
        EXPECT_EQ(refused.redraw, Redraw::kNothing);
        EXPECT_EQ(subjects(1), std::vector<std::wstring>{L"Kept/0"});
        EXPECT_EQ(edits.Read({pim::kAppointmentKind, oid, 0.0}).values.fields.Subject, L"Kept");
    }

    // Another process deleted it: not recreated, and the tables forget it.
    locker.Run("DELETE FROM items");
    const EditResult gone = edits.Apply(save);
    EXPECT_EQ(gone.status, EditStatus::kNotFound);
    EXPECT_EQ(gone.redraw, Redraw::kReloaded);
    EXPECT_TRUE(subjects(1).empty());
    session.Connect();
    EXPECT_EQ(session.AppointmentCount(), 0);
    session.Disconnect();
}

// Two windows over one store: each change is written only while the item still holds what the
// change started from.
TEST_F(ChangePathTest, AChangeIsWrittenOnlyOverTheValuesItStartedFrom)
{
    ItemValues titled = Values(L"Title", 8);
    titled.fields.Location = L"Room";
    const int32_t oid = window.Add(titled);
    Window other(paths.StorePath());
    const ItemRef ref{pim::kAppointmentKind, oid, 0.0};
    const ItemValues opened = other.edits.Read(ref).values;

    ScheduleChange title{ChangeKind::kSave, ref};
    title.before = edits.Read(ref).values;
    title.after = title.before;
    title.after->fields.Subject = L"New title";
    ASSERT_EQ(edits.Apply(title).status, EditStatus::kDone);

    ScheduleChange place{ChangeKind::kSave, ref};
    place.before = opened;
    place.after = opened;
    place.after->fields.Location = L"Hall";
    const EditResult refused = other.edits.Apply(place);
    EXPECT_EQ(refused.status, EditStatus::kChangedMeanwhile);
    EXPECT_EQ(refused.redraw, Redraw::kReloaded);
    ASSERT_TRUE(refused.current);
    EXPECT_EQ(other.doc.ApptSubject(1, 0), L"New title");

    // Taking the other change keeps one's own edits on top; declining to overwrite writes
    // nothing, overwriting writes over what the store holds now.
    const ItemValues merged = MergeEdits(opened, *place.after, *refused.current);
    EXPECT_EQ(merged.fields.Subject, L"New title");
    EXPECT_EQ(merged.fields.Location, L"Hall");
    int asked = 0;
    const auto answer = [&asked](bool overwrite) {
        return [&asked, overwrite](const ItemValues& current) {
            ++asked;
            EXPECT_EQ(current.fields.Subject, L"New title");
            return overwrite;
        };
    };
    EXPECT_EQ(other.edits.ApplyOrAsk(place, answer(false)).status, EditStatus::kChangedMeanwhile);
    EXPECT_EQ(other.edits.Read(ref).values.fields.Location, L"Room");
    EXPECT_EQ(other.edits.ApplyOrAsk(place, answer(true)).status, EditStatus::kDone);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(edits.Read(ref).values.fields.Location, L"Hall");
    EXPECT_EQ(edits.Read(ref).values.fields.Subject, L"Title");
}

// A store file moved over the one the tables came from: the old object ids name other items.
TEST_F(ChangePathTest, AReplacedStoreIsNeverWrittenThroughTheOldTables)
{
    const std::string otherPath = paths.File("other.sqlite3");
    ASSERT_EQ(Window(otherPath).Add(Values(L"Base item 0", 8)), 1);
    ASSERT_EQ(window.Add(Values(L"DragMe", 8)), 1);
    const ItemRef ref{pim::kAppointmentKind, 1, 0.0};
    const ItemValues opened = edits.Read(ref).values;
    ASSERT_EQ(std::rename(otherPath.c_str(), paths.StorePath().c_str()), 0);

    ScheduleChange move{ChangeKind::kSave, ref};
    move.after = opened;
    move.after->fields.Start += 3.0 / 24;
    move.after->fields.End += 3.0 / 24;
    const EditResult refused = edits.Apply(move);
    EXPECT_EQ(refused.status, EditStatus::kOtherStore);
    EXPECT_EQ(refused.redraw, Redraw::kReloaded);
    EXPECT_EQ(doc.ApptSubject(1, 0), L"Base item 0");
    // Read from the new file now that the tables are: it was not moved.
    EXPECT_EQ(edits.Read(ref).values.fields.Start, Values(L"", 8).fields.Start);
}

} // namespace
