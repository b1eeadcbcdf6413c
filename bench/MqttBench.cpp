// vantelctl log --all with and without --mqtt: 256 simulated digital units
// (a child process) at input period 1 (100 ms) in one log service, first
// writing the CSV files only, then the CSV files and every reading to a
// private mosquitto on loopback, then the same with the broker stopped for a
// while in the middle. A mosquitto_sub child (QoS 1, persistent session)
// counts what a subscriber receives. Prints the CPU ratio, messages received
// against CSV lines written, and what the outage lost, repeated or put out
// of order. Asserts nothing.
// Usage: vantel_mqtt_bench [SECONDS=60] [UNITS=256] [BROKER_OFF_SECONDS=20] [QUEUE=100000]

#include "BenchFiles.h"
#include "CpuUsage.h"
#include "SimFleet.h"
#include "cli/LogService.h"
#include "logging/MqttClient.h"
#include "logging/ReadingPublisher.h"
#include "platform/AppPaths.h"
#include "support/PrivateBroker.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace vantel::bench {
namespace {

using Steady = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr const char* kPrefix = "bench";

struct PhaseResult {
    double wall = 0;
    double cpu = 0;
    long csvLines = 0;
    long dropped = 0;
};

// A mosquitto_sub child writing "topic payload" lines of every reading.
class SubscriberChild {
public:
    SubscriberChild(const test::PrivateBroker& broker, const std::filesystem::path& out, const std::string& id)
    {
        const std::string command = "exec mosquitto_sub -h 127.0.0.1 -p " + std::to_string(broker.plainPort()) +
                                    " -u " + test::PrivateBroker::kUser + " -P '" + test::PrivateBroker::kPassword +
                                    "' -q 1 -c -i " + id + " -v -t '" + kPrefix + "/+/reading' > '" + out.string() +
                                    "' 2>/dev/null";
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::seconds(1)); // subscribed by then
    }
    ~SubscriberChild()
    {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }

private:
    pid_t pid_ = -1;
};

PhaseResult RunPhase(const UnitList& list, const std::filesystem::path& folder, ReadingSink* readings,
                     MqttClient* client, test::PrivateBroker* broker, std::chrono::seconds duration,
                     std::chrono::seconds brokerOff)
{
    std::filesystem::create_directories(folder);
    std::ostringstream messages;
    ctl::LogServiceSettings settings;
    settings.period = std::string("1");
    settings.folder = WithTrailingSlash(folder.string());
    settings.codec = &list.codec();
    settings.readings = readings;
    ctl::LogService service(settings, messages);
    for (int i = 0; i < list.count(); ++i)
        service.add(list.at(i), ctl::LoggingFor(list.at(i)).open);
    const auto start = Steady::now();
    const auto offAt = start + (duration - brokerOff) / 2;
    const rusage before = OwnUsage();
    service.start();
    if (brokerOff.count() > 0) {
        std::this_thread::sleep_until(offAt);
        broker->stop();
        std::this_thread::sleep_for(brokerOff);
        broker->start();
    }
    std::this_thread::sleep_until(start + duration);
    const auto stop = Steady::now();
    const rusage after = OwnUsage();
    service.stop();
    PhaseResult result;
    result.wall = Seconds(stop - start).count();
    result.cpu = CpuSeconds(after) - CpuSeconds(before);
    for (const auto& unit : service.status())
        result.csvLines += unit.lines;
    if (client) {
        client->drain(std::chrono::seconds(120));
        result.dropped = client->dropped();
    }
    return result;
}

// The readings' payloads per unit, in the order they arrived.
std::map<std::string, std::vector<std::string>> Received(const std::filesystem::path& file)
{
    std::map<std::string, std::vector<std::string>> byUnit;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const auto space = line.find(' ');
        const std::string topic = line.substr(0, space);
        byUnit[topic.substr(0, topic.rfind('/'))].push_back(line.substr(space + 1));
    }
    return byUnit;
}

struct Comparison {
    long received = 0;
    long lost = 0;       // CSV lines without their message
    long duplicates = 0; // messages beyond their CSV line
    long backwards = 0;  // messages older than the one before them
};

// Messages and CSV lines compared by time and values, per unit (a reading's
// JSON carries the same time to the second and the same values).
Comparison Compare(const std::filesystem::path& csvFolder, const std::filesystem::path& received,
                   const TextCodec& codec)
{
    Comparison result;
    const auto byUnit = Received(received);
    for (const auto& entry : std::filesystem::directory_iterator(csvFolder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::istringstream text(codec.decode(bytes.str()));
        std::map<std::string, long> balance; // "HH:mm:ss values" -> lines minus messages
        std::string line;
        std::getline(text, line); // header
        while (std::getline(text, line)) {
            std::string values = line.substr(20, line.size() - 21);
            std::string key = line.substr(11, 8) + " ";
            for (char& c : values)
                key += c == ',' ? ' ' : c;
            ++balance[key];
        }
        const std::string unit = std::string(kPrefix) + "/" + entry.path().stem().string();
        std::string previousTime;
        if (const auto found = byUnit.find(unit); found != byUnit.end()) {
            for (const std::string& json : found->second) {
                ++result.received;
                const std::string time = json.substr(json.find("T") + 1, 8);
                if (time < previousTime)
                    ++result.backwards;
                previousTime = time;
                std::string key = time;
                for (auto at = json.find("\"value\":"); at != std::string::npos; at = json.find("\"value\":", at + 1))
                    key += std::string(" ") + json[at + 8];
                --balance[key];
            }
        }
        for (const auto& [key, count] : balance) {
            if (count > 0)
                result.lost += count;
            else
                result.duplicates -= count;
        }
    }
    return result;
}

} // namespace
} // namespace vantel::bench

