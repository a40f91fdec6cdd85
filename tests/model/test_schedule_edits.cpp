// The change path when a change cannot be made: failures change neither store nor document.
#include "model/schedule_edits.h"

#include <QString>

#include <cstdio>

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
        return doc.ApptCount(row) == 0
                   ? L""
                   : doc.ApptSubject(row, -1) + std::to_wstring(doc.EntryState(row, 0));
    };
    // Another writer holds the store, with the session open or not: the change is refused.
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
        EXPECT_EQ(subjects(1), L"Kept\u001F0");
        EXPECT_EQ(edits.Read({pim::kAppointmentKind, oid, 0.0}).values.fields.Subject, L"Kept");
    }
    // Another process deleted it: not recreated, and the tables forget it.
    locker.Run("DELETE FROM items");
    const EditResult gone = edits.Apply(save);
    EXPECT_EQ(std::pair(gone.status, gone.redraw),
              std::pair(EditStatus::kNotFound, Redraw::kReloaded));
    EXPECT_EQ(subjects(1), L"");
    session.Connect();
    EXPECT_EQ(session.AppointmentCount(), 0);
    session.Disconnect();
}

// Two windows over one store: a change is written only over the values it started from.
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
    EXPECT_EQ(std::pair(refused.status, refused.redraw),
              std::pair(EditStatus::kChangedMeanwhile, Redraw::kReloaded));
    ASSERT_TRUE(refused.current);
    EXPECT_EQ(other.doc.ApptSubject(1, 0), L"New title");
    // A merge keeps one's own edits on top; declining writes nothing, overwriting writes over.
    const ItemValues merged = MergeEdits(opened, *place.after, *refused.current);
    EXPECT_EQ(merged.fields.Subject + L"/" + merged.fields.Location, L"New title/Hall");
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
    const ItemValues overwritten = edits.Read(ref).values;
    EXPECT_EQ(overwritten.fields.Subject + L"/" + overwritten.fields.Location, L"Title/Hall");
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
    EXPECT_EQ(std::pair(refused.status, refused.redraw),
              std::pair(EditStatus::kOtherStore, Redraw::kReloaded));
    EXPECT_EQ(doc.ApptSubject(1, 0), L"Base item 0");
    // Read from the new file now that the tables are: it was not moved.
    EXPECT_EQ(edits.Read(ref).values.fields.Start, Values(L"", 8).fields.Start);
}

} // namespace
