#include "cli/LogService.h"
#include "CtlRun.h"
#include "LoopbackUnits.h"
#include "SimUnit.h"
#include "cli/LogCommand.h"
#include "cli/RetryBackOff.h"
#include "platform/AtomicFile.h"
#include "registry/UnitList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <csignal>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

using namespace vantel;

namespace {

using test::CtlRun;

// Follows the units' own threads: true once `done` holds, false after a generous limit.
bool Eventually(const std::function<bool()>& done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string FileText(const std::filesystem::path& file)
{
    return ReadWholeFile(file.string()).value_or("");
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// Messages written by several threads, read by the test.
class SharedStream {
public:
    std::ostream& stream() { return out_; }
    std::string text()
    {
        const std::lock_guard lock(mutex_);
        return buffer_.str();
    }

private:
    class Buffer : public std::stringbuf {
    public:
        explicit Buffer(std::recursive_mutex& mutex) : mutex_(mutex) {}

    protected:
        std::streamsize xsputn(const char* s, std::streamsize n) override
        {
            const std::lock_guard lock(mutex_);
            return std::stringbuf::xsputn(s, n);
        }
        int_type overflow(int_type c) override
        {
            const std::lock_guard lock(mutex_);
            return std::stringbuf::overflow(c);
        }

    private:
        std::recursive_mutex& mutex_; // xsputn may call overflow
    };
    std::recursive_mutex mutex_;
    Buffer buffer_{mutex_};
    std::ostream out_{&buffer_};
};

// Lines `name` has written by the closing summary of a run.
long SummaryLines(const std::string& err, const std::string& name)
{
    std::smatch found;
    const std::regex summary("(^|\n)" + name + ": (\\d+) lines, ");
    std::string::const_iterator from = err.begin();
    long lines = -1;
    while (std::regex_search(from, err.end(), found, summary)) {
        lines = std::stol(found[2].str());
        from = found[0].second;
    }
    return lines;
}

class FixedLocalTime : public LocalTimeSource {
public:
    LocalDateTime now() const override { return {2026, 12, 6, 23, 15, 0}; }
};

class CtlLogService : public ::testing::Test {
protected:
    void addUnit(const std::string& name, int row, int port) { test::AddLoopbackUnit(list, name, row, port); }

    CtlRun log(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--list", list.filePath(), "--folder", logs.folder()});
        return test::RunCtl(ctl::RunLog, args);
    }

    // Logs `unit` (row 22) as "Tank" every 100 ms, reopening it after
    // failures on `clock`'s back-off.
    std::unique_ptr<ctl::LogService> startTank(sim::SimUnit& unit, const Clock& clock, std::ostream& messages,
                                               int unitTimeoutMs = 0)
    {
        unit.start();
        addUnit("Tank", 22, unit.port());
        ctl::LogServiceSettings settings;
        settings.period = "1";
        settings.folder = logs.folder();
        settings.codec = &codec;
        settings.keepGoing = true;
        settings.clock = &clock;
        settings.unitTimeoutMs = unitTimeoutMs;
        auto service = std::make_unique<ctl::LogService>(settings, messages);
        service->add(list.at(0), ctl::LoggingFor(list.at(0)).open);
        service->start();
        return service;
    }

    // Good units beside hostile ones, all in the list. Nothing a hostile
    // unit sends is an answer, so it times out (or, two-byte, reports no
    // model of the catalogue) while opening, on every reopening.
    void addGoodAndHostileUnits()
    {
        goodA.start();
        goodB.start();
        addUnit("Good A", 22, goodA.port());
        addUnit("Good B", 8, goodB.port());
        const std::pair<int, sim::Stream> streams[] = {{22, sim::Stream::WrongEcho},
                                                       {22, sim::Stream::Trickle},
                                                       {19, sim::Stream::Flood},
                                                       {8, sim::Stream::Terminators}};
        for (const auto& [row, stream] : streams) {
            hostile.push_back(std::make_unique<sim::SimUnit>(sim::UnitConfig{.row = row, .stream = stream}));
            hostile.back()->start();
            addUnit("Hostile " + std::to_string(hostile.size()), row, hostile.back()->port());
        }
    }

    // A run that was stopped says how far every unit got, and each good
    // unit's file holds exactly the lines it counted.
    void expectSummaryAndNothingLost(const CtlRun& run)
    {
        for (const std::string name : {"Good A", "Good B", "Hostile 1", "Hostile 2", "Hostile 3", "Hostile 4"})
            EXPECT_GE(SummaryLines(run.err, name), 0) << name << ": " << run.err;
        for (const std::string name : {"Good A", "Good B"}) {
            const std::string file = FileText(logs.path() / (name + ".csv"));
            EXPECT_GE(SummaryLines(run.err, name), 1) << run.err;
            EXPECT_EQ(static_cast<long>(Count(file, "\r\n")) - 1, SummaryLines(run.err, name)) << name;
        }
    }

    TextCodec codec{"CP932"};
    test::TempFolder home;
    test::TempFolder logs;
    UnitList list{(home.path() / "vantel.dat").string(), codec};
    sim::SimUnit goodA{sim::UnitConfig{.row = 22}};
    sim::SimUnit goodB{sim::UnitConfig{.row = 8}};
    std::vector<std::unique_ptr<sim::SimUnit>> hostile;
};

TEST(RetryBackOff, DoublesFromOneSecondToAMinuteAndStartsOverAfterAGoodRun)
{
    ctl::RetryBackOff backOff;
    std::vector<std::int64_t> waits;
    std::int64_t now = 5000;
    for (int i = 0; i < 9; ++i) {
        const std::int64_t next = backOff.failedAt(now);
        waits.push_back(next - now);
        now = next;
    }
    EXPECT_EQ(waits, (std::vector<std::int64_t>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000}));
    backOff.succeeded();
    EXPECT_EQ(backOff.failedAt(now) - now, 1000);
}

TEST_F(CtlLogService, SeveralUnitsLogIntoTheirOwnFilesInOneRunAndAllNamesWhatItSkips)
{
    sim::SimUnit a(sim::UnitConfig{.row = 22, .inputBits = 0b0001});
    sim::SimUnit b(sim::UnitConfig{.row = 8, .inputBits = 0b0110});
    a.start();
    b.start();
    addUnit("Line A", 22, a.port());
    addUnit("Outputs only", 4, 10003); // nothing to poll: no inputs
    addUnit("Line B", 8, b.port());

    const CtlRun run = log({"--all", "--period", "1", "--seconds", "1"});
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("not logged: \"Outputs only\" (QZ-K13 / QZ-K13(G)) has no digital inputs"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("\nLine A: "), std::string::npos) << "the closing summary: " << run.err;
    EXPECT_NE(run.err.find(" lines, 0 outages, last line "), std::string::npos) << run.err;

    const std::string fileA = codec.decode(FileText(logs.path() / "Line A.csv"));
    const std::string fileB = codec.decode(FileText(logs.path() / "Line B.csv"));
    EXPECT_EQ(fileA.rfind("日付,時刻,DO1,DO2,DO3,DO4,DI1,DI2,DI3,DI4\r\n", 0), 0u) << fileA;
    EXPECT_EQ(fileB.rfind("日付,時刻,DO1,DO2,DO3,DI1,DI2,DI3\r\n", 0), 0u) << fileB;
    EXPECT_GE(Count(fileA, "\r\n"), 3u);
    EXPECT_NE(fileB.find(",0,0,0,0,1,1\r\n"), std::string::npos) << "B's own inputs: " << fileB;
    EXPECT_FALSE(std::filesystem::exists(logs.path() / "Analog.csv"));
}

TEST_F(CtlLogService, WithoutKeepGoingAFailedUnitEndsOnlyItselfAndTheExitCodeSaysSo)
{
    sim::SimUnit good(sim::UnitConfig{.row = 22});
    sim::SimUnit closed(sim::UnitConfig{.row = 22, .refuseConnections = true});
    good.start();
    closed.start();
    addUnit("Good", 22, good.port());
    addUnit("Closed", 22, closed.port());

    const CtlRun run = log({"--unit", "Good", "--unit", "Closed", "--period", "1", "--seconds", "1"});
    EXPECT_EQ(run.code, ctl::kExitRefused);
    EXPECT_NE(run.err.find(" Closed: 接続エラー code : 10061\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Closed: 0 lines, 1 outage, no line yet, ended after a failure"), std::string::npos)
        << run.err;
    EXPECT_GE(Count(FileText(logs.path() / "Good.csv"), "\r\n"), 3u) << "the other unit logged on";
}

TEST_F(CtlLogService, AUnitSwitchedOffAndOnResumesInItsFileAfterItsBackOff)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22});
    ManualClock clock(1'000'000);
    SharedStream messages;
    const auto service = startTank(unit, clock, messages.stream());
    const auto tank = [&] { return service->status().at(0); };
    ASSERT_TRUE(Eventually([&] { return tank().lines >= 3; }));

    // Switched off: the next poll finds the connection gone and reconnecting refused.
    unit.setRefuseConnections(true);
    unit.setFault(sim::Fault::DropConnection);
    ASSERT_TRUE(Eventually([&] { return tank().reopenAtMs == clock.nowMs() + 1000; })) << messages.text();
    EXPECT_EQ(tank().outages, 1);
    // Still off: every try fails and the wait doubles, without a second message.
    for (const std::int64_t wait : {1000, 2000, 4000}) {
        clock.advance(wait);
        ASSERT_TRUE(Eventually([&] { return tank().reopenAtMs == clock.nowMs() + 2 * wait; }))
            << "after waiting " << wait << ": " << messages.text();
    }
    EXPECT_EQ(Count(messages.text(), "Tank: "), 1u) << messages.text();
    EXPECT_NE(messages.text().find(" Tank: ORVEX通信エラー; trying again until it answers\n"), std::string::npos)
        << messages.text();
    const long linesBefore = tank().lines;

    // Back on: the next try after the wait opens it again, into the same file.
    unit.setFault(sim::Fault::None);
    unit.setRefuseConnections(false);
    clock.advance(8000);
    ASSERT_TRUE(Eventually([&] { return tank().lines >= linesBefore + 3; })) << messages.text();
    ASSERT_TRUE(Eventually([&] { return messages.text().find("Tank: logging again\n") != std::string::npos; }));
    EXPECT_EQ(tank().outages, 1);

    // A second outage starts again from a one-second wait.
    unit.setRefuseConnections(true);
    unit.setFault(sim::Fault::DropConnection);
    ASSERT_TRUE(Eventually([&] { return tank().reopenAtMs == clock.nowMs() + 1000; })) << messages.text();
    EXPECT_EQ(tank().outages, 2);
    service->stop();

    const std::string file = codec.decode(FileText(logs.path() / "Tank.csv"));
    EXPECT_EQ(Count(file, "日付,時刻"), 1u) << "one header: the file went on";
    EXPECT_EQ(static_cast<long>(Count(file, "\r\n")), tank().lines + 1);
    EXPECT_FALSE(tank().failed);
}

