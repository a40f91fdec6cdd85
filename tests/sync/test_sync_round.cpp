// Rounds between real stores and real servers: first sync, quiet rounds, conflicts, a lost PUT
// answer, failing and hostile servers, unholdable resources and seeded edits that converge.
#include <gtest/gtest.h>

#include <random>

#include "model/date_time.h"
#include "platform/pim/demo_calendar.h"
#include "tests/sync/round_fixture.h"

using Kind = DavServer::Kind;

namespace {

constexpr double kHour = 1.0 / 24.0;

// A daily series of ten from `day` at 08:00, as another client writes it.
pim::StoredItem Series(DATE day)
{
    const std::string key = QString::fromStdWString(DateToKey(day, kDayKey)).toStdString();
    const caldav::ResourceItem read =
        caldav::ReadResource(EventText("s", "DTSTART:" + key + "T080000\r\nDTEND:" + key +
                                                "T083000\r\nRRULE:FREQ=DAILY;COUNT=10\r\n"),
                             kRoundNow);
    EXPECT_TRUE(read.item) << QString::fromStdWString(read.reason).toStdString();
    pim::StoredItem item = read.item.value_or(Appointment(L"series", day));
    item.fields.UID.clear();
    return item;
}

// A number from 0 to n - 1.
int Draw(std::mt19937& random, int n)
{
    return static_cast<int>(random() % static_cast<unsigned>(n));
}

// One random local change: add, delete, edit or move an item, or change or delete an occurrence.
void RandomEdit(const std::string& store, std::mt19937& random)
{
    std::vector<pim::StoredItem> items = Items(store);
    std::erase_if(items, [](const pim::StoredItem& i) {
        return i.fields.Subject.starts_with(L"Conflict: ");
    });
    const DATE day = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 1 + Draw(random, 20), 9));
    const int what = items.empty() ? 0 : Draw(random, 5);
    pim::StoredItem item = what == 0 ? Appointment(L"new", day) : items[random() % items.size()];
    if (what == 0 && Draw(random, 3) == 0) {
        item = Series(std::floor(day));
    } else if (what == 1) {
        Delete(store, item.fields.Oid);
        return;
    } else if (what >= 3 && item.pattern) {
        const DATE original = std::floor(item.pattern->PatternStartDate) + 1 + Draw(random, 8);
        std::erase_if(item.exceptions,
                      [&](const pim::ExceptionFields& e) { return e.OriginalDate == original; });
        pim::ExceptionFields e{original, what == 4, item.fields};
        e.occurrence.Start = original + item.pattern->StartTime + kHour * Draw(random, 3);
        e.occurrence.End = e.occurrence.Start + kHour / 2;
        e.occurrence.Subject = L"moved " + std::to_wstring(Draw(random, 100));
        e.occurrence.UID.clear();
        item.exceptions.push_back(e);
        std::sort(item.exceptions.begin(), item.exceptions.end(),
                  [](const auto& x, const auto& y) { return x.OriginalDate < y.OriginalDate; });
    } else if (what == 2 || item.pattern) {
        item.fields.Subject = L"edited " + std::to_wstring(Draw(random, 1000));
        item.fields.Location = L"room " + std::to_wstring(Draw(random, 10));
    } else if (what != 0) {
        item.fields.Start += kHour * (1 + Draw(random, 30));
        item.fields.End = item.fields.Start + kHour;
    }
    Save(store, item);
}

} // namespace

