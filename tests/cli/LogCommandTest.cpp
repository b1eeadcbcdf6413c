#include "cli/LogCommand.h"
#include "CtlRun.h"
#include "LoopbackUnits.h"
#include "SimUnit.h"
#include "platform/AtomicFile.h"
#include "registry/UnitList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

using namespace vantel;

namespace {

using test::CtlRun;

// Lines of a log file in UTF-8, each still ending in CR.
std::vector<std::string> LinesOf(const std::filesystem::path& file, const TextCodec& codec)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::vector<std::string> lines;
    std::istringstream text(codec.decode(bytes.str()));
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

// What a run said on stderr after its first line, which tells where it logs.
std::string AfterBanner(const std::string& err)
{
    if (err.rfind("logging into ", 0) != 0)
        return err;
    return err.substr(err.find('\n') + 1);
}

class CtlLogCommand : public ::testing::Test {
protected:
    // A list file with one unit named `name` of catalogue row `row` at `port`.
    void addUnit(const std::string& name, int row, int port)
    {
        UnitList list(listFile(), codec);
        test::AddLoopbackUnit(list, name, row, port).windowLeft = 40;
        ASSERT_EQ(list.Save(), 0);
    }

    CtlRun log(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--list", listFile(), "--folder", logs.folder()});
        return test::RunCtl(ctl::RunLog, args);
    }

    std::string listFile() const { return (home.path() / "vantel.dat").string(); }

    std::vector<std::filesystem::path> logFiles() const
    {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(logs.path()))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    TextCodec codec{"CP932"};
    test::TempFolder home;
    test::TempFolder logs;
};

const std::regex kDataLine(R"(\d{4}/\d{2}/\d{2},\d{2}:\d{2}:\d{2},[01],[01],[01],[01],[01],[01],[01],[01]\r)");

TEST_F(CtlLogCommand, WritesThePanelsHeaderAndOneLinePerPollAndLeavesTheListAlone)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22, .inputBits = 0b0101});
    unit.start();
    unit.modify([](sim::UnitState& s) { s.outputBits = 0b0010; });
    addUnit("Tank", 22, unit.port());
    // Line ends a save would rewrite: the file must come out as it went in,
    // since the program may change the list while a run goes on.
    std::string before = ReadWholeFile(listFile()).value();
    for (std::size_t at; (at = before.find("\r\n")) != std::string::npos;)
        before.erase(at, 1);
    WriteFileAtomically(listFile(), before);

    const CtlRun run = log({"--unit", "Tank", "--period", "1", "--seconds", "1"});
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_EQ(run.out, "") << "messages go to stderr";
    EXPECT_EQ(AfterBanner(run.err), "stopped\n");

    ASSERT_EQ(logFiles(), std::vector{logs.path() / "Tank.csv"});
    const auto lines = LinesOf(logs.path() / "Tank.csv", codec);
    ASSERT_GE(lines.size(), 3u) << "the header and the polls of a second";
    EXPECT_EQ(lines[0], "日付,時刻,DO1,DO2,DO3,DO4,DI1,DI2,DI3,DI4\r") << "the header in CP932 with CR LF";
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(std::regex_match(lines[i], kDataLine)) << lines[i];
    EXPECT_EQ(lines.back().substr(20), "0,1,0,0,1,0,1,0\r") << "the unit's outputs and inputs";

    EXPECT_EQ(ReadWholeFile(listFile()).value(), before) << "a run does not write the list back";
}

TEST_F(CtlLogCommand, WithoutAFolderTheLogGoesBesideTheNamedList)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22});
    unit.start();
    addUnit("Tank", 22, unit.port());
    // Polls every 100 ms for two seconds: a loaded machine still writes lines well inside the run.
    const CtlRun run =
        test::RunCtl(ctl::RunLog, {"--list", listFile(), "--unit", "Tank", "--period", "1", "--seconds", "2"});
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_EQ(run.err.rfind("logging into " + home.folder(), 0), 0u) << run.err;
    const auto lines = LinesOf(home.path() / "Tank.csv", codec);
    ASSERT_GE(lines.size(), 2u) << "the header and the start-up line";
    EXPECT_EQ(lines[0], "日付,時刻,DO1,DO2,DO3,DO4,DI1,DI2,DI3,DI4\r");
}