TEST_F(CtlLogService, AUnitStillOpeningHoldsUpNeitherAnotherUnitsLinesNorWhatIsPostedToItNorTheStop)
{
    // One thread serves every running panel; the opening of a unit that
    // swallows every command waits out its time-out on a thread of its own.
    sim::SimUnit silent(sim::UnitConfig{.row = 22, .fault = sim::Fault::NoReply});
    silent.start();
    goodA.start();
    addUnit("Silent", 22, silent.port());
    addUnit("Good A", 22, goodA.port());
    ctl::LogServiceSettings settings;
    settings.period = "1";
    settings.folder = logs.folder();
    settings.codec = &codec;
    settings.unitTimeoutMs = 3'600'000; // a stop that waited for it would hang the test
    SharedStream messages;
    ctl::LogService service(settings, messages.stream());
    for (int i = 0; i < list.count(); ++i)
        service.add(list.at(i), ctl::LoggingFor(list.at(i)).open);
    service.start();
    const auto status = [&](std::size_t unit) { return service.status().at(unit); };

    ASSERT_TRUE(Eventually([&] { return status(1).lines >= 3; })) << messages.text();
    std::atomic<bool> ran{false};
    ASSERT_TRUE(Eventually([&] { return service.post("Good A", [&](PanelBase&) { ran = true; }); }));
    ASSERT_TRUE(Eventually([&] { return ran.load(); }));
    EXPECT_FALSE(service.post("Silent", [](PanelBase&) {})) << "no panel runs yet";
    EXPECT_EQ(status(0).lines, 0);

    // The stop gives the opening up after its grace.
    service.stop();
    EXPECT_FALSE(service.running());
    const std::string file = FileText(logs.path() / "Good A.csv");
    EXPECT_EQ(static_cast<long>(Count(file, "\r\n")) - 1, status(1).lines);
}