TEST_P(RoundTest, FirstSyncBothWaysThenQuietRoundsWriteNothing)
{
    ASSERT_EQ(pim::WriteDemoStore(a_, OccurrenceOnDay, kRoundNow, 40, 10, 3), 0);
    pim::StoredItem phone = Appointment(L"from the phone", 46370.5);
    phone.fields.UID = L"phone@example.org";
    ASSERT_FALSE(Put("phone.ics", caldav::ResourceText(phone, kRoundNow)).isNull());
    const caldav::RoundReport first = Round(a_);
    EXPECT_EQ(std::make_tuple(first.sent, first.received, first.ExitCode()),
              std::make_tuple(50, 1, 0));
    const caldav::RoundReport second = Round(b_);
    EXPECT_EQ(std::make_pair(second.sent, second.received), std::make_pair(0, 51));
    ExpectAgreement(a_, b_); // the phone's item too
    for (const std::string& store : {a_, b_}) {
        const QByteArray before = Fingerprint(store);
        const caldav::RoundReport quiet = Round(store);
        EXPECT_EQ(std::make_tuple(quiet.ExitCode(), quiet.writes, quiet.storeChanged),
                  std::make_tuple(0, 0, false));
        EXPECT_EQ(Fingerprint(store), before);
    }
    // The position kept shows the way the rounds followed the server.
    pim::StoreDatabase db;
    pim::CalendarState state;
    ASSERT_EQ(db.Open(a_), 0);
    pim::SyncLedger(db).State(account_.eventCalendar, state);
    EXPECT_EQ(state.token.empty(), Hiding());
    EXPECT_EQ(state.ctag.empty(), GetParam().hiding != FaultProxy::Mode::NoSyncCollection);
}

TEST_P(RoundTest, BothSidesEditedKeepsTheServersVersionAndACopyOfOurs)
{
    ASSERT_GE(Save(a_, Appointment(L"Review", 46370.5)), 0);
    Round(a_);
    Round(b_);
    const auto edit = [&](const std::string& store, const std::wstring& subject) {
        const std::wstring uid = Local(store).begin()->first; // conflict copies have their own
        for (pim::StoredItem& mine : Items(store)) {
            if (mine.fields.UID == uid) {
                mine.fields.Subject = subject;
                Save(store, mine);
            }
        }
    };
    // Pulled conflict: a pushed first, b finds both changed.
    edit(a_, L"Review A");
    edit(b_, L"Review B");
    EXPECT_EQ(Round(a_).sent, 1);
    const caldav::RoundReport pulled = Round(b_);
    EXPECT_EQ(std::make_tuple(pulled.conflicts, pulled.sent, pulled.ExitCode()),
              std::make_tuple(1, 0, 1));
    ASSERT_EQ(pulled.notes.size(), 1U);
    EXPECT_NE(pulled.notes[0].find(L"\"Review B\""), std::wstring::npos);
    // Refused PUT: the server changes between b's pull and its push.
    edit(b_, L"Review B2");
    edit(a_, L"Review A2");
    int asked = 0;
    const caldav::RoundReport refused = Round(b_, [&] {
        if (++asked == 2) {
            EXPECT_EQ(Round(a_).sent, 1);
        }
        return true;
    });
    EXPECT_EQ(refused.conflicts, 1);
    ExpectAgreement(a_, b_);
    EXPECT_EQ(Local(b_).begin()->second.fields.Subject, L"Review A2");
    std::vector<std::wstring> subjects;
    for (const pim::StoredItem& i : Items(b_)) {
        subjects.push_back(i.fields.Subject);
    }
    EXPECT_EQ(subjects, (std::vector<std::wstring>{L"Review A2", L"Conflict: Review B",
                                                   L"Conflict: Review B2"}));
}

TEST_P(RoundTest, DeletedOnOneSideEditedOnTheOtherKeepsTheEdit)
{
    Save(a_, Appointment(L"one", 46370.5));
    Save(a_, Appointment(L"two", 46370.5));
    Round(a_);
    Round(b_);
    // "one": deleted in a, edited in b, b first: the edit comes back to a.
    Delete(a_, Named(a_, L"one").fields.Oid);
    pim::StoredItem one = Named(b_, L"one");
    one.fields.Subject = L"one edited";
    Save(b_, one);
    // "two": edited in a, deleted in b, b first: a keeps its edit as a conflict copy.
    pim::StoredItem two = Named(a_, L"two");
    two.fields.Subject = L"two edited";
    Save(a_, two);
    Delete(b_, Named(b_, L"two").fields.Oid);
    // A change from elsewhere too, so that no path finds the calendar unchanged.
    ASSERT_FALSE(
        Put("phone.ics", caldav::ResourceText(Appointment(L"phone", 46371.5), kRoundNow)).isNull());
    const caldav::RoundReport fromB = Round(b_);
    EXPECT_EQ(std::make_tuple(fromB.sent, fromB.deletedThere, fromB.received),
              std::make_tuple(1, 1, 1));
    const caldav::RoundReport fromA = Round(a_);
    EXPECT_EQ(std::make_tuple(fromA.received, fromA.deletedHere, fromA.conflicts, fromA.writes),
              std::make_tuple(2, 1, 1, 0));
    ExpectAgreement(a_, b_); // "one edited" too
    EXPECT_EQ(Named(a_, L"Conflict: two edited").fields.Subject, L"Conflict: two edited");
}

