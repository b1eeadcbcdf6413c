#include "LoopbackUnits.h"
#include "SimGateway.h"
#include "SimUnit.h"
#include "cli/CtlCommand.h"
#include "cli/LogCommand.h"
#include "registry/UnitList.h"
#include "support/MqttSubscriber.h"
#include "support/PrivateBroker.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <regex>
#include <sstream>

using namespace vantel;

namespace {

constexpr const char* kPrefix = "test/plant";

struct LogRun {
    int code;
    std::string err;
};

// The data lines of a CSV log in UTF-8, without the header and line ends.
std::vector<std::string> DataLines(const std::filesystem::path& file, const TextCodec& codec)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::istringstream text(codec.decode(bytes.str()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line.substr(0, line.size() - 1));
    if (!lines.empty())
        lines.erase(lines.begin());
    return lines;
}

// A CSV line's values after its date and time: "0,1,0,0,...".
std::string ValuesOf(const std::string& line)
{
    return line.substr(20);
}

// A reading's column values, joined as the CSV line has them ("1.5,V,0").
std::string ValuesOfJson(const std::string& json)
{
    static const std::regex kColumn(R"re(\{"name":"[^"]*","value":("[^"]*"|[-0-9.eE+]+)(,"unit":"([^"]*)")?\})re");
    std::string values;
    for (auto it = std::sregex_iterator(json.begin(), json.end(), kColumn); it != std::sregex_iterator(); ++it) {
        std::string value = (*it)[1];
        if (value.front() == '"')
            value = value.substr(1, value.size() - 2);
        values += (values.empty() ? "" : ",") + value;
        if ((*it)[2].matched)
            values += "," + (*it)[3].str();
    }
    return values;
}

// The local time of a CSV line as a reading's ISO time begins.
std::string IsoTimeOf(const std::string& line)
{
    return line.substr(0, 4) + "-" + line.substr(5, 2) + "-" + line.substr(8, 2) + "T" + line.substr(11, 8);
}

std::vector<std::string> Payloads(const std::vector<test::ReceivedMessage>& messages)
{
    std::vector<std::string> payloads;
    for (const auto& message : messages)
        payloads.push_back(message.payload);
    return payloads;
}

class MqttLog : public ::testing::Test {
protected:
    MqttLog() { ::setenv("VANTEL_MQTT_PASSWORD", test::PrivateBroker::kPassword, 1); }
    ~MqttLog() override { ::unsetenv("VANTEL_MQTT_PASSWORD"); }

    void addUnit(const std::string& name, int row, int port)
    {
        UnitList list(listFile(), codec);
        test::AddLoopbackUnit(list, name, row, port);
    }
    LogRun log(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--list", listFile(), "--folder", logs.folder()});
        std::ostringstream out, err;
        const int code = ctl::RunLog(args, out, err);
        return {code, err.str()};
    }
    std::vector<std::string> mqttArgs(std::vector<std::string> more = {}) const
    {
        std::vector<std::string> args = {"--mqtt", broker.url(),  "--mqtt-topic",
                                         kPrefix,  "--mqtt-user", test::PrivateBroker::kUser};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    std::unique_ptr<test::MqttSubscriber> subscribe(const std::string& id) const
    {
        return std::make_unique<test::MqttSubscriber>(broker.url(), id, std::string(kPrefix) + "/#",
                                                      test::PrivateBroker::kUser, test::PrivateBroker::kPassword);
    }
    std::vector<std::string> csv(const std::string& unit) const
    {
        return DataLines(logs.path() / (unit + ".csv"), codec);
    }
    // Every CSV line of `unit` arrived as a reading (same time, same
    // values), in order. Where the broker went away, QoS 1 may deliver a
    // message twice: `repeats` allows that many messages beyond the lines.
    void expectEveryLineArrived(const test::MqttSubscriber& subscriber, const std::string& unit,
                                std::size_t repeats = 0)
    {
        const auto lines = csv(unit);
        ASSERT_FALSE(lines.empty()) << unit;
        const std::string topic = std::string(kPrefix) + "/" + unit + "/reading";
        ASSERT_TRUE(subscriber.waitFor(topic, lines.size()))
            << unit << ": " << subscriber.on(topic).size() << " of " << lines.size();
        const auto received = Payloads(subscriber.on(topic));
        EXPECT_LE(received.size(), lines.size() + repeats) << unit;
        std::size_t next = 0;
        for (const std::string& json : received)
            if (next < lines.size() && ValuesOfJson(json) == ValuesOf(lines[next]) &&
                json.find(IsoTimeOf(lines[next])) != std::string::npos)
                ++next;
        EXPECT_EQ(next, lines.size()) << unit << ": the first line missing is "
                                      << (next < lines.size() ? lines[next] : "");
    }

    TextCodec codec{"CP932"};
    test::TempFolder home;
    test::TempFolder logs;
    test::PrivateBroker broker;
    std::string listFile() const { return (home.path() / "vantel.dat").string(); }
};

TEST_F(MqttLog, ReadingsOfDigitalAndAnalogUnitsArriveWithTheSchemaBesideTheCsv)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22, .inputBits = 0b0101});
    sim::SimUnit analog(sim::UnitConfig{.row = 19, .inputBits = 0b101});
    digital.start();
    analog.start();
    addUnit("Tank", 22, digital.port());
    addUnit("計器/1", 19, analog.port());
    const auto subscriber = subscribe("watcher");

