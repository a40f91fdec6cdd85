// tamberlo-sync in-process and as a process: accounts, rounds, its answers, a first pull on a full
// disk over a link that cuts answers or a slow listing, rounds started together on one store.
#include <QRegularExpression>
#include <QTcpServer>
#include <QThread>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "sync/account_connection.h"
#include "sync/round_lock.h"
#include "tests/support/program_run.h"
#include "tests/sync/ics_server.h"
#include "tests/sync/round_fixture.h"

TEST_P(RoundTest, TheToolKeepsAccountsAndRunsRounds)
{
    if (Hiding()) {
        GTEST_SKIP() << "the tool's commands are the same whichever way a round follows the server";
    }
    const std::string store = Store("a.sqlite3");
    const std::string cal = calendar_.toString().toStdString();
    const std::vector<std::string> common = {"--store", store, "--profile", Store("t.ini")};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        return Tool(args);
    };
    const std::string base = server_->Base().toString().toStdString();
    // Options before the command as well as after it.
    const ToolRun discovered =
        Tool({"--store", store, "--profile", Store("t.ini"), "--password-command", "echo secret",
              "discover", base, "--user", "alice"});
    EXPECT_EQ(discovered.code, 0) << discovered.err;
    EXPECT_NE(discovered.out.find(cal + "\tCalendar\tevents, tasks\n"), std::string::npos)
        << discovered.out;
    EXPECT_NE(discovered.err.find(" is plain http: the password and the calendars travel "
                                  "unencrypted.\n"),
              std::string::npos)
        << discovered.err;
    EXPECT_EQ(with({"add", base, "--user", "alice", "--password-command", "echo secret",
                    "--calendar", calendar_.path().toStdString()})
                  .out,
              "added account 1\n");
    EXPECT_EQ(with({"list"}).out, "1\talice\t" + base + "\n\tCalendar <" + cal +
                                      ">\tevents, tasks\t0 items\nlocal\n\tPersonal\tevents, "
                                      "tasks\t0 items\n");
    // Adding again adds to the account, which has the calendar already.
    EXPECT_EQ(with({"add", base, "--user", "alice", "--calendar", cal, "--password-command",
                    "echo secret"})
                  .out,
              "added to account 1\n");

    // Each round runs the account's own command, kept by add.
    pim::StoredItem item =
        Appointment(L"from the tool", 46370.5, CalendarNamed(store, L"Calendar"));
    ASSERT_EQ(Save(store, item), 0);
    const ToolRun first = with({});
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, "alice at 127.0.0.1: sent 1, deleted there 0, received 0, deleted "
                         "here 0, conflicts 0, left on the server 0, refused 0\n");
    Put("odd.ics", EventText("odd", "DTSTART:20261207T090000Z\r\nRRULE:FREQ=MINUTELY\r\n"));
    const ToolRun skipped = with({});
    EXPECT_EQ(skipped.code, 1);
    EXPECT_NE(skipped.out.find("left on the server 1, refused 0\n  Left on the server as it is: "),
              std::string::npos)
        << skipped.out;

    if (GetParam().kind == DavServer::Kind::Radicale) {
        const ToolRun wrong = with({"--password-command", "echo wrong"}); // one line, as a round's
        EXPECT_EQ(wrong.code, 2);
        EXPECT_EQ(std::count(wrong.err.begin(), wrong.err.end(), '\n'), 1) << wrong.err;
    }
    EXPECT_EQ(with({"remove", "1"}).out, "removed account 1\n");
    // The calendars are kept here, with their items, as local ones.
    EXPECT_EQ(with({"list"}).out.rfind("local\n\tPersonal\tevents, tasks\t0 items\n\tCalendar\t"
                                       "events, tasks\t1 item\n",
                                       0),
              0U)
        << with({"list"}).out;
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"remove", "x"},
                                               {"add", base},
                                               {"--bogus"},
                                               {"sync"},
                                               {"remove", "7", "--store", store},
                                               {"--account", "1", "list"}}) {
        EXPECT_EQ(Tool(bad).code, 2);
    }
}