TEST_P(RoundTest, ALostPutAnswerMakesNoDuplicate)
{
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    Save(a_, Appointment(L"once", 46370.5));
    // The PUT after the pull, which asks what the round of a store with nothing to push asks.
    const int pull = Round(Store("c.sqlite3")).requests;
    proxy->Set({FaultProxy::Mode::DropAnswer, proxy->Requests() + pull + 1});
    EXPECT_EQ(Round(a_).ExitCode(), 2);
    EXPECT_EQ(Remote().size(), 1U);
    proxy->Set({});
    const caldav::RoundReport again = Round(a_);
    EXPECT_EQ(std::make_pair(again.sent, again.conflicts), std::make_pair(0, 0));
    Round(b_);
    ExpectAgreement(a_, b_);
}

// A server that stops offering sync-collection, refusing the report or answering it without a
// token, is followed by its CTag from then on: no change missed, nothing deleted, then quiet.
TEST_P(PlainRoundTest, AServerThatDropsSyncCollectionIsFollowedByItsCTag)
{
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    const std::string c = Store("c.sqlite3");
    std::vector<pim::StoredItem> items;
    for (const wchar_t* subject : {L"kept", L"edited", L"deleted"}) {
        items.push_back(Appointment(subject, 46370.5));
        ASSERT_GE(Save(a_, items.back()), 0);
    }
    for (const std::string& store : {a_, b_, c}) {
        ASSERT_EQ(Round(store).ExitCode(), 0);
    }
    items[1].fields.Location = L"elsewhere";
    Save(a_, items[1]);
    Delete(a_, items[2].fields.Oid);
    ASSERT_EQ(Round(a_).sent, 1);
    for (const auto& [store, status] : {std::make_pair(b_, 501), std::make_pair(c, 207)}) {
        proxy->Set({FaultProxy::Mode::NoSyncCollection, 1, INT_MAX, status});
        const caldav::RoundReport report = Round(store);
        EXPECT_EQ(std::make_tuple(report.received, report.deletedHere, report.ExitCode()),
                  std::make_tuple(1, 1, 0));
        const QByteArray before = Fingerprint(store);
        EXPECT_FALSE(Round(store).storeChanged);
        EXPECT_EQ(Fingerprint(store), before);
    }
    ExpectAgreement(b_, c);
}

// A sync-collection answer in parts (a 507 for the collection, a token for the rest) is taken
// whole and a resource named twice in two spellings is one item; a listing from scratch deletes
// nothing a later part names.
TEST_P(PlainRoundTest, AnAnswerInPartsOrNamingEachResourceTwiceIsTakenOnce)
{
    for (int i = 0; i < 6; ++i) {
        ASSERT_GE(Save(a_, Appointment(L"item " + std::to_wstring(i), 46370.5 + i)), 0);
    }
    ASSERT_EQ(Round(a_).ExitCode(), 0);
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    using Mode = FaultProxy::Mode;
    for (const auto& [mode, store] : {std::make_pair(Mode::TruncatedSyncAnswers, b_),
                                      std::make_pair(Mode::RespelledHrefs, Store("c.sqlite3"))}) {
        proxy->Set({mode});
        const caldav::RoundReport first = Round(store);
        EXPECT_EQ(std::make_tuple(first.received, first.ExitCode()), std::make_tuple(6, 0));
        EXPECT_EQ(ItemAndUidCount(store), std::make_pair(size_t{6}, size_t{6}));
        const caldav::RoundReport quiet = Round(store);
        EXPECT_EQ(std::make_tuple(quiet.received, quiet.deletedHere, quiet.storeChanged),
                  std::make_tuple(0, 0, false));
        ExpectAgreement(a_, store);
    }
    {
        pim::StoreDatabase db; // as after a refused token: the calendar is listed again
        ASSERT_TRUE(db.Open(b_) == 0 &&
                    pim::SyncLedger(db).SetState({account_.eventCalendar, {}, {}}) == 0);
    }
    proxy->Set({Mode::TruncatedSyncAnswers});
    const caldav::RoundReport again = Round(b_);
    EXPECT_EQ(std::make_tuple(again.received, again.deletedHere, again.ExitCode()),
              std::make_tuple(0, 0, 0));
}

