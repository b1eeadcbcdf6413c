#include "CtlRun.h"
#include "SimGateway.h"
#include "cli/LogCommand.h"
#include "cli/UnitCommands.h"
#include "panels/framework/UnitCheck.h"
#include "panels/gateway/CVantelGW.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "registry/UnitList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

using namespace vantel;

namespace {

using test::CtlRun;

constexpr int kComPort = 7;

class CtlGatewayLog : public ::testing::Test {
protected:
    CtlGatewayLog()
    {
        const std::string pty = (home.path() / "com7").string();
        gateway = std::make_unique<sim::SimGateway>(
            sim::GatewayConfig{.ptyLink = pty,
                               .nodes = {{.node = 2, .row = 35, .inputBits = 0b101},
                                         {.node = 9, .row = 36, .inputBits = 0b10},
                                         {.node = 12, .row = 35, .silent = true},
                                         {.node = 20, .row = 35, .inputBits = 0b11},
                                         {.node = 4, .row = 37, .unitId = 3},
                                         {.node = 6, .row = 38, .unitId = 5, .inputBits = 0b110},
                                         {.node = 14, .row = 37, .silent = true},
                                         {.node = 16, .row = 38, .modelCode = 3}}});
        gateway->start();
        ::setenv("VANTEL_COM7", pty.c_str(), 1);
        UnitList list(listFile(), codec);
        add(list, "Pump", 2, 35, kConnectionLan);
        add(list, "Store", 9, 36, kConnectionUsb);
        add(list, "Silent", 12, 35, kConnectionLan);
        add(list, "Pump 2", 20, 35, kConnectionLan);
        add(list, "Meter", 4, 37, kConnectionLan);
        add(list, "Valve", 6, 38, kConnectionLan);
        add(list, "Silent meter", 14, 37, kConnectionLan);
        add(list, "Not a valve", 16, 38, kConnectionLan);
        EXPECT_EQ(list.Save(), 0);
    }
    ~CtlGatewayLog() override { ::unsetenv("VANTEL_COM7"); }

    void add(UnitList& list, const std::string& name, int node, int row, int connection)
    {
        UnitConnection unit;
        unit.name = name;
        unit.connectionKind = connection;
        unit.host = "127.0.0.1";
        unit.controlPort = gateway->port();
        unit.comPort = kComPort;
        unit.node = node;
        unit.replyTimeout = 1;
        unit.modelRow = row;
        list.Add(-1, unit);
    }