int main(int argc, char** argv)
{
    using namespace vantel;
    using namespace vantel::bench;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int unitCount = argc > 2 ? std::atoi(argv[2]) : UnitList::kMaxUnits;
    const int offSeconds = argc > 3 ? std::atoi(argv[3]) : 20;
    const int queue = argc > 4 ? std::atoi(argv[4]) : 100000;
    if (seconds <= 0 || unitCount <= 0 || unitCount > UnitList::kMaxUnits || offSeconds < 0 || offSeconds >= seconds ||
        queue <= 0) {
        std::fprintf(stderr, "usage: vantel_mqtt_bench [SECONDS=60] [UNITS=1-256] [BROKER_OFF_SECONDS=20] "
                             "[QUEUE=100000]\n");
        return 2;
    }
    RaiseFileLimit(unitCount);
    SimFleet fleet(unitCount); // forks: before any thread of ours
    fleet.sims().startMeasuring();
    const UnitList& list = fleet.list();
    const std::filesystem::path& folder = fleet.folder();
    test::PrivateBroker broker;
    const auto duration = std::chrono::seconds(seconds);

    const PhaseResult csvOnly = RunPhase(list, folder / "csv", nullptr, nullptr, nullptr, duration, {});

    const auto publishRun = [&](const char* name, std::chrono::seconds off) {
        MqttSettings settings;
        std::string why;
        settings.broker = *ParseBrokerUrl(broker.url(), why);
        settings.clientId = std::string("bench-") + name;
        settings.user = test::PrivateBroker::kUser;
        settings.password = test::PrivateBroker::kPassword;
        settings.statusTopic = std::string(kPrefix) + "/status";
        settings.queueLimit = static_cast<std::size_t>(queue);
        const std::filesystem::path received = folder / (std::string(name) + ".received");
        PhaseResult result;
        Comparison comparison;
        {
            SubscriberChild subscriber(broker, received, std::string("sub-") + name);
            MqttClient client(settings);
            if (const std::string failed = client.connect(std::chrono::seconds(10)); !failed.empty()) {
                std::fprintf(stderr, "broker: %s\n", failed.c_str());
                std::exit(1);
            }
            ReadingPublisher publisher(client, MqttTopics{kPrefix});
            result = RunPhase(list, folder / name, &publisher, &client, &broker, duration, off);
            client.close(std::chrono::seconds(30));
            std::this_thread::sleep_for(std::chrono::seconds(2)); // the subscriber's last messages
        }
        comparison = Compare(folder / name, received, list.codec());
        return std::pair{result, comparison};
    };
    const auto [mqtt, mqttSeen] = publishRun("mqtt", std::chrono::seconds(0));
    const auto [outage, outageSeen] = publishRun("outage", std::chrono::seconds(offSeconds));
    // The broker holds the simulator child's pipe too (it was started after
    // the fork): it must go before the child can be told to finish.
    broker.stop();
    fleet.sims().stopMeasuring();
    fleet.sims().finish();

    std::printf("vantelctl log: %d digital units, input period 1 (100 ms), %d s per run, one process\n", unitCount,
                seconds);
    const auto print = [](const char* title, const PhaseResult& r) {
        std::printf("%-34s %8.2f CPU s = %5.1f%% of one core, %ld CSV lines\n", title, r.cpu, 100.0 * r.cpu / r.wall,
                    r.csvLines);
    };
    print("CSV only:", csvOnly);
    print("CSV + MQTT:", mqtt);
    std::printf("  CPU ratio (CSV + MQTT) / CSV only: %.2f (target <= 1.5)\n",
                (mqtt.cpu / mqtt.wall) / (csvOnly.cpu / csvOnly.wall));
    std::printf("  messages received / CSV lines: %ld / %ld (lost %ld, duplicates %ld, out of order %ld)\n",
                mqttSeen.received, mqtt.csvLines, mqttSeen.lost, mqttSeen.duplicates, mqttSeen.backwards);
    char title[64];
    std::snprintf(title, sizeof title, "CSV + MQTT, broker off %d s:", offSeconds);
    print(title, outage);
    std::printf("  messages received / CSV lines: %ld / %ld (lost %ld, duplicates %ld, out of order %ld); "
                "dropped from the full queue (%d): %ld\n",
                outageSeen.received, outage.csvLines, outageSeen.lost, outageSeen.duplicates, outageSeen.backwards,
                queue, outage.dropped);
    return 0;
}