TEST_F(CtlLogCommand, FileSwitchingNamesTheFileByTheStartTimeAndAppendsTheNumber)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 8});
    unit.start();
    addUnit("Pump/1", 8, unit.port());
    const CtlRun run =
        log({"--unit", "Pump/1", "--period", "2", "--switch", "1000", "--seconds", "1", "--codepage", "UTF-8"});
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    const auto files = logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0].filename().string(), std::regex(R"(Pump_1_\d{8}_\d{6}_001\.csv)")))
        << files[0];
    const auto lines = LinesOf(files[0], TextCodec("UTF-8"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "日付,時刻,DO1,DO2,DO3,DI1,DI2,DI3\r");
}

TEST_F(CtlLogCommand, RefusesUnitsItCannotLogAndBadOptions)
{
    addUnit("Outputs only", 4, 10003);
    addUnit("Digital", 22, 10003);

    const CtlRun unknown = log({"--unit", "Nobody", "--seconds", "1"});
    EXPECT_EQ(unknown.code, ctl::kExitRefused);
    EXPECT_NE(unknown.err.find("no unit named \"Nobody\""), std::string::npos) << unknown.err;
    const CtlRun noInputs = log({"--unit", "Outputs only", "--seconds", "1"});
    EXPECT_EQ(noInputs.code, ctl::kExitRefused);
    EXPECT_NE(noInputs.err.find("no digital inputs"), std::string::npos) << noInputs.err;

    const CtlRun badPeriod = log({"--unit", "Digital", "--period", "1000000"});
    EXPECT_EQ(badPeriod.code, ctl::kExitUsage);
    EXPECT_EQ(badPeriod.err.rfind("時間設定が不正です。\n", 0), 0u) << badPeriod.err;
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--unit", "Digital", "--switch", "500"},
             {"--unit", "Digital", "--seconds", "0"},
             {"--unit", "Digital", "--seconds", "x"},
             {"--unit", "Digital", "--codepage", "EBCDIC"},
             {"--unit", "Digital", "--colour", "red"},
             {"--unit", "Digital", "extra"},
             {"--seconds", "1"},
         }) {
        const CtlRun run = log(bad);
        EXPECT_EQ(run.code, ctl::kExitUsage) << bad.back();
        EXPECT_FALSE(run.err.empty());
    }

    const CtlRun noFolder = log({"--unit", "Digital", "--folder", (logs.path() / "gone").string()});
    EXPECT_EQ(noFolder.code, ctl::kExitRefused);
    EXPECT_NE(noFolder.err.find("log folder not found"), std::string::npos) << noFolder.err;
    EXPECT_TRUE(logFiles().empty());
}

TEST_F(CtlLogCommand, ReportsTheConnectFailureAsThePanelDoes)
{
    sim::SimUnit closed(sim::UnitConfig{.row = 22, .refuseConnections = true});
    closed.start();
    addUnit("Closed", 22, closed.port());
    const CtlRun run = log({"--unit", "Closed", "--seconds", "5"});
    EXPECT_EQ(run.code, ctl::kExitRefused);
    EXPECT_EQ(AfterBanner(run.err), "接続エラー\ncode : 10061\n");
    EXPECT_TRUE(logFiles().empty());
}

TEST_F(CtlLogCommand, AFailedPollEndsTheRunWithThePanelsMessage)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22});
    unit.start();
    addUnit("Flaky", 22, unit.port());
    std::thread breaker([&unit] {
        // Once polling runs, the unit hangs up on the next command.
        if (unit.waitForCommandCount(8, std::chrono::seconds(20)))
            unit.setFault(sim::Fault::DropConnection);
    });
    const CtlRun run = log({"--unit", "Flaky", "--period", "1", "--seconds", "60"});
    breaker.join();
    EXPECT_EQ(run.code, ctl::kExitRefused);
    EXPECT_EQ(AfterBanner(run.err), "ORVEX通信エラー\n");
}

