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

TEST_P(PlainRoundTest, TheToolKeepsAccountsAndRunsRounds)
{
    const std::string cal = calendar_.toString().toStdString();
    const std::string base = server_->Base().toString().toStdString();
    const std::string path = calendar_.path().toStdString();
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--store", a_, "--profile", Store("t.ini")});
        return Tool(args);
    };
    // Options before the command as well as after it.
    const ToolRun discovered =
        Tool({"--store", a_, "--profile", Store("t.ini"), "--password-command", "echo secret",
              "discover", base, "--user", "alice"});
    EXPECT_EQ(discovered.code, 0) << discovered.err;
    EXPECT_NE(discovered.out.find(cal + "\tCalendar\tevents, tasks\n"), std::string::npos);
    EXPECT_NE(discovered.err.find(" is plain http: the password and the calendars travel "
                                  "unencrypted.\n"),
              std::string::npos);
    std::vector<std::string> args = {
        "add", base, "--user", "alice", "--password-command", "echo secret", "--calendar", path};
    EXPECT_EQ(with(args).out, "added account 1\n");
    EXPECT_EQ(with({"list"}).out, "1\talice\t" + base + "\n\tCalendar <" + cal +
                                      ">\tevents, tasks\t0 items\nlocal\n\tPersonal\tevents, "
                                      "tasks\t0 items\n");
    args.back() = cal; // adding again adds to the account, which has the calendar already
    EXPECT_EQ(with(args).out, "added to account 1\n");
    // Each round runs the account's own command, kept by add.
    ASSERT_EQ(Save(a_, Appointment(L"from the tool", 46370.5, CalendarNamed(a_, L"Calendar"))), 0);
    Put("odd.ics", EventText("odd", "DTSTART:20261207T090000Z\r\nRRULE:FREQ=MINUTELY\r\n"));
    const ToolRun first = with({});
    EXPECT_EQ(first.code, 1) << first.err;
    EXPECT_EQ(
        first.out.rfind("alice at 127.0.0.1: sent 1, deleted there 0, received 0, deleted here "
                        "0, conflicts 0, left on the server 1, refused 0\n  Left on the "
                        "server as it is: ",
                        0),
        0U)
        << first.out;
    if (GetParam().kind == DavServer::Kind::Radicale) {
        const ToolRun wrong = with({"--password-command", "echo wrong"}); // one line, as a round's
        EXPECT_EQ(std::make_pair(wrong.code, std::count(wrong.err.begin(), wrong.err.end(), '\n')),
                  std::make_pair(2, 1L));
    }
    EXPECT_EQ(with({"remove", "1"}).out, "removed account 1\n");
    const std::vector<std::string> bad[] = {{"remove", "x"}, {"add", base},
                                            {"--bogus"},     {"sync"},
                                            {"remove", "7"}, {"--account", "1", "list"}};
    for (const std::vector<std::string>& args : bad) {
        EXPECT_EQ(with(args).code, 2);
    }
}

// tamberlo-sync as a process with no session bus (so no secret store) and a home of its own;
// each row's arguments, with the servers' addresses put in, after those before it on one store.
TEST(SyncTool, AnswersEachCommandLine)
{
    DavServer plain(DavServer::Kind::Radicale);
    DavServer tls(DavServer::Kind::Radicale, true);
    DavServer any(DavServer::Kind::Xandikos); // takes any password
    ASSERT_TRUE(plain.Running() && tls.Running() && any.Running());
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
        QString out, err;
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
    for (const QByteArray& head : second.Heads()) {
        EXPECT_TRUE(head.contains("Basic " + QByteArray("alice:other").toBase64()));
    }
}

// A first pull over a link that cuts a quarter of the answers, first on a full disk: each attempt
// keeps and counts what it applied, and a few take everything in, once.
TEST_P(PlainRoundTest, AFirstPullOverALinkThatCutsAnswersGoesOnWhereItStopped)
{
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
    ASSERT_TRUE(full.waitForFinished(std::max(120000, events * 30)) && full.exitCode() == 2);
    const QRegularExpressionMatch said =
        QRegularExpression(QStringLiteral("received (\\d+),"))
            .match(QString::fromUtf8(full.readAllStandardOutput()));
    ASSERT_TRUE(said.hasMatch());
    int received = said.captured(1).toInt();
    EXPECT_EQ(static_cast<size_t>(received), Items(a_).size());
    // Many batches, each fetched ahead of the one written: at least eight, at most 500 each.
    pullBatch_ = std::clamp(events / 8, 1, caldav::RoundOptions{}.pullBatch);
    // The program closing during the pull: what was written stays and counts, the fetch stops.
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
TEST_P(PlainRoundTest, AFirstPullWaitsForASlowListing)
{
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
    EXPECT_EQ(Round(a_).error.failure, caldav::Failure::TimedOut);
    proxy->On({});
}

// Rounds on one store run one at a time; the others wait or say so, and nothing comes twice.
TEST_P(PlainRoundTest, RoundsOnOneStoreRunOneAtATime)
{
    // Each round's first answer comes late: two rounds would read before either wrote.
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
        EXPECT_TRUE(busy.busy && busy.ExitCode() == 0);
        // The tool says only so, without counts of a round it did not run.
        QProcess tool;
        tool.start(QStringLiteral(TAMBERLO_SYNC_PROGRAM), ToolRoundArguments(a_, Store("t.ini")));
        ASSERT_TRUE(tool.waitForFinished(30000) && tool.exitCode() == 0);
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
    QProcess tools[2];
    for (QProcess& tool : tools) {
        tool.start(QStringLiteral(TAMBERLO_SYNC_PROGRAM), ToolRoundArguments(a_, Store("t.ini")));
    }
    for (QProcess& tool : tools) {
        ASSERT_TRUE(tool.state() == QProcess::NotRunning || tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }
    EXPECT_EQ(ItemAndUidCount(a_), std::make_pair(size_t{100}, size_t{100}));
}