    auto args = mqttArgs();
    args.insert(args.end(), {"--unit", "Tank", "--unit", "計器/1", "--period", "1", "--seconds", "2"});
    const LogRun run = log(args);
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;

    expectEveryLineArrived(*subscriber, "Tank");
    expectEveryLineArrived(*subscriber, "計器_1");
    const std::regex kDigital(R"(\{"time":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d","unit":"Tank","model":"[^"]+",)"
                              R"("columns":\[\{"name":"DO1","value":[01]\},.*\{"name":"DI4","value":[01]\}\]\})");
    const auto tank = subscriber->on(std::string(kPrefix) + "/Tank/reading");
    EXPECT_TRUE(std::regex_match(tank.back().payload, kDigital)) << tank.back().payload;
    const auto meter = subscriber->on(std::string(kPrefix) + "/計器_1/reading");
    EXPECT_NE(meter.back().payload.find(R"("unit":"計器/1")"), std::string::npos) << "the name as the list has it";
    EXPECT_NE(meter.back().payload.find(R"({"name":"AI1","value":)"), std::string::npos) << meter.back().payload;
    EXPECT_NE(meter.back().payload.find(R"({"name":"DO2","value":0})"), std::string::npos) << meter.back().payload;
}

TEST_F(MqttLog, StateIsRetainedAndAvailabilityAndStatusFollowTheRun)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22, .inputBits = 0b0011});
    digital.start();
    addUnit("Tank", 22, digital.port());
    const auto during = subscribe("during");
    auto args = mqttArgs();
    args.insert(args.end(), {"--unit", "Tank", "--period", "1", "--seconds", "1"});
    const LogRun run = log(args);
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    const std::string unit = std::string(kPrefix) + "/Tank";
    ASSERT_TRUE(during->waitFor(unit + "/availability", 2));
    EXPECT_EQ(Payloads(during->on(unit + "/availability")), (std::vector<std::string>{"online", "offline"}));
    ASSERT_TRUE(during->waitFor(std::string(kPrefix) + "/status", 2));
    EXPECT_EQ(Payloads(during->on(std::string(kPrefix) + "/status")), (std::vector<std::string>{"online", "offline"}));

    // Who subscribes later gets the last reading and both states at once.
    const auto later = subscribe("later");
    ASSERT_TRUE(later->waitFor(unit + "/state", 1));
    ASSERT_TRUE(later->waitFor(unit + "/availability", 1));
    const auto state = later->on(unit + "/state");
    EXPECT_TRUE(state.front().retained);
    EXPECT_EQ(ValuesOfJson(state.front().payload), ValuesOf(csv("Tank").back()));
    EXPECT_EQ(later->on(unit + "/availability").front().payload, "offline");
    EXPECT_TRUE(later->on(unit + "/reading").empty()) << "readings are not retained";
}

