#include "cli/UnitCommands.h"
#include "CtlRun.h"
#include "LoopbackUnits.h"
#include "SimUnit.h"
#include "cli/CtlMain.h"
#include "comm/link/TraceHub.h"
#include "comm/link/TraceLine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>

using namespace vantel;

namespace {

using test::CtlRun;

CtlRun run(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&), std::vector<std::string> args)
{
    args.insert(args.end(), {"--timeout", "500"});
    return test::RunCtl(command, args);
}

std::string at(const sim::SimUnit& unit)
{
    return "127.0.0.1:" + std::to_string(unit.port());
}

} // namespace

TEST(CtlUnitCommands, ProbeChecksTheModelLikeTheProgram)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22, .unitId = 5});
    digital.start();
    const CtlRun ok = run(ctl::RunProbe, {at(digital), "--model", "22"});
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_EQ(ok.out, "unit-id 5 model 17\n");

    const CtlRun wrong = run(ctl::RunProbe, {at(digital), "--model", "23"});
    EXPECT_EQ(wrong.code, ctl::kExitRefused);
    EXPECT_EQ(wrong.err, "モデルが違います。\n");

    sim::SimUnit closed(sim::UnitConfig{.row = 22, .refuseConnections = true});
    closed.start();
    const CtlRun refused = run(ctl::RunProbe, {at(closed), "--model", "22"});
    EXPECT_EQ(refused.code, ctl::kExitRefused);
    EXPECT_EQ(refused.err, "接続エラー\ncode : 10061\n");

    EXPECT_EQ(run(ctl::RunProbe, {at(digital), "--model", "33"}).code, ctl::kExitUsage) << "gateway rows";
    EXPECT_EQ(run(ctl::RunProbe, {"127.0.0.1:99999", "--model", "0"}).code, ctl::kExitUsage);
    EXPECT_EQ(run(ctl::RunProbe, {"127.0.0.1"}).code, ctl::kExitUsage);
}

TEST(CtlUnitCommands, ReadsAndWritesDigitalChannels)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 8, .inputBits = 0b101});
    unit.start();
    const CtlRun inputs = run(ctl::RunRead, {at(unit), "--model", "8", "di"});
    EXPECT_EQ(inputs.code, 0) << inputs.err;
    EXPECT_EQ(inputs.out, "DI1\t1\nDI2\t0\nDI3\t1\n");

    const CtlRun write = run(ctl::RunWrite, {at(unit), "--model", "8", "do", "011"});
    EXPECT_EQ(write.code, 0) << write.err;
    EXPECT_EQ(unit.outputBits(), 0b110u);
    EXPECT_EQ(run(ctl::RunRead, {at(unit), "--model", "8", "do"}).out, "DO1\t0\nDO2\t1\nDO3\t1\n");

    EXPECT_EQ(run(ctl::RunWrite, {at(unit), "--model", "8", "do", "0111"}).code, ctl::kExitUsage);
    EXPECT_EQ(run(ctl::RunWrite, {at(unit), "--model", "8", "do", "2"}).code, ctl::kExitUsage);
    EXPECT_EQ(run(ctl::RunRead, {at(unit), "--model", "8", "ai"}).code, ctl::kExitRefused);

    // The model check comes first and meets the silence.
    unit.setFault(sim::Fault::NoReply);
    const CtlRun silent = run(ctl::RunRead, {at(unit), "--model", "8", "di", "--timeout", "200"});
    EXPECT_EQ(silent.code, ctl::kExitRefused);
    EXPECT_EQ(silent.err, "通信エラー\ncode : 10060\n");
}

// A peer that echoes, floods or is of another model used to have its noise
// printed as input values, with exit code 0.
TEST(CtlUnitCommands, ReadAndWriteCheckTheModelFirstAndPrintNoNoise)
{
    sim::SimUnit echoing(sim::UnitConfig{.row = 8, .fault = sim::Fault::Echo});
    sim::SimUnit flooding(sim::UnitConfig{.row = 8, .stream = sim::Stream::Flood});
    sim::SimUnit other(sim::UnitConfig{.row = 8, .modelCode = 3});
    for (sim::SimUnit* unit : {&echoing, &flooding, &other}) {
        unit->start();
        for (const std::vector<std::string>& args : {std::vector<std::string>{"di"}, std::vector<std::string>{"do"}}) {
            std::vector<std::string> read{at(*unit), "--model", "8"};
            read.insert(read.end(), args.begin(), args.end());
            const CtlRun refused = run(ctl::RunRead, read);
            EXPECT_EQ(refused.code, ctl::kExitRefused);
            EXPECT_EQ(refused.out, "");
            EXPECT_EQ(refused.err, "モデルが違います。\n");
        }
        const CtlRun write = run(ctl::RunWrite, {at(*unit), "--model", "8", "do", "111"});
        EXPECT_EQ(write.code, ctl::kExitRefused);
        EXPECT_EQ(write.err, "モデルが違います。\n");
        EXPECT_EQ(unit->outputBits(), 0u) << "nothing was written";
    }
}

