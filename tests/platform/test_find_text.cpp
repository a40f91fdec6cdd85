// Find's folding and the store's find index: every field, saves, deletes and rolled-back batches.
#include "platform/pim/find_text.h"

#include <algorithm>
#include <map>

#include "platform/pim/store_database.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

using namespace pim;

TEST(FindText, FoldsCaseAccentsAndTheIndexFollowsEverySave)
{
    EXPECT_EQ(FoldForFind(L"Énergie Übung"), L"energie ubung");
    EXPECT_EQ(FoldForFind(L"STRAßE"), L"strasse");
    EXPECT_EQ(FoldForFind(L"Çà et là, Ñandú"), L"ca et la, nandu");
    TempPaths paths;
    StoreDatabase db;
    ASSERT_EQ(db.Open(paths.StorePath()), 0);
    std::map<int32_t, std::wstring> texts; // what each item was saved with, by oid
    const auto item = [&](int32_t kind, std::wstring ItemFields::*field, const wchar_t* text) {
        StoredItem stored;
        stored.kind = kind;
        stored.fields.*field = text;
        EXPECT_EQ(db.Save(stored), 0);
        texts[stored.fields.Oid] = text;
        return stored;
    };
    StoredItem subject = item(kAppointmentKind, &ItemFields::Subject, L"Zahnarzt Dr. Müller");
    item(kAppointmentKind, &ItemFields::Location, L"Café Élysée");
    item(kAppointmentKind, &ItemFields::Categories, L"Straße");
    item(kAppointmentKind, &ItemFields::Body, L"bring the x-ray");
    item(kTaskKind, &ItemFields::Subject, L"Call the MUELLER office");
    const auto subjects = [&](const std::wstring& text) {
        std::vector<FindMatch> found;
        EXPECT_EQ(db.FindMatches(text, found), 0);
        std::wstring all;
        for (const FindMatch& f : found) {
            all += texts[f.oid] + L"|";
        }
        return all;
    };
    EXPECT_EQ(subjects(L"mül"), L"Zahnarzt Dr. Müller|");
    EXPECT_EQ(subjects(L"mueller"), L"Call the MUELLER office|"); // tasks come after appointments
    EXPECT_EQ(subjects(L"ELYS"), L"Café Élysée|");
    EXPECT_EQ(subjects(L"ss"), L"Straße|"); // two letters: no trigram, still found
    EXPECT_EQ(subjects(L"X-RAY"), L"bring the x-ray|");
    EXPECT_EQ(subjects(L""), L"");
    subject.fields.Subject = texts[subject.fields.Oid] = L"Dentist";
    ASSERT_EQ(db.Save(subject), 0);
    EXPECT_EQ(subjects(L"müller"), L"");
    EXPECT_EQ(subjects(L"dent"), L"Dentist|");
    // A batch that rolls back takes its index rows with it.
    EXPECT_LT(db.RunInOneTransaction([&] {
        item(kAppointmentKind, &ItemFields::Subject, L"Dentistry fair");
        return -1;
    }),
              0);
    EXPECT_EQ(subjects(L"dent"), L"Dentist|");
    ASSERT_EQ(db.Delete(subject.fields.Oid), 0);
    EXPECT_EQ(subjects(L"dent"), L"");
}