TEST_F(MqttLog, UnderKeepGoingAvailabilityFollowsTheUnitsOutage)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22});
    digital.start();
    addUnit("Tank", 22, digital.port());
    const auto subscriber = subscribe("watcher");
    auto args = mqttArgs();
    args.insert(args.end(), {"--unit", "Tank", "--keep-going", "--period", "1", "--seconds", "8"});
    auto running = std::async(std::launch::async, [&] { return log(args); });
    const std::string availability = std::string(kPrefix) + "/Tank/availability";
    const bool online = subscriber->waitFor(availability, 1);
    digital.restart(std::chrono::milliseconds(1500));
    const LogRun run = running.get();
    ASSERT_TRUE(online);
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    ASSERT_TRUE(subscriber->waitFor(availability, 4)) << run.err;
    EXPECT_EQ(Payloads(subscriber->on(availability)),
              (std::vector<std::string>{"online", "offline", "online", "offline"}))
        << run.err;
}

TEST_F(MqttLog, ABrokerRestartLosesNoReading)
{
    sim::SimUnit analog(sim::UnitConfig{.row = 19});
    analog.start();
    addUnit("Meter", 19, analog.port());
    const auto subscriber = subscribe("historian");
    auto args = mqttArgs();
    args.insert(args.end(), {"--unit", "Meter", "--period", "1", "--seconds", "6"});
    auto running = std::async(std::launch::async, [&] { return log(args); });
    ASSERT_TRUE(subscriber->waitFor(std::string(kPrefix) + "/Meter/reading", 3));
    broker.stop();
    std::this_thread::sleep_for(std::chrono::seconds(2)); // readings go on meanwhile
    broker.start();
    const LogRun run = running.get();
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    expectEveryLineArrived(*subscriber, "Meter", 64);
}

TEST_F(MqttLog, AFullQueueDropsTheOldestAndSaysSo)
{
    sim::SimUnit analog(sim::UnitConfig{.row = 19});
    analog.start();
    addUnit("Meter", 19, analog.port());
    const auto subscriber = subscribe("historian");
    // Two messages per reading (reading and state): room for three readings.
    auto args = mqttArgs({"--mqtt-queue", "6"});
    args.insert(args.end(), {"--unit", "Meter", "--period", "1", "--seconds", "5", "--status", "1"});
    auto running = std::async(std::launch::async, [&] { return log(args); });
    const std::string topic = std::string(kPrefix) + "/Meter/reading";
    ASSERT_TRUE(subscriber->waitFor(topic, 2));
    broker.stop();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    broker.start();
    const LogRun run = running.get();
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_NE(run.err.find("mqtt: queue full (6 messages): "), std::string::npos) << run.err;
    EXPECT_TRUE(std::regex_search(run.err, std::regex(R"(mqtt: \d+ delivered, \d+ waiting, [1-9]\d* dropped)")))
        << run.err;

    // What arrived is the start and the end of the log; the gap is what was dropped, oldest first.
    const auto lines = csv("Meter");
    const auto received = Payloads(subscriber->on(topic));
    ASSERT_LT(received.size(), lines.size());
    ASSERT_TRUE(subscriber->waitFor(topic, received.size()));
    EXPECT_EQ(ValuesOfJson(received.back()), ValuesOf(lines.back())) << "the newest reading is kept";
}

TEST_F(MqttLog, TheLastWillSaysOfflineWhenTheProcessIsKilled)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22});
    digital.start();
    addUnit("Tank", 22, digital.port());
    const auto subscriber = subscribe("watcher");
    std::vector<std::string> args = {VANTELCTL_PATH, "log",    "--list", listFile(), "--folder",
                                     logs.folder(),  "--unit", "Tank",   "--period", "1"};
    for (const std::string& arg : mqttArgs())
        args.push_back(arg);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = ::posix_spawn(&child, VANTELCTL_PATH, &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    ASSERT_EQ(spawned, 0);
    const std::string status = std::string(kPrefix) + "/status";
    const bool online = subscriber->waitFor(status, 1);
    ::kill(child, SIGKILL);
    int ended = 0;
    ::waitpid(child, &ended, 0);
    ASSERT_TRUE(online);
    ASSERT_TRUE(subscriber->waitFor(status, 2));
    EXPECT_EQ(Payloads(subscriber->on(status)), (std::vector<std::string>{"online", "offline"}));
    const auto later = subscribe("later");
    ASSERT_TRUE(later->waitFor(status, 1));
    EXPECT_EQ(later->on(status).front().payload, "offline");
    EXPECT_TRUE(later->on(status).front().retained);
}