// A server failing at any request of a pull, or refusing the password, gives one clear error
// naming the host and leaves the store byte for byte as it was; the next round takes all in.
TEST_P(RoundTest, AFailingServerLeavesTheStoreAsItWas)
{
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    connection_.timeoutMs = 1500;
    connection_.maxBodyBytes = 1 << 20;
    Save(a_, Appointment(L"first", 46370.5));
    ASSERT_FALSE(Round(a_).error || Round(b_).error);
    Save(a_, Appointment(L"second", 46371.5));
    ASSERT_FALSE(Round(a_).error);
    using Mode = FaultProxy::Mode;
    using caldav::Failure;
    const QByteArray before = Fingerprint(b_);
    const std::pair<Mode, Failure> faults[] = {
        {Mode::Status, Failure::ServerError},
        {Mode::DropAnswer, Failure::Unreachable},
        {Mode::Stall, Failure::TimedOut},
        {Mode::ControlEtags, Failure::Malformed},
        {Mode::EndlessBody, Failure::TooLarge},
        {Mode::RedirectElsewhere, Failure::TooManyRedirects}};
    for (const auto& [mode, failure] : faults) {
        for (const int request : {1, 2}) { // the changes report, then the multiget
            SCOPED_TRACE(static_cast<int>(mode) * 10 + request);
            const int at = proxy->Requests() + request;
            proxy->Set({mode, at, INT_MAX, 500, proxy->Url()}); // and on: it stays broken
            const caldav::RoundReport failed = Round(b_);
            // On a loaded machine an endless body may meet the time limit before the size limit.
            const Failure got = failed.error.failure;
            EXPECT_TRUE(got == failure || (mode == Mode::EndlessBody && got == Failure::TimedOut))
                << static_cast<int>(got);
            EXPECT_EQ(failed.ExitCode(), 2);
            const wchar_t* named =
                mode == Mode::Status ? L"127.0.0.1 answered with the error 500" : L"127.0.0.1";
            EXPECT_NE(failed.error.message.find(named), std::wstring::npos);
            EXPECT_EQ(Fingerprint(b_), before);
            if (mode == Mode::RedirectElsewhere) { // to itself
                EXPECT_EQ(proxy->Requests() - at, connection_.maxRedirects);
            }
        }
    }
    proxy->Set({});
    if (GetParam().kind == Kind::Radicale) { // Xandikos runs without authentication here
        connection_.password = QStringLiteral("wrong");
        const caldav::RoundReport refused = Round(b_);
        EXPECT_EQ(std::make_tuple(refused.error.failure, refused.ExitCode(), refused.error.message),
                  std::make_tuple(caldav::Failure::WrongPassword, 2,
                                  L"The server 127.0.0.1 refused the user name or password."));
        EXPECT_EQ(Fingerprint(b_), before);
        connection_.password = QStringLiteral("secret");
    }
    const caldav::RoundReport recovered = Round(b_);
    EXPECT_EQ(std::make_pair(recovered.received, recovered.ExitCode()), std::make_pair(1, 0));
    ExpectAgreement(a_, b_);
}