// Header and line shape of every analog panel class: the line has a column
// for every header column, values as the class formats them.
TEST_F(CtlLogCommand, AnalogUnitsLogTheColumnsOfTheirPanelClass)
{
    struct Case {
        int row;
        std::string header;
        std::regex line;
    };
    const std::string stamp = R"(\d{4}/\d{2}/\d{2},\d{2}:\d{2}:\d{2})";
    const std::string ai = R"(,-?[0-9.]+,(V|mV|mA|℃))";
    const std::string ao = R"(,-?[0-9.]+,(V|mA))";
    const std::vector<Case> cases{
        {19, "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\r", std::regex(stamp + ai + ai + ai + ",0,0\r")},
        {18, "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\r", std::regex(stamp + ai + ai + ai + ",0,0\r")},
        {48, "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\r", std::regex(stamp + ai + ai + ai + ",0,0\r")},
        {30, "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,AI4,単位4,AI5,単位5\r",
         std::regex(stamp + ai + ai + ai + ai + ai + "\r")},
        {21, "日付,時刻,DI1,DI2,DI3,AO1,単位1,AO2,単位2\r", std::regex(stamp + ",1,0,1" + ao + ao + "\r")},
        {20, "日付,時刻,DI1,DI2,AO1,単位1,AO2,単位2,AO3,単位3\r", std::regex(stamp + ",1,0" + ao + ao + ao + "\r")},
        {49, "日付,時刻,DI1,DI2,DI3,AO1,単位1,AO2,単位2,AO3,単位3\r",
         std::regex(stamp + ",1,0,1" + ao + ao + ao + "\r")},
    };
    for (const Case& c : cases) {
        sim::SimUnit unit(sim::UnitConfig{.row = c.row, .inputBits = 0b101});
        unit.start();
        const std::string name = "Row" + std::to_string(c.row);
        addUnit(name, c.row, unit.port());
        const CtlRun run = log({"--unit", name, "--period", "1", "--seconds", "1"});
        ASSERT_EQ(run.code, ctl::kExitOk) << c.row << ": " << run.err;
        const auto lines = LinesOf(logs.path() / (name + ".csv"), codec);
        ASSERT_GE(lines.size(), 3u) << c.row;
        EXPECT_EQ(lines[0], c.header) << c.row;
        for (std::size_t i = 1; i < lines.size(); ++i)
            EXPECT_TRUE(std::regex_match(lines[i], c.line)) << c.row << ": " << lines[i];
    }
}

TEST_F(CtlLogCommand, AnAnalogUnitThatStopsAnsweringEndsTheRunWithOneMessage)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 19});
    unit.start();
    addUnit("Meter", 19, unit.port());
    std::thread breaker([&unit] {
        // Once the start-up reads are through and polling runs, the unit falls silent.
        if (unit.waitForCommandCount(12, std::chrono::seconds(20)))
            unit.setFault(sim::Fault::NoReply);
    });
    const CtlRun run = log({"--unit", "Meter", "--period", "1", "--seconds", "60"});
    breaker.join();
    EXPECT_EQ(run.code, ctl::kExitRefused);
    const std::string message = "ORVEX通信エラー\n";
    ASSERT_GE(run.err.size(), message.size()) << run.err;
    EXPECT_EQ(run.err.substr(run.err.size() - message.size()), message) << "the run ends at the panel's message";
    EXPECT_EQ(run.err.find(message), run.err.size() - message.size()) << "shown once";
}

TEST_F(CtlLogCommand, SigtermStopsTheRunCleanly)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 22});
    unit.start();
    addUnit("Long", 22, unit.port());
    std::thread stopper([&unit] {
        // Polling has begun, so the command's own handler is in place.
        if (unit.waitForCommandCount(8, std::chrono::seconds(20)))
            std::raise(SIGTERM);
    });
    const CtlRun run = log({"--unit", "Long", "--period", "1", "--seconds", "60"});
    stopper.join();
    EXPECT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_EQ(AfterBanner(run.err), "stopped\n");
    EXPECT_GE(LinesOf(logs.path() / "Long.csv", codec).size(), 2u);
}

} // namespace
