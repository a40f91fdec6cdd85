// The texts of the string table, sorted by id so a lookup is a binary search.
#include "res/string_table.h"

#include <algorithm>
#include <iterator>

namespace res {
namespace {

struct Entry {
    int id;
    const wchar_t* text;
};

constexpr Entry kStrings[] = {
    {104, L"Fail at Initialize of Windows Socket"},
    {128, L"Tamberlo\n\nTamberlo\n\n\nTamberlo.Document\nTamberlo Document"},
    {65000, L"New"},
    {65001, L"File"},
    {65002, L"Help"},
    {65003, L"Save"},
    {65004, L"Cut"},
    {65005, L"Copy"},
    {65006, L"Paste"},
    {65007, L"Version"},
    {65009, L"Warning"},
    {65014, L"^"},
    {65015, L">>"},
    {65037, L"Trans Holiday"},
    {65047, L"InitializeFile(*.ini)|*.ini|text(*.txt)|*.txt|all(*.*)|*.*||"},
    {65049, L"Name"},
    {65050, L"MonthDay"},
    {65051, L"Day"},
    {65053, L"Wrong Month"},
    {65054, L"Wrong Day"},
    {65059, L"Sunday"},
    {65060, L"Monday"},
    {65061, L"Tuesday"},
    {65062, L"Wednesday"},
    {65063, L"Thursday"},
    {65064, L"Friday"},
    {65065, L"Saturday"},
    {65075, L"Su"},
    {65076, L"Mo"},
    {65077, L"Tu"},
    {65078, L"We"},
    {65079, L"Th"},
    {65080, L"Fr"},
    {65081, L"Sa"},
    {65111, L"Hide"},
    {65112, L"Show"},
    {65113, L"AppointTitle"},
    {65114, L"AppointPlace"},
    {65115, L"TaskTitle"},
    {65116, L"Category(both)"},
    {65117, L"TimeList"},
    {65118, L"AlarmTimeList"},
    {65119, L"Month %d"},
    {65120, L"%d"},
    {65121, L"1st"},
    {65122, L"2nd"},
    {65123, L"3rd"},
    {65124, L"4th"},
    {65125, L"Last"},
    {65126, L"Week"},
    {65127, L"Month & Day"},
    {65128, L"Month & Week"},
    {65138, L"<<"},
    {65139, L">>"},
    {65141, L"No Care"},
    {65143, L"January"},
    {65144, L"February"},
    {65145, L"March"},
    {65146, L"April"},
    {65147, L"May"},
    {65148, L"June"},
    {65149, L"July"},
    {65150, L"August"},
    {65151, L"September"},
    {65152, L"October"},
    {65153, L"November"},
    {65154, L"December"},
    {65158, L"0"},  // "1" would show months as numbers ("Month 11") instead of names
    {65166, L"No care"},
    {65167, L"Change"},
    {65170, L"%d Weeks"},
    {65173, L"OFF"},
    {65174, L"ON"},
    {65300, L"Confirm"},
    {65301, L"Error"},
    {65302, L"Please set start date after year 1900."},
    {65303, L"Please set end date before year 3000."},
    {65304, L"Please set start date before End date."},
    {65305, L"Recurtion info set not yet."},
    {65306, L"Can't change to this datetime"},
    {65307, L"Delete Appointment. OK?"},
    {65308, L"Delete Task. OK?"},
    {65309, L"Cancel Exception you see\nOK?"},
    {65310, L"Fail at get data."},
    {65311, L"Fail to Get Appoint Info"},
    {65312, L"Fail at get Task Information."},
    {65313, L"Recover Deleted Exception Appoint?"},
    {65314, L"Clear all exception appointment\nOk?"},
    {65315, L"(create new exception)"},
    {65316, L"(edit exists exception)"},
    {65317, L"(cancel exception)"},
    {65318, L"It's recur Task.\nplease choice operation.\nYes:Default treat\nNo:Change start date to next."},
    {65319, L"there is no day span"},
    {65320, L"Please set start time before end time"},
    {65321, L"Select Week of day"},
    {65322, L"Sorry, can't select plural weekofday at this type."},
    {65323, L"Unmatch recure start date to pattern.\nDo you want auto change?\nWill change="},
    {65324, L"Cancel Excep."},
    {65325, L"Days Each"},
    {65326, L"Week Each"},
    {65327, L"Month Each"},
    {65328, L"Every Year"},
    {65329, L"Please enter the time as hh:mm, from 00:00 to 24:00."},
    {65330, L"The text is too long. Please shorten it."},
    {65331, L"The text must not contain control characters."},
    {65332, L"Please set an interval from 1 to 999."},
    {65333, L"Please set the days as a number from 0 to 999."},
    {65334, L"Sorry, you can't cut recursion TASK"},
    {65335, L"The clipboard holds no appointment or task that can be pasted."},
    {65400, L"Please set start date before due date"},
    {65401, L"Can't use only start date"},
    {65402, L"Please enter an alarm time from 0 up to 52 weeks."},
    {65501, L"Wrong Time"},
    {65502, L"Please set between %d to %d"},
    {65503, L"Initialize color setting. OK?"},
    {65504, L"Please set over 6 font size"},
    {65505, L"There are same setting"},
    {65506, L"Can't point before year 1900."},
    {65507, L"Can't point after year 3000"},
    {65508, L"Can't use \",\" in a holiday name"},
    {65600, L"Snooze 5 minutes"},
    {65601, L"Open"},
    {65602, L"Missed: "},
    {65603, L"Due: "},
    {65610, L"Import"},
    {65611, L"Import %1 and %2 into your calendar?"},
    {65612, L"Cannot write %1."},
    {65613, L"Importing %1..."},
    {65614, L"The import was cancelled; the calendar is as it was."},
    {65615, L"%1 holds no calendar; nothing was imported."},
    {65720, L"Please set start date before year 3000."},
    {65721, L"Please enter the start time as hh:mm, from 00:00 to 23:59."},
    {65722, L"%1 settings were read from %2."},
    {65723, L"No settings could be read from %1."},
    {65724, L"The settings could not be saved to %1."},
    {65750, L"\"%1\" was changed by another program meanwhile.\n"
            L"OK: overwrite that change with yours.\nCancel: take that change."},
    {65751, L"The calendar store was replaced by another file. Nothing was saved; the window "
            L"now shows the new file."},
    {65752, L"The profile %1 is not a regular file of a sane size; Tamberlo starts with the "
            L"default settings and leaves it as it is."},
    {65801, L"Show Today"},
    {65806, L"Earlier Hours"},
    {65807, L"Later Hours"},
    {65820, L"Keys and Mouse"},
    {65821, L"Picture buttons"},
    {65822, L"Keys"},
    {65823, L"Focus areas"},
    {65824, L"Digit keys (hardware buttons, Tool > Func Key)"},
    {65825, L"Mouse"},
    {65826, L"Tab / Shift+Tab\tthe next / previous focus area: button bar, schedule, "
            L"detail area"},
    {65827, L"Left / Right, Up / Down, Enter (button bar)\tthe next button, the other strip; "
            L"run it"},
    {65828, L"Cursor keys, Enter (schedule)\tthe selected day and hours; Enter to the detail area"},
    {65829, L"Up / Down, Enter (detail area)\tthe selected line; Enter to the button bar"},
    {65830, L"the button bar"},
    {65831, L"the schedule"},
    {65832, L"the detail area"},
    {65833, L"today"},
    {65834, L"calendar or Gantt"},
    {65835, L"Wheel\tone day per notch (a week in the calendar grid)"},
    {65836, L"Shift+Wheel\tthe hours"},
    {65837, L"Ctrl+Wheel\tzoom"},
    {65838, L"Wheel over the detail area\tscroll the lines"},
    {65839, L"Drag a bar, its ends, a task\tmove it, resize it, move the task to another day"},
    {65840, L"Drag over empty time\tadd an appointment (in the task column, a task); Escape "
            L"cancels"},
    {65841, L"Double-click\tedit"},
    {65842, L"Right button\tthe context menu"},
    {65843, L"Pause over an item\tits subject, times, place and categories"},
    {65844, L"key"},
    {65845, L"does"},
    {65846, L"Delete"},
    {65847, L"conflicts with %1"},
    {65848, L"Place: %1"},
    {65849, L"Categories: %1"},
    {65850, L"Undo"},
    {65851, L"Redo"},
    {65852, L"%1 %2 \"%3\""},
    {65853, L"%1 %2 \"%3\" on %4"},
    {65854, L"Add"},
    {65855, L"Edit"},
    {65856, L"Move"},
    {65857, L"Resize"},
    {65858, L"Delete"},
    {65859, L"Paste"},
    {65860, L"Complete"},
    {65861, L"Import"},
    {65862, L"Another program changed or deleted this item since then, so it was left as it is."},
    {65900, L"The server %1 refused the user name or password."},
    {65901, L"The server %1 cannot be reached."},
    {65902, L"The certificate of %1 does not verify, and its SHA-256 fingerprint %2 is not "
            L"trusted."},
    {65903, L"The server %1 stopped answering."},
    {65904, L"The server %1 sent an answer larger than allowed."},
    {65905, L"The server %1 sent an answer that is not understood."},
    {65906, L"The server %1 redirected too many times."},
    {65907, L"The server %1 answered with the error %2."},
    {65930, L"Synced at %1: %2 received, %3 sent."},
    {65931, L" Conflicts kept as copies here: %1."},
    {65932, L"Sync failed at %1: %2"},
    {65933, L"Talking to the server..."},
    {65934, L"There is no calendar account to sync with: add one in Tool > Calendar Accounts..."},
    {65935, L"Calendar Accounts"},
    {65936, L"Server"},
    {65937, L"User"},
    {65938, L"Password"},
    {65939, L"Appointments"},
    {65940, L"Tasks"},
    {65941, L"Test"},
    {65942, L"Add"},
    {65943, L"Remove"},
    {65944, L"Type the server's address, such as https://example.org/dav."},
    {65945, L"Choose a calendar for appointments and one for tasks: Test lists the server's "
            L"calendars."},
    {65946, L"%1 calendars found on %2."},
    {65947, L"%1\n\nIts SHA-256 fingerprint is\n%2\n\nTrust this certificate from now on?"},
    {65948, L"The password of %1 at %2:"},
    {65949, L"Remove the account of %1 at %2? Its items stay here."},
    {65950, L"Conflict: %1"},
    {65951, L"Kept by the sync on %1: %2"},
    {65952, L"this item was changed here and on the server, and the original now holds the "
            L"server's version."},
    {65953, L"this item was changed here and deleted on the server."},
    {65954, L"this item was changed here, and the server's version is one this program cannot "
            L"hold."},
    {65955, L"\"%1\" was changed on both sides: the server's version is kept, and this side's "
            L"as a conflict copy."},
    {65956, L"Left on the server as it is: %1 (%2)."},
    {65957, L"The calendar store could not be written."},
    {65958, L"One calendar found on %1."},
    {65959, L" Server items left alone, as this calendar cannot hold them: %1."},
    {65960, L"Delete Appointment \"%1\". OK?"},
    {65961, L"Delete Task \"%1\". OK?"},
    {65962, L"No password was given for %1."},
    {65963, L"\"%1\" was changed by another program while you edited it.\n"
            L"Save Mine Over It: your version replaces that change.\n"
            L"Merge and Edit Again: the editor opens on that version with your edits on top; "
            L"nothing is saved until you choose OK."},
    {65964, L"Save Mine Over It"},
    {65965, L"Merge and Edit Again"},
    {65966, L"Update"},
    {65967, L" - last sync failed: %1"},
    {66000, L"A sync round is already running on %1."},
    {66001, L"another resource of this calendar has the same UID"},
    {66020, L"The server %1 sent the request on to %2, which was not followed: the password and "
            L"the calendars go only to %1."},
    {66021, L"The server %1 sent the request on to %2, without encryption, which was not "
            L"followed."},
    {66022, L"%2 asked for a password, but the password for %1 is sent only there: give %2 as "
            L"the server's address if the account is there."},
    {66023, L"No password for %1 at %2: give --password-command or unlock the desktop's secret "
            L"store."},
    {66024, L"The sync with %1 was stopped."},
    {66025, L"The certificate of %1 is made out to another name (%2), and its SHA-256 "
            L"fingerprint %3 is not trusted."},
    {66026, L"The server %1 cannot be reached over https, which was assumed because the address "
            L"names no http:// or https://."},
    {66027, L"The server %1 answered in plain HTTP, where https was assumed because the address "
            L"names no http:// or https://: type %2 to use it unencrypted."},
    {66028, L"%1 is plain http: the password and the calendars travel unencrypted."},
    {66029, L"Not taken by %1: \"%2\" (%3); kept here and tried again next time."},
    {66030, L"Not deleted by %1: %2 (%3); tried again next time."},
    {66031, L"No calendars for %1 at %2."},
    {66050, L"Page %1 of %2"},
    {66051, L"PDF (*.pdf)"},
    {66140, L"The calendar \"%1\" is gone from %2; its items are kept here as a local calendar."},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }),
              "the string table must stay sorted by id");

}  // namespace

std::wstring LoadString(int id)
{
    const auto* found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                         [](const Entry& e, int key) { return e.id < key; });
    if (found == std::end(kStrings) || found->id != id) {
        return {};
    }
    return found->text;
}

std::wstring LoadString(int id, const std::wstring& first)
{
    std::wstring text = LoadString(id);
    if (const size_t at = text.find(L"%1"); at != std::wstring::npos) {
        text.replace(at, 2, first);
    }
    return text;
}

}  // namespace res