TEST_P(RoundTest, AResourceTheStoreCannotHoldIsLeftAloneAndReported)
{
    const QByteArray text = EventText("odd", "DTSTART:20261207T090000Z\r\nRRULE:FREQ=HOURLY\r\n");
    Put("odd.ics", text);
    for (int round = 0; round < 2; ++round) {
        const caldav::RoundReport report = Round(a_);
        EXPECT_EQ(
            std::make_tuple(report.skipped, report.received, report.writes, report.ExitCode()),
            std::make_tuple(1, 0, 0, 1));
        ASSERT_EQ(report.notes.size(), 1U);
        EXPECT_NE(report.notes[0].find(L"odd.ics"), std::wstring::npos);
    }
    EXPECT_TRUE(Items(a_).empty());
    // An item of ours that another client makes into such a resource stays, and is reported.
    pim::StoredItem mine = Appointment(L"ours", 46370.5);
    ASSERT_GE(Save(a_, mine), 0);
    ASSERT_EQ(Round(a_).sent, 1);
    QByteArray ours = text;
    ours.replace("UID:odd", "UID:" + QString::fromStdWString(mine.fields.UID).toUtf8());
    Put(QString::fromStdWString(mine.fields.UID) + ".ics", ours);
    const caldav::RoundReport edited = Round(a_);
    EXPECT_EQ(std::make_tuple(edited.skipped, edited.deletedHere, edited.received),
              std::make_tuple(2, 0, 0));
    EXPECT_EQ(Items(a_).size(), 1U);
    // Edited here too: not pushed over it, but kept, and as a copy; later rounds send nothing.
    mine.fields.Location = L"here";
    ASSERT_GE(Save(a_, mine), 0);
    const caldav::RoundReport both = Round(a_);
    EXPECT_EQ(std::make_tuple(both.conflicts, both.skipped, both.sent), std::make_tuple(1, 2, 0));
    EXPECT_EQ(Items(a_).size(), 2U);
    EXPECT_EQ(Round(a_).writes, 0);
    EXPECT_TRUE(
        caldav::DavClient(server_->Account())
            .Get(calendar_.resolved(QUrl(QString::fromStdWString(mine.fields.UID) + ".ics")))
            .body.contains("RRULE:FREQ=HOURLY"));
}

// Seeded random edits on two stores; after every exchange (a, b, a) both and the server agree.
TEST_P(RoundTest, TwoStoresConvergeAfterRandomEditsOnBothSides)
{
    std::mt19937 random(20261207);
    constexpr int kEdits = 300;
    constexpr int kBatch = 12;
    for (int done = 0; done < kEdits; done += 2 * kBatch) {
        SCOPED_TRACE(done);
        for (int i = 0; i < kBatch; ++i) {
            RandomEdit(a_, random);
            RandomEdit(b_, random);
        }
        for (const std::string& store : {a_, b_, a_}) {
            const caldav::RoundReport report = Round(store);
            ASSERT_FALSE(report.error)
                << QString::fromStdWString(report.error.message).toStdString();
        }
        ExpectAgreement(a_, b_);
        if (HasFailure()) {
            return;
        }
    }
}

// Calendars on another host than the account's are written there; a UID with a slash gets a
// name every server takes; a refused item is reported every round and stops no other.
TEST_P(PlainRoundTest, WritesGoToTheCalendarsHostAndARefusedItemStopsNoOther)
{
    FaultProxy address(server_->Port());
    const std::unique_ptr<FaultProxy> calendars = ProxyBefore();
    account_.server = address.Url().toString().toStdWString();
    connection_.server = address.Url();
    connection_.confirmed = {calendars->Url()};
    pim::StoredItem slashed = Appointment(L"exported", 46370.5);
    slashed.fields.UID = L"040000008200E00074C5B7101A82E008/1@exchange";
    pim::StoredItem refused = Appointment(L"Refused one", 46371.5);
    refused.fields.UID = L"taken-elsewhere";
    pim::StoredItem after = Appointment(L"after it", 46372.5);
    for (pim::StoredItem* item : {&slashed, &refused, &after}) {
        ASSERT_GE(Save(a_, *item), 0);
    }
    calendars->Set({FaultProxy::Mode::RefusePut, 1, INT_MAX, 409, {}, "UID:taken-elsewhere"});
    for (int round = 0; round < 2; ++round) {
        const caldav::RoundReport report = Round(a_);
        EXPECT_EQ(std::make_tuple(report.sent, report.refused, report.ExitCode()),
                  std::make_tuple(round == 0 ? 2 : 0, 1, 1));
        ASSERT_EQ(report.notes.size(), 1U);
        EXPECT_EQ(report.notes[0], L"Not taken by 127.0.0.1: \"Refused one\" (409 Refused, "
                                   L"no-uid-conflict); kept here and tried again next time.");
    }
    EXPECT_TRUE(Remote().contains(slashed.fields.UID) && !Remote().contains(refused.fields.UID));
    for (const QByteArray& head : address.Heads()) {
        EXPECT_FALSE(head.startsWith("PUT") || head.startsWith("DELETE")) << head.toStdString();
    }
    calendars->Set({});
    EXPECT_EQ(Round(a_).sent, 1);
}