// tamberlo-sync as a process with no session bus (so no secret store) and a home of its own;
// each row's arguments, with the servers' addresses put in, after those before it on one store.
TEST(SyncTool, AnswersEachCommandLine)
{
    DavServer plain(DavServer::Kind::Radicale);
    DavServer tls(DavServer::Kind::Radicale, true);
    DavServer any(DavServer::Kind::Xandikos); // takes any password
    for (const DavServer* server : {&plain, &tls, &any}) {
        ASSERT_TRUE(server->Running()) << server->Problem().toStdString();
    }
    ASSERT_FALSE(tls.MakeCalendar("cal", "Calendar").isEmpty());
    ASSERT_FALSE(any.MakeCalendar("cal", "Calendar").isEmpty());
    FaultProxy second(any.Port());
    IcsServer web;
    web.Serve(Calendar(Event("xmas", "DTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:20261225\r\n"))
                  .c_str());
    IcsServer notCalendar;
    notCalendar.Serve("not a calendar");
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 nobody = closed.serverPort();
    closed.close();
    const std::pair<QString, QString> places[] = {
        {"{plain}", QStringLiteral("127.0.0.1:%1").arg(plain.Port())},
        {"{nobody}", QStringLiteral("127.0.0.1:%1").arg(nobody)},
        {"{tls}", tls.Base().toString()},
        {"{fingerprint}", tls.Fingerprint().toLower()},
        {"{second}", second.Url().toString()},
        {"{web}", web.Url().toString()},
        {"{not}", notCalendar.Url().toString()},
    };
    const auto placed = [&](QString text) {
        for (const auto& [name, place] : places) {
            text.replace(name, place);
        }
        return text;
    };
    const QString who = "--user alice --password-command ";
    const struct {
        QString args;
        int code;
        QString out;
        QString err;
    } answers[] = {
        {"discover http://alice:secret@{plain}/ " + who + "true", 2, "",
         "holds a user name or password"},
        {"discover {plain} " + who + "true", 2, "",
         "answered in plain HTTP, where https was assumed because the address names no http:// "
         "or https://: type http://{plain}"},
        {"discover {nobody} " + who + "true", 2, "",
         "cannot be reached over https, which was assumed"},
        {"discover http://{plain}/ " + who + "\"echo secret\"", 0,
         "No calendars for alice at 127.0.0.1.\n", ""},
        {"add http://{plain}/ --user alice", 2, "",
         "tamberlo-sync: No password for alice at 127.0.0.1: give --password-command or unlock "
         "the desktop's secret store.\n"},
        {"subscribe {web} --name Feiertage", 0, "subscribed to Feiertage (calendar 2): 1 item\n",
         "tamberlo-sync: {web} is plain http: the calendar travels unencrypted and may be changed "
         "on the way.\n"},
        {"", 0, "subscription Feiertage: unchanged\n", ""},
        {"subscribe {not}", 2, "", "{not} holds no calendar.\n"},
        {"subscribe ftp://example.org/x.ics", 2, "",
         "tamberlo-sync: Not the address of a calendar: give an https:// or webcal:// address.\n"},
        // A certificate that does not verify is refused until --trust keeps it in the profile.
        {"add {tls} " + who + "\"echo secret\"", 2, "", ""},
        {"add {tls} " + who + "\"echo secret\" --trust {fingerprint}", 0, "added account 1\n", ""},
        // Each account's rounds send its own password, never another's.
        {"add {second} " + who + "\"echo other\"", 0, "added account 2\n", ""},
        {"", 0, "", ""},
    };
    TempPaths paths;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    environment.insert("HOME", QString::fromStdString(paths.File("home")));
    // Under the sanitizers the leak check at the tool's exit reports what the TLS library still
    // holds after a refused certificate, which would turn every exit code into its own.
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.args.toStdString());
        const ProgramRun run =
            RunProgram(TAMBERLO_SYNC_PROGRAM,
                       QProcess::splitCommand(placed(answer.args)) +
                           QStringList{"--store", QString::fromStdString(paths.StorePath()),
                                       "--profile", QString::fromStdString(paths.ProfilePath())},
                       environment);
        EXPECT_EQ(run.exitCode, answer.code) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(placed(answer.out))) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(placed(answer.err))) << run.err.toStdString();
    }
    EXPECT_EQ(caldav::TrustedFingerprints(Profile(paths.ProfilePath())),
              QStringList{
                  QStringLiteral("127.0.0.1:%1=%2").arg(tls.Port()).arg(placed("{fingerprint}"))});
    const QByteArray theirs = "Basic " + QByteArray("alice:other").toBase64();
    for (const QByteArray& head : second.Heads()) {
        EXPECT_TRUE(head.contains(theirs)) << head.toStdString();
    }
}

// A first pull over a link that cuts a quarter of the answers, first on a full disk: each attempt
// keeps and counts what it applied, and a few take everything in, once.
TEST_P(RoundTest, AFirstPullOverALinkThatCutsAnswersGoesOnWhereItStopped)
{
    if (Hiding()) {
        GTEST_SKIP() << "one listing either way";
    }
    constexpr int events = 300;
    for (int i = 0; i < events; ++i) {
        Plant(QStringLiteral("e%1.ics").arg(i),
              OtherEvent(QStringLiteral("e-%1").arg(i), QStringLiteral("20261207T090000"),
                         QStringLiteral("DTEND:20261207T100000\r\n")));
    }
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    proxy->Set({FaultProxy::Mode::CutAnswers});
    SaveAccount(a_);
    // The tool on a disk that fills up on the way: no file of the store may pass 160 kB.
    QProcess full;
    full.start(QStringLiteral("/bin/sh"),
               QStringList{"-c", "trap '' XFSZ; ulimit -f 320; exec \"$0\" \"$@\"",
                           TAMBERLO_SYNC_PROGRAM} +
                   ToolRoundArguments(a_, Store("t.ini")));
    // A server lists a large calendar slowly: allow it time in proportion.
    ASSERT_TRUE(full.waitForFinished(std::max(120000, events * 30)));
    EXPECT_EQ(full.exitCode(), 2);
    static const QRegularExpression count(QStringLiteral("received (\\d+),"));
    const QRegularExpressionMatch said =
        count.match(QString::fromUtf8(full.readAllStandardOutput()));
    ASSERT_TRUE(said.hasMatch());
    int received = said.captured(1).toInt();
    EXPECT_EQ(static_cast<size_t>(received), Items(a_).size());
    // Many batches, each fetched ahead of the one written: at least eight, at most 500 each.
    pullBatch_ = std::clamp(events / 8, 1, caldav::RoundOptions{}.pullBatch);
    // The program closing during the pull: what was written stays and counts, the fetching
    // thread stops with it.
    const int before = proxy->Requests();
    received += Round(a_, [&] { return proxy->Requests() < before + 4; }).received;
    EXPECT_EQ(static_cast<size_t>(received), Items(a_).size());
    int rounds = 0;
    for (bool done = false; !done && rounds < 6; ++rounds) {
        const caldav::RoundReport report = Round(a_);
        received += report.received;
        EXPECT_EQ(static_cast<size_t>(received), Items(a_).size());
        done = !report.error;
    }
    EXPECT_EQ(ItemAndUidCount(a_), std::make_pair(size_t(events), size_t(events)));
    EXPECT_LE(rounds, 3);
}