TEST_F(MqttLog, GatewayUnitsPublishTheirReadings)
{
    sim::SimGateway gateway(sim::GatewayConfig{.ptyLink = {}, .nodes = {{.node = 2, .row = 35, .inputBits = 0b101}}});
    gateway.start();
    UnitList list(listFile(), codec);
    UnitConnection unit;
    unit.name = "Pump";
    unit.connectionKind = kConnectionLan;
    unit.host = "127.0.0.1";
    unit.controlPort = gateway.port();
    unit.node = 2;
    unit.replyTimeout = 1;
    unit.modelRow = 35;
    list.Add(-1, unit);
    ASSERT_EQ(list.Save(), 0);
    const auto subscriber = subscribe("watcher");
    auto args = mqttArgs();
    args.insert(args.end(), {"--unit", "Pump", "--period", "1", "--yes", "--seconds", "3"});
    const LogRun run = log(args);
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    expectEveryLineArrived(*subscriber, "Pump");
    const auto pump = subscriber->on(std::string(kPrefix) + "/Pump/reading");
    EXPECT_NE(pump.back().payload.find(R"({"name":"DI1","value":1},{"name":"DI2","value":0},{"name":"DI3","value":1})"),
              std::string::npos)
        << pump.back().payload;
}

} // namespace

namespace {

TEST_F(MqttLog, AWrongPasswordOrACertificateThatDoesNotVerifyEndsTheRunClearly)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22});
    digital.start();
    addUnit("Tank", 22, digital.port());
    const std::vector<std::string> unit = {"--unit", "Tank", "--period", "1", "--seconds", "1"};

    ::setenv("VANTEL_MQTT_PASSWORD", "wrong", 1);
    auto args = mqttArgs();
    args.insert(args.end(), unit.begin(), unit.end());
    const LogRun refused = log(args);
    EXPECT_EQ(refused.code, ctl::kExitRefused);
    EXPECT_NE(refused.err.find("MQTT: cannot connect to mqtt://127.0.0.1:" + std::to_string(broker.plainPort()) +
                               ": the broker refused the login: "),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(logs.path() / "Tank.csv")) << "nothing starts without the broker";

    // The password file wins over the environment; TLS with the test's CA.
    const std::string passwordFile = home.folder() + "mqtt-password";
    std::ofstream(passwordFile) << test::PrivateBroker::kPassword << "\n";
    const auto subscriber = subscribe("watcher");
    std::vector<std::string> tls = {"--mqtt", broker.tlsUrl(),        "--mqtt-topic", kPrefix,     "--mqtt-user",
                                    "vantel", "--mqtt-password-file", passwordFile,   "--mqtt-ca", broker.caFile()};
    tls.insert(tls.end(), unit.begin(), unit.end());
    const LogRun secure = log(tls);
    ASSERT_EQ(secure.code, ctl::kExitOk) << secure.err;
    expectEveryLineArrived(*subscriber, "Tank");

    tls[9] = broker.otherCaFile();
    const LogRun untrusted = log(tls);
    EXPECT_EQ(untrusted.code, ctl::kExitRefused);
    EXPECT_NE(untrusted.err.find("MQTT: cannot connect to mqtts://127.0.0.1:"), std::string::npos) << untrusted.err;
    EXPECT_NE(untrusted.err.find("certificate verify failed"), std::string::npos) << untrusted.err;
}

class MqttCommandsLog : public MqttLog {
protected:
    // Runs the log in the background while `act` publishes commands.
    LogRun runWhile(const std::vector<std::string>& args, const std::function<void()>& act)
    {
        auto running = std::async(std::launch::async, [&] { return log(args); });
        act();
        return running.get();
    }
    std::string event(const std::string& unit) const { return std::string(kPrefix) + "/" + unit + "/event"; }
};