// Hrefs outside the collection are none of its resources; an ETag's line break is no header.
TEST_P(RoundTest, HrefsOutsideTheCollectionAndControlCharacterEtagsAreRefused)
{
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    ASSERT_GE(Save(a_, Appointment(L"ours", 46370.5)), 0);
    proxy->Set({FaultProxy::Mode::HostileHrefs});
    const caldav::RoundReport hostile = Round(a_);
    EXPECT_EQ(std::make_tuple(hostile.sent, hostile.received, hostile.ExitCode()),
              std::make_tuple(1, 0, 0));
    EXPECT_EQ(Local(a_).count(L"hostile"), 0U);
    proxy->Set({FaultProxy::Mode::ControlEtags});
    EXPECT_TRUE(Round(b_).error.failure == caldav::Failure::Malformed && Local(b_).empty());
    for (const QByteArray& head : proxy->Heads()) {
        EXPECT_FALSE(head.contains("/victim/")) << head.toStdString();
        EXPECT_FALSE(head.contains("X-Injected")) << head.toStdString();
    }
}

// Another client's yearly rules on short months' last days and events with a DURATION in seconds
// come in exactly and go back the same; an item of ours rewritten so there is replaced.
TEST_P(RoundTest, YearlyMonthEndsAndDurationsFromAnotherClientComeInExactly)
{
    const std::pair<QString, QString> events[] = {
        {"20260228T090000", "DTEND:20260228T100000\r\nRRULE:FREQ=YEARLY\r\n"},
        {"20261210T235959", "DURATION:PT300007S\r\n"},
        {"20261211T081517", "DURATION:P3DT4H5M6S\r\n"},
    };
    for (const auto& [start, more] : events) {
        Put(start + ".ics", OtherEvent(start, start, more));
    }
    pim::StoredItem mine = Appointment(L"made here", 46370.5);
    ASSERT_GE(Save(a_, mine), 0);
    const caldav::RoundReport first = Round(a_);
    EXPECT_EQ(std::make_tuple(first.received, first.skipped, first.sent), std::make_tuple(3, 0, 1));
    const QString uid = QString::fromStdWString(mine.fields.UID);
    Put(uid + ".ics",
        OtherEvent(uid, "20260430T090000", "DTEND:20260430T100000\r\nRRULE:FREQ=YEARLY\r\n"));
    const caldav::RoundReport edited = Round(a_);
    EXPECT_EQ(std::make_tuple(edited.received, edited.deletedHere, edited.skipped),
              std::make_tuple(1, 0, 0));
    ASSERT_EQ(Round(b_).ExitCode(), 0);
    // Floating times come back in the machine's zone: the stores are compared with each other.
    int dirty = 0;
    EXPECT_EQ(Local(a_, &dirty), Local(b_, &dirty));
    EXPECT_EQ(std::make_pair(Remote().size(), dirty), std::make_pair(Local(a_).size(), 0));
}

INSTANTIATE_TEST_SUITE_P(Servers, RoundTest, BothServers(FaultProxy::Mode::Pass), KindName);
INSTANTIATE_TEST_SUITE_P(Servers, PlainRoundTest, BothServers(FaultProxy::Mode::Pass), KindName);
INSTANTIATE_TEST_SUITE_P(CTag, RoundTest, BothServers(FaultProxy::Mode::NoSyncCollection),
                         KindName);
INSTANTIATE_TEST_SUITE_P(ETags, RoundTest, BothServers(FaultProxy::Mode::EtagsOnly), KindName);