TEST(CtlUnitCommands, ReadsEngineeringValuesAndSetsAnalogOutputs)
{
    sim::SimUnit inputs(sim::UnitConfig{.row = 19});
    inputs.start();
    // Input ch gets range code ranges[ch] and the reading raw[ch], then is read.
    const auto read = [&inputs](std::array<int, 3> ranges, std::array<std::int32_t, 3> raw) {
        inputs.modify([&](sim::UnitState& s) {
            for (std::size_t ch = 0; ch < 3; ++ch) {
                s.rangeCodes[ch] = ranges[ch];
                s.pinnedReadings[ch] = raw[ch];
            }
        });
        return run(ctl::RunRead, {at(inputs), "--model", "19", "ai"});
    };
    const CtlRun ai = read({2, 6, 4}, {0x7FFFFF, 25600, 0});
    EXPECT_EQ(ai.code, 0) << ai.err;
    EXPECT_EQ(ai.out, "AI1\t10.0000\tV\nAI2\t10.00\t℃\nAI3\t0.000\tmA\n");

    // As the panel shows them: ±100 mV in millivolts; 0xFFFFFF is a reading
    // just below zero, not a failure; a code the program does not know says so.
    const CtlRun shown = read({0, 6, 7}, {0x7FFFFF, 0xFFFFFF, 0x7FFFFF});
    EXPECT_EQ(shown.code, 0) << shown.err;
    EXPECT_EQ(shown.out, "AI1\t100.000\tmV\nAI2\t-0.00\t℃\nAI3\t30.0000\tV (unknown range 7)\n");

    sim::SimUnit outputs(sim::UnitConfig{.row = 21});
    outputs.start();
    const CtlRun volts = run(ctl::RunWrite, {at(outputs), "--model", "21", "ao", "1", "5"});
    EXPECT_EQ(volts.code, 0) << volts.err;
    EXPECT_EQ(volts.out, "AO1\t5.0002 V\n");
    const CtlRun amps = run(ctl::RunWrite, {at(outputs), "--model", "21", "ao", "2", "12.5", "--current"});
    EXPECT_EQ(amps.code, 0) << amps.err;
    EXPECT_EQ(outputs.state().analogOutputs[1].raw, 20480);
    EXPECT_EQ(run(ctl::RunWrite, {at(outputs), "--model", "21", "ao", "3", "1"}).code, ctl::kExitUsage);
    for (const char* notAValue : {"x", "inf", "nan", "1e999", "2,5", ""})
        EXPECT_EQ(run(ctl::RunWrite, {at(outputs), "--model", "21", "ao", "1", notAValue}).code, ctl::kExitUsage)
            << notAValue;

    const CtlRun readBack = run(ctl::RunRead, {at(outputs), "--model", "21", "ao"});
    EXPECT_EQ(readBack.code, 0) << readBack.err;
    EXPECT_EQ(readBack.out, "AO1\tvoltage\t5.0002 V\nAO2\tcurrent\t12.500 mA\n");
    EXPECT_EQ(run(ctl::RunRead, {at(inputs), "--model", "19", "ao"}).code, ctl::kExitRefused);
}

TEST(CtlUnitCommands, AUnitOfTheListIsReachedByItsName)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 8, .inputBits = 0b011});
    unit.start();
    test::TempFolder home;
    const std::string listFile = (home.path() / "vantel.dat").string();
    TextCodec codec("CP932");
    UnitList list(listFile, codec);
    test::AddLoopbackUnit(list, "ライン 1", 8, unit.port());
    ASSERT_EQ(list.Save(), 0);

    const CtlRun inputs = run(ctl::RunRead, {"--list", listFile, "--unit", "ライン 1", "di"});
    EXPECT_EQ(inputs.code, 0) << inputs.err;
    EXPECT_EQ(inputs.out, "DI1\t1\nDI2\t1\nDI3\t0\n");
    const CtlRun missing = run(ctl::RunProbe, {"--list", listFile, "--unit", "ライン 2"});
    EXPECT_EQ(missing.code, ctl::kExitRefused);
    EXPECT_NE(missing.err.find("no unit named"), std::string::npos) << missing.err;
}

TEST(CtlUnitCommands, TraceWritesEveryFrameOfTheCommandToTheFileAndBadTraceOptionsAreRefused)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22, .unitId = 5});
    digital.start();
    test::TempFolder folder;
    const std::string file = folder.folder() + "trace.tsv";
    std::ostringstream out, err;
    EXPECT_EQ(
        ctl::RunVantelctl({"probe", at(digital), "--model", "22", "--trace", file, "--trace-max-mb", "1"}, out, err), 0)
        << err.str();
    std::ifstream in(file);
    std::vector<TraceRecord> lines;
    for (std::string line; std::getline(in, line);) {
        const auto record = ParseTraceLine(line);
        ASSERT_TRUE(record) << line;
        lines.push_back(*record);
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].meaning, "connected");
    EXPECT_EQ(lines[1].direction, TraceDirection::Sent);
    EXPECT_EQ(lines[2].direction, TraceDirection::Received);
    EXPECT_EQ(lines[2].meaning.substr(0, 3), "ok:");
    EXPECT_FALSE(TraceHub::process().target()) << "the file is let go when the command ends";

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"probe", at(digital), "--trace"},
          std::vector<std::string>{"probe", at(digital), "--trace", file, "--trace-max-mb", "0"}}) {
        std::ostringstream badOut, badErr;
        EXPECT_EQ(ctl::RunVantelctl(bad, badOut, badErr), 2);
    }
    std::ostringstream noOut, noErr;
    EXPECT_EQ(ctl::RunVantelctl({"probe", at(digital), "--trace", "/nonexistent-folder/t.tsv"}, noOut, noErr), 1);
}