    CtlRun log(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--list", listFile(), "--folder", logs.folder()});
        return test::RunCtl(ctl::RunLog, args);
    }
    std::string listFile() const { return (home.path() / "vantel.dat").string(); }
    std::string logOf(const std::string& name) const
    {
        std::ifstream in(logs.path() / (name + ".csv"), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return codec.decode(text.str());
    }

    TextCodec codec{"CP932"};
    test::TempFolder home;
    test::TempFolder logs;
    std::unique_ptr<sim::SimGateway> gateway;
};

TEST_F(CtlGatewayLog, LogsUnitsBehindOneGatewayOverTcpAndOverTheSerialPort)
{
    const CtlRun run = log({"--unit", "Pump", "--unit", "Meter", "--unit", "Pump 2", "--unit", "Store", "--unit",
                            "Valve", "--period", "1", "--yes", "--seconds", "3"});
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_NE(run.err.find(" every 1 x1 s; "), std::string::npos) << run.err;
    const std::string pump = logOf("Pump");
    EXPECT_EQ(pump.rfind("日付,時刻,DO1,DO2,DO3,DI1,DI2,DI3\r\n", 0), 0u) << pump;
    EXPECT_NE(pump.find(",0,0,0,1,0,1\r\n"), std::string::npos) << pump;
    const std::string store = logOf("Store");
    EXPECT_NE(store.find(",0,0,0,0,0,0,1\r\n"), std::string::npos) << store; // 5 DO, 2 DI
    EXPECT_NE(logOf("Pump 2").find(",0,0,0,1,1,0\r\n"), std::string::npos) << logOf("Pump 2");
    const std::string meter = logOf("Meter");
    EXPECT_EQ(meter.rfind("日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\r\n", 0), 0u) << meter;
    EXPECT_GE(std::count(meter.begin(), meter.end(), '\n'), 3) << "header, start-up line, a poll: " << meter;
    const std::string valve = logOf("Valve");
    EXPECT_EQ(valve.rfind("日付,時刻,DI1,DI2,DI3,AO1,単位1,AO2,単位2,AO3,単位3\r\n", 0), 0u) << valve;
    EXPECT_NE(valve.find(",0,1,1,0.00000,V,"), std::string::npos) << "the node's inputs: " << valve;
    // The serial port for one, and one TCP connection shared by the others.
    EXPECT_EQ(gateway->acceptedConnections(), 1u);
}

TEST_F(CtlGatewayLog, ShortPeriodNeedsYesAndASilentUnitEndsTheRun)
{
    for (const char* unit : {"Pump", "Valve"}) {
        const CtlRun unconfirmed = log({"--unit", unit, "--period", "5", "--seconds", "2"});
        EXPECT_EQ(unconfirmed.code, ctl::kExitRefused) << unit;
        EXPECT_NE(unconfirmed.err.find("設定した周期では制御できない場合があります。"), std::string::npos)
            << unconfirmed.err;
    }

    const CtlRun silent = log({"--unit", "Silent", "--period", "10", "--seconds", "5"});
    EXPECT_EQ(silent.code, ctl::kExitRefused);
    EXPECT_NE(silent.err.find("通信タイムアウトが発生しました。"), std::string::npos) << silent.err;
}

TEST_F(CtlGatewayLog, AnAnalogUnitWhoseModelCheckFailsEndsBeforeItsPanelOpens)
{
    const CtlRun silent = log({"--unit", "Silent meter", "--period", "10", "--seconds", "5"});
    EXPECT_EQ(silent.code, ctl::kExitRefused);
    EXPECT_EQ(silent.err.find("\n") + 1, silent.err.find(std::string(kGatewayConnectTimedOut) + "\n")) << silent.err;

    const CtlRun wrongModel = log({"--unit", "Not a valve", "--period", "10", "--seconds", "5"});
    EXPECT_EQ(wrongModel.code, ctl::kExitRefused);
    EXPECT_NE(wrongModel.err.find(kWrongModel), std::string::npos) << wrongModel.err;
    EXPECT_TRUE(logOf("Silent meter").empty() && logOf("Not a valve").empty()) << "no panel opened";
}

TEST_F(CtlGatewayLog, AnAnalogUnitThatFallsSilentEndsTheRunWithTheTimeOut)
{
    // The check, the six start-up reads and the first poll.
    constexpr std::size_t kFramesBeforeFirstPoll = 8;
    CtlRun run{};
    // A period longer than the reply-wait time-out: each poll would move the
    // watchdog's mark on before it could see the last one overdue.
    std::thread logging([&] { run = log({"--unit", "Meter", "--period", "2", "--yes", "--seconds", "30"}); });
    const bool polled = gateway->waitForFrameCount(kFramesBeforeFirstPoll, std::chrono::seconds(20));
    gateway->setNodeSilent(4, true);
    logging.join();
    ASSERT_TRUE(polled) << run.err;
    EXPECT_EQ(run.code, ctl::kExitRefused);
    EXPECT_NE(run.err.find(kWirelessTimeout), std::string::npos) << run.err;
    const std::string meter = logOf("Meter");
    EXPECT_EQ(meter.rfind("日付,時刻,AI1,", 0), 0u) << meter;
    EXPECT_GE(std::count(meter.begin(), meter.end(), '\n'), 2) << "the start-up line: " << meter;
}

TEST_F(CtlGatewayLog, ProbeReadAndWriteReachAUnitBehindTheGatewayByItsName)
{
    using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    const auto run = [&](Command command, std::vector<std::string> args) {
        args.insert(args.begin(), {"--list", listFile()});
        return test::RunCtl(command, args);
    };
    const CtlRun probe = run(ctl::RunProbe, {"--unit", "Pump"});
    EXPECT_EQ(probe.code, ctl::kExitOk) << probe.err;
    EXPECT_EQ(probe.out, "unit-id 0 model 3\n");

    const CtlRun read = run(ctl::RunRead, {"--unit", "Store", "di"});
    EXPECT_EQ(read.code, ctl::kExitOk) << read.err;
    EXPECT_EQ(read.out, "DI1\t0\nDI2\t1\n");

    const CtlRun write = run(ctl::RunWrite, {"--unit", "Pump", "do", "011"});
    EXPECT_EQ(write.code, ctl::kExitOk) << write.err;
    EXPECT_EQ(write.out, "DO1\t0\nDO2\t1\nDO3\t1\n");
    EXPECT_EQ(gateway->nodeState(2).outputBits, 0b110u);

    const CtlRun silent = run(ctl::RunRead, {"--unit", "Silent", "do"});
    EXPECT_EQ(silent.code, ctl::kExitRefused);
    EXPECT_EQ(silent.err, std::string(kWirelessTimeout) + "\n");
}

// The analog units behind the gateway: "MD" checks the model first, then
// AI (with the ranges from the unit's memory), AY and DI read and DK and AO
// write through the node.
TEST_F(CtlGatewayLog, ProbeReadAndWriteReachAnAnalogUnitBehindTheGateway)
{
    using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    const auto run = [&](Command command, std::vector<std::string> args) {
        args.insert(args.begin(), {"--list", listFile()});
        return test::RunCtl(command, args);
    };
    const CtlRun probe = run(ctl::RunProbe, {"--unit", "Meter"});
    EXPECT_EQ(probe.code, ctl::kExitOk) << probe.err;
    EXPECT_EQ(probe.out, "unit-id 3 model 8\n");

    gateway->modifyNode(4, [](sim::UnitState& s) {
        s.rangeCodes = {2, 0, 6};
        s.pinnedReadings = {0x7FFFFF, 0x7FFFFF, 25600};
    });
    const CtlRun inputs = run(ctl::RunRead, {"--unit", "Meter", "ai"});
    EXPECT_EQ(inputs.code, ctl::kExitOk) << inputs.err;
    EXPECT_EQ(inputs.out, "AI1\t10.0000\tV\nAI2\t100.000\tmV\nAI3\t10.00\t℃\n");

    const CtlRun relays = run(ctl::RunWrite, {"--unit", "Meter", "do", "01"});
    EXPECT_EQ(relays.code, ctl::kExitOk) << relays.err;
    EXPECT_EQ(relays.out, "DO1\t0\nDO2\t1\n");
    EXPECT_EQ(gateway->nodeState(4).outputBits, 0b10u);
    EXPECT_EQ(run(ctl::RunRead, {"--unit", "Meter", "do"}).out, "DO1\t0\nDO2\t1\n");
    const CtlRun noInputs = run(ctl::RunRead, {"--unit", "Meter", "di"});
    EXPECT_EQ(noInputs.code, ctl::kExitRefused);
    EXPECT_EQ(noInputs.err, "this model has no digital inputs\n") << "its inputs are analog";

    const CtlRun valveInputs = run(ctl::RunRead, {"--unit", "Valve", "di"});
    EXPECT_EQ(valveInputs.code, ctl::kExitOk) << valveInputs.err;
    EXPECT_EQ(valveInputs.out, "DI1\t0\nDI2\t1\nDI3\t1\n");
    const CtlRun amps = run(ctl::RunWrite, {"--unit", "Valve", "ao", "2", "12.5", "--current"});
    EXPECT_EQ(amps.code, ctl::kExitOk) << amps.err;
    EXPECT_EQ(amps.out, "AO2\tcurrent\t12.500 mA\n") << "as the unit reads it back";
    EXPECT_EQ(gateway->nodeState(6).analogOutputs[1].raw, 20480);
    const CtlRun outputs = run(ctl::RunRead, {"--unit", "Valve", "ao"});
    EXPECT_EQ(outputs.code, ctl::kExitOk) << outputs.err;
    EXPECT_EQ(outputs.out, "AO1\tvoltage\t0.0000 V\nAO2\tcurrent\t12.500 mA\nAO3\tvoltage\t0.0000 V\n");
    EXPECT_EQ(run(ctl::RunWrite, {"--unit", "Valve", "ao", "4", "1"}).code, ctl::kExitUsage);
    EXPECT_EQ(run(ctl::RunWrite, {"--unit", "Valve", "do", "1"}).code, ctl::kExitRefused) << "no digital outputs";
}

TEST_F(CtlGatewayLog, AnAnalogUnitBehindTheGatewayIsOnlyTouchedOnceItsModelIsChecked)
{
    using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    const auto run = [&](Command command, std::vector<std::string> args) {
        args.insert(args.begin(), {"--list", listFile()});
        return test::RunCtl(command, args);
    };
    const CtlRun silent = run(ctl::RunProbe, {"--unit", "Silent meter"});
    EXPECT_EQ(silent.code, ctl::kExitRefused);
    EXPECT_EQ(silent.err, std::string(kGatewayConnectTimedOut) + "\n");

    const std::size_t before = gateway->frameCount();
    const CtlRun wrong = run(ctl::RunWrite, {"--unit", "Not a valve", "ao", "1", "5"});
    EXPECT_EQ(wrong.code, ctl::kExitRefused);
    EXPECT_EQ(wrong.err, std::string(kWrongModel) + "\n");
    EXPECT_EQ(gateway->frameCount(), before + 1) << "the MD, and no AO after it";
    EXPECT_EQ(gateway->nodeState(16).analogOutputs[0].raw, 0);
    const CtlRun probeWrong = run(ctl::RunProbe, {"--unit", "Not a valve"});
    EXPECT_EQ(probeWrong.out, "unit-id 0 model 3\n");
    EXPECT_EQ(probeWrong.code, ctl::kExitRefused);
}

} // namespace