TEST_F(MqttCommandsLog, ACommandSwitchesADigitalOutputAsItsButtonDoes)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22});
    digital.start();
    addUnit("Tank", 22, digital.port());
    const auto dashboard = subscribe("dashboard");
    auto args = mqttArgs({"--mqtt-commands"});
    args.insert(args.end(), {"--unit", "Tank", "--period", "1", "--seconds", "3"});
    const std::string set = std::string(kPrefix) + "/Tank/set/";
    const LogRun run = runWhile(args, [&] {
        ASSERT_TRUE(dashboard->waitFor(std::string(kPrefix) + "/Tank/reading", 1));
        dashboard->publish(set + "DO2", "1");
        ASSERT_TRUE(dashboard->waitFor(event("Tank"), 1));
        dashboard->publish(set + "DO2", "1"); // already on: nothing to press
        dashboard->publish(set + "DO9", "1");
        dashboard->publish(set + "DO1", "on");
        dashboard->publish(std::string(kPrefix) + "/Nobody/set/DO1", "1");
        ASSERT_TRUE(dashboard->waitFor(event("Tank"), 4));
        ASSERT_TRUE(dashboard->waitFor(event("Nobody"), 1));
    });
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_EQ(digital.outputBits(), 0b0010u) << "DO2 on, once";
    EXPECT_EQ(
        Payloads(dashboard->on(event("Tank"))),
        (std::vector<std::string>{R"({"channel":"DO2","value":"1","result":"done"})",
                                  R"({"channel":"DO2","value":"1","result":"done"})",
                                  R"({"channel":"DO9","value":"1","result":"refused","reason":"unknown channel"})",
                                  R"({"channel":"DO1","value":"on","result":"refused",)"
                                  R"("reason":"a digital output takes 1 or 0"})"}));
    EXPECT_EQ(dashboard->on(event("Nobody")).front().payload,
              R"({"channel":"DO1","value":"1","result":"refused","reason":"unknown unit"})");
    EXPECT_EQ(ValuesOf(csv("Tank").back()).substr(0, 8), "0,1,0,0,") << "the log shows the output on";
}

TEST_F(MqttCommandsLog, ACommandSetsAnAnalogOutputAndAValueOutOfRangeIsRefused)
{
    sim::SimUnit analog(sim::UnitConfig{.row = 20});
    analog.start();
    addUnit("Valve", 20, analog.port());
    const auto dashboard = subscribe("dashboard");
    auto args = mqttArgs({"--mqtt-commands"});
    args.insert(args.end(), {"--unit", "Valve", "--period", "1", "--seconds", "3"});
    const std::string set = std::string(kPrefix) + "/Valve/set/";
    const LogRun run = runWhile(args, [&] {
        ASSERT_TRUE(dashboard->waitFor(std::string(kPrefix) + "/Valve/reading", 1));
        dashboard->publish(set + "AO1", "2.5");
        dashboard->publish(set + "AO2", "99");
        dashboard->publish(set + "AO2", "x");
        ASSERT_TRUE(dashboard->waitFor(event("Valve"), 3));
    });
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_EQ(Payloads(dashboard->on(event("Valve"))),
              (std::vector<std::string>{
                  R"({"channel":"AO1","value":"2.5","result":"done"})",
                  R"({"channel":"AO2","value":"99","result":"refused","reason":"value out of range"})",
                  R"({"channel":"AO2","value":"x","result":"refused","reason":"an analog output takes a number"})"}));
    EXPECT_EQ(analog.state().analogOutputs[0].raw, 8192) << "2.5 V of 10 V";
    EXPECT_EQ(analog.state().analogOutputs[1].raw, 0) << "the refused value was never sent";
    EXPECT_NE(csv("Valve").back().find(",2.50000,V,"), std::string::npos) << csv("Valve").back();
}

TEST_F(MqttCommandsLog, WithoutTheOptionCommandsDoNothing)
{
    sim::SimUnit digital(sim::UnitConfig{.row = 22});
    digital.start();
    addUnit("Tank", 22, digital.port());
    const auto dashboard = subscribe("dashboard");
    auto args = mqttArgs();
    args.insert(args.end(), {"--unit", "Tank", "--period", "1", "--seconds", "2"});
    const LogRun run = runWhile(args, [&] {
        ASSERT_TRUE(dashboard->waitFor(std::string(kPrefix) + "/Tank/reading", 2));
        dashboard->publish(std::string(kPrefix) + "/Tank/set/DO1", "1");
    });
    ASSERT_EQ(run.code, ctl::kExitOk) << run.err;
    EXPECT_EQ(digital.outputBits(), 0u);
    EXPECT_TRUE(dashboard->on(event("Tank")).empty());
}

} // namespace