// A server that answers a listing only once it has read the whole collection: a first pull waits
// for it as long as a request may take, a round that holds the calendar only in proportion.
TEST_P(RoundTest, AFirstPullWaitsForASlowListing)
{
    if (Hiding()) {
        GTEST_SKIP() << "one wait either way";
    }
    Plant(QStringLiteral("slow.ics"),
          OtherEvent(QStringLiteral("slow"), QStringLiteral("20261207T090000"), {}));
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    connection_.timeoutMs = 300; // four stall limits: 1.2 s
    proxy->On([](int request) {
        if (request % 2 == 1) { // each round's listing
            QThread::msleep(2000);
        }
    });
    const caldav::RoundReport first = Round(a_);
    EXPECT_EQ(std::make_pair(first.received, first.ExitCode()), std::make_pair(1, 0));
    const caldav::RoundReport later = Round(a_);
    EXPECT_EQ(later.error.failure, caldav::Failure::TimedOut);
    proxy->On({});
}

// Rounds started together on one store: one at a time, the others wait or say so and write
// nothing, and every server item is in the store once.
TEST_P(RoundTest, RoundsOnOneStoreRunOneAtATime)
{
    if (Hiding()) {
        GTEST_SKIP() << "the lock is the same whichever way a round follows the server";
    }
    // The first answer to each round comes late, so that two rounds would read the store
    // before either wrote.
    std::atomic<int> lateUntil{0};
    const std::unique_ptr<FaultProxy> proxy = ProxyBefore();
    proxy->On({}, [&](int request) {
        if (request <= lateUntil) {
            QThread::msleep(1500);
        }
    });
    SaveAccount(a_);
    {
        const caldav::RoundLock held(a_, 0);
        ASSERT_TRUE(held.Held());
        const QByteArray before = Fingerprint(a_);
        caldav::RoundOptions options{kRoundNow};
        options.lockWaitMs = 100;
        const caldav::RoundReport busy =
            caldav::RunRound(a_, OccurrenceOnDay, account_, connection_, options);
        EXPECT_TRUE(busy.busy);
        EXPECT_EQ(busy.ExitCode(), 0);
        EXPECT_EQ(busy.notes,
                  std::vector<std::wstring>{L"A sync round is already running on " +
                                            QString::fromStdString(a_).toStdWString() + L"."});
        // The tool says only that, without counts of a round it did not run.
        QProcess tool;
        tool.start(QStringLiteral(TAMBERLO_SYNC_PROGRAM), ToolRoundArguments(a_, Store("t.ini")));
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0);
        EXPECT_EQ(tool.readAllStandardOutput().toStdString(),
                  "A sync round is already running on " + a_ + ".\n");
        EXPECT_EQ(Fingerprint(a_), before);
    }
    // Two tools on a first pull: one pulls, the other waits for it and finds nothing new.
    for (int i = 0; i < 100; ++i) {
        Put(QStringLiteral("s%1.ics").arg(i),
            OtherEvent(QStringLiteral("s-%1").arg(i), QStringLiteral("20261207T090000"),
                       QStringLiteral("DTEND:20261207T100000\r\n")));
    }
    lateUntil = proxy->Requests() + 2;
    std::vector<std::unique_ptr<QProcess>> tools;
    for (int i = 0; i < 2; ++i) {
        tools.push_back(std::make_unique<QProcess>());
        tools.back()->start(QStringLiteral(TAMBERLO_SYNC_PROGRAM),
                            ToolRoundArguments(a_, Store("t.ini")));
    }
    for (const auto& tool : tools) {
        ASSERT_TRUE(tool->state() == QProcess::NotRunning || tool->waitForFinished(60000));
        EXPECT_EQ(tool->exitCode(), 0) << tool->readAllStandardError().toStdString();
    }
    EXPECT_EQ(ItemAndUidCount(a_), std::make_pair(size_t{100}, size_t{100}));
}