TEST_F(CtlLogService, StatusLinesComeEverySAndTheRunEndsWithTheSameSummary)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22});
    unit.start();
    addUnit("Tank", 22, unit.port());
    const CtlRun run = log({"--unit", "Tank", "--period", "1", "--status", "1", "--seconds", "3"});
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_GE(Count(run.err, "Tank: "), 3u) << "two or three status lines and the summary: " << run.err;
    EXPECT_EQ(run.err.find("stopped"), std::string::npos);
}

TEST_F(CtlLogService, CommandLineMistakes)
{
    addUnit("Tank", 22, 10003);
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--all", "--unit", "Tank"},
             {"--unit", "Tank", "--unit", "Tank"},
             {"--all", "--status", "0"},
             {"--all", "--timeout", "0"},
             {"--all", "--timeout", "20000"},
             {"--keep-going"},
         }) {
        const CtlRun run = log(bad);
        EXPECT_EQ(run.code, ctl::kExitUsage) << bad.back();
        EXPECT_FALSE(run.err.empty());
    }
    const CtlRun none = test::RunCtl(
        ctl::RunLog, {"--list", list.filePath(), "--folder", logs.folder(), "--unit", "Tank", "--unit", "Nobody"});
    EXPECT_EQ(none.code, ctl::kExitRefused);
    EXPECT_NE(none.err.find("no unit named \"Nobody\""), std::string::npos);
}

