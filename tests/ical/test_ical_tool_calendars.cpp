// tamberlo-ical and calendars: imports go to the local calendar unless one is named.
#include <sstream>

#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "tests/support/ical_builder.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"
#include "tools/ical/ical_tool.h"

namespace {

// A calendar file of one event on 8 December named by its UID.
std::string File(const char* uid)
{
    return Calendar(Event(uid, "DTSTART:20261208T090000\r\nDTEND:20261208T100000\r\n"));
}

int Ical(const std::vector<std::string>& args, const std::string& input,
         std::string* output = nullptr)
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunIcal(args, in, out, err);
    if (output != nullptr) {
        *output = out.str() + err.str();
    }
    return code;
}

// The calendar id of each item by UID.
std::map<std::wstring, int32_t> Placed(const std::string& store)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    std::vector<pim::StoredItem> items;
    db.Load(pim::kAppointmentKind, 0, items);
    std::map<std::wstring, int32_t> out;
    for (const pim::StoredItem& item : items) {
        out[item.fields.UID] = item.calendar;
    }
    return out;
}

} // namespace

TEST(IcalTool, ImportsGoToTheLocalCalendarUnlessOneIsNamed)
{
    TempPaths paths;
    const std::string store = paths.StorePath();
    ASSERT_EQ(Ical({"import", "--store", store, "-"}, File("home")), kIcalOk);
    pim::Calendar work{0, L"Work", 0, pim::CalendarKind::Collection};
    work.url = L"https://dav.example/work/";
    {
        pim::StoreDatabase db;
        ASSERT_EQ(db.Open(store), 0);
        ASSERT_EQ(pim::CalendarList(db).Save(work), 0);
    }
    ASSERT_EQ(
        Ical({"import", "--store", store, "--calendar", "work", "-"}, File("job") + File("home")),
        kIcalOk);
    EXPECT_EQ(Placed(store), (std::map<std::wstring, int32_t>{{L"home", 1}, {L"job", work.id}}))
        << "the item it held stays in Personal";
    const QByteArray stored = Bytes(store);
    ASSERT_EQ(
        Ical({"import", "--store", store, "--calendar", "work", "-"}, File("job") + File("home")),
        kIcalOk);
    EXPECT_EQ(Bytes(store), stored) << "the same file again writes nothing";
    std::string said;
    EXPECT_EQ(Ical({"import", "--store", store, "--calendar", "Nowhere", "-"}, File("x"), &said),
              kIcalBadArguments);
    EXPECT_EQ(said, "tamberlo-ical: no calendar named Nowhere\n");
    std::string exported;
    ASSERT_EQ(Ical({"export", "--store", store, "--calendar", "Personal"}, "", &exported), kIcalOk);
    EXPECT_NE(exported.find("UID:home\r\n"), std::string::npos);
    EXPECT_EQ(exported.find("UID:job\r\n"), std::string::npos);
    EXPECT_EQ(Ical({"export", "--store", store, "--calendar", "Nowhere"}, ""), kIcalBadArguments);
}