// Hostile units used to hold a stop for ever: an exchange never ended while
// the unit kept sending. Now each ends by its deadline, and a stop gives up
// a unit still opening after the close grace.
TEST_F(CtlLogService, HostileUnitsBesideGoodOnesEndARunOfSomeSecondsWithStatusLines)
{
    addGoodAndHostileUnits();
    const CtlRun run = log({"--all", "--keep-going", "--period", "1", "--seconds", "2"});
    EXPECT_EQ(run.code, ctl::kExitOk) << run.err;
    expectSummaryAndNothingLost(run);
}

TEST_F(CtlLogService, HostileUnitsBesideGoodOnesEndARunAtSigtermWithStatusLines)
{
    addGoodAndHostileUnits();
    std::thread stopper([this] {
        // Polling has gone on for a while (the start-up reads take a dozen
        // commands), so the command's own handler is in place.
        if (goodA.waitForCommandCount(24, std::chrono::seconds(20)))
            std::raise(SIGTERM);
    });
    const CtlRun run = log({"--all", "--keep-going", "--period", "1", "--seconds", "600"});
    stopper.join();
    EXPECT_EQ(run.code, ctl::kExitOk) << run.err;
    expectSummaryAndNothingLost(run);
}

TEST_F(CtlLogService, UnderKeepGoingAUnitThatTalksWithoutAnsweringIsAnOutageAndIsOpenedAgain)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22});
    ManualClock clock(1'000'000);
    SharedStream messages;
    const auto service = startTank(unit, clock, messages.stream(), 200);
    const auto tank = [&] { return service->status().at(0); };
    ASSERT_TRUE(Eventually([&] { return tank().lines >= 2; }));

    unit.setStream(sim::Stream::WrongEcho, std::chrono::milliseconds(20));
    ASSERT_TRUE(Eventually([&] { return tank().reopenAtMs.has_value(); })) << messages.text();
    EXPECT_EQ(tank().outages, 1);
    EXPECT_NE(messages.text().find("Tank: ORVEX通信エラー; trying again until it answers"), std::string::npos)
        << messages.text();

    unit.setStream(sim::Stream::None);
    const long linesBefore = tank().lines;
    clock.advance(1000);
    ASSERT_TRUE(Eventually([&] { return tank().lines >= linesBefore + 2; })) << messages.text();
    ASSERT_TRUE(Eventually([&] { return messages.text().find("Tank: logging again\n") != std::string::npos; }));
    service->stop();
    EXPECT_EQ(tank().outages, 1);
}

// Restarted (after a kill -9, say) within the second its last run started,
// the service names its series the same: it must not go on in the old one.
TEST_F(CtlLogService, ARunRestartedWithinTheSecondStartsASeriesOfItsOwn)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22});
    unit.start();
    addUnit("Tank", 22, unit.port());
    const FixedLocalTime sameSecond;
    ctl::LogServiceSettings settings;
    settings.period = "1";
    settings.folder = logs.folder();
    settings.codec = &codec;
    settings.fileSwitchLines = 1000;
    settings.localTime = &sameSecond;
    std::array<long, 2> written{};
    for (long& lines : written) {
        SharedStream messages;
        ctl::LogService service(settings, messages.stream());
        service.add(list.at(0), ctl::LoggingFor(list.at(0)).open);
        service.start();
        ASSERT_TRUE(Eventually([&] { return service.status().at(0).lines >= 2; })) << messages.text();
        service.stop();
        lines = service.status().at(0).lines;
    }
    const std::string first = FileText(logs.path() / "Tank_20261206_231500_001.csv");
    const std::string second = FileText(logs.path() / "Tank_20261206_231500-2_001.csv");
    EXPECT_EQ(Count(codec.decode(first), "日付,時刻"), 1u);
    EXPECT_EQ(Count(codec.decode(second), "日付,時刻"), 1u);
    EXPECT_EQ(static_cast<long>(Count(first, "\r\n")) - 1, written[0]);
    EXPECT_EQ(static_cast<long>(Count(second, "\r\n")) - 1, written[1]);
}

} // namespace
