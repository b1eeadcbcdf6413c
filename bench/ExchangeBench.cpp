// Measures unit exchanges on loopback against the floor of a bare TCP
// ping-pong of the same sizes, side by side in one run, and prints ratios.
// "chained" is a panel's polling cycle (each callback posts the next request
// on the worker); "posted+callback" adds waking the worker from outside,
// shown against the floor plus a bare thread hand-off. Then "chained" again
// with the communication trace off, to a file and to the window's ring,
// against the untraced "chained" of the same run.
// Usage: vantel_exchange_bench [iterations]

#include "BenchFiles.h"
#include "LatencyFigures.h"
#include "ReplyServer.h"
#include "TraceModes.h"
#include "comm/worker/UnitWorker.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vantel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

const std::string kLoopback = "127.0.0.1";
constexpr int kAsciiDigitalRow = 22; // four outputs, four inputs, ASCII dialect
constexpr int kTwoByteRow = 0;
constexpr int kAnalogInputs = 5;
constexpr int kWarmUp = 200;

// One exchange of a case: its command and the unit's reply.
struct Case {
    const char* name;
    std::string command;
    std::string reply;
};

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Blocking send and receive of the same sizes with nothing in between.
std::vector<double> MeasureFloor(const Case& c, int iterations)
{
    ReplyServer server(c.reply);
    TcpSocket client;
    ConnectOptions options;
    if (client.connect(LoopbackAddress(), server.port(), options) != 0) {
        std::fprintf(stderr, "floor: cannot connect\n");
        std::exit(1);
    }
    std::vector<std::uint8_t> reply(c.reply.size());
    std::vector<double> samples;
    for (int i = 0; i < kWarmUp + iterations; ++i) {
        const auto start = Clock::now();
        client.send(Bytes(c.command));
        std::size_t filled = 0;
        while (filled < reply.size()) {
            std::size_t got = 0;
            if (client.receive(std::span(reply).subspan(filled), got) != 0) {
                std::fprintf(stderr, "floor: receive failed\n");
                std::exit(1);
            }
            filled += got;
        }
        if (i >= kWarmUp) {
            samples.push_back(Micros(Clock::now() - start).count());
        }
    }
    return samples;
}

// Lets the poster wait for a callback; the callback notes when it ran, so the
// poster's own wake-up is not counted.
class Completion {
public:
    void done()
    {
        {
            std::lock_guard lock(mutex_);
            at_ = Clock::now();
            finished_ = true;
        }
        signal_.notify_one();
    }

    Clock::time_point wait()
    {
        std::unique_lock lock(mutex_);
        signal_.wait(lock, [this] { return finished_; });
        finished_ = false;
        return at_;
    }

private:
    std::mutex mutex_;
    std::condition_variable signal_;
    Clock::time_point at_;
    bool finished_ = false;
};

// Post, exchange on the worker, callback: what a panel's request costs.
template <typename Worker, typename MakeRequest>
std::vector<double> MeasurePosted(Worker& worker, MakeRequest makeRequest, int iterations)
{
    Completion completion;
    std::vector<double> samples;
    for (int i = 0; i < kWarmUp + iterations; ++i) {
        const auto start = Clock::now();
        worker.post(makeRequest([&completion] { completion.done(); }));
        const auto end = completion.wait();
        if (i >= kWarmUp) {
            samples.push_back(Micros(end - start).count());
        }
    }
    return samples;
}

// Each callback posts the next request, as a panel's polling cycle runs;
// the samples are the intervals between consecutive callbacks.
template <typename Worker, typename MakeRequest>
std::vector<double> MeasureChained(Worker& worker, MakeRequest makeRequest, int iterations)
{
    const int total = kWarmUp + iterations;
    std::vector<Clock::time_point> stamps;
    stamps.reserve(static_cast<std::size_t>(total));
    Completion finished;
    std::function<void()> next = [&] {
        stamps.push_back(Clock::now());
        if (static_cast<int>(stamps.size()) == total) {
            finished.done();
        } else {
            worker.post(makeRequest(next));
        }
    };
    worker.post(makeRequest(next));
    finished.wait();
    std::vector<double> samples;
    for (std::size_t i = kWarmUp; i < stamps.size(); ++i) {
        samples.push_back(Micros(stamps[i] - stamps[i - 1]).count());
    }
    return samples;
}

// The cost of waking a blocked thread with a queued closure: what any
// worker thread pays on top of the exchange when a request comes from outside.
Figures MeasureHandOff(int iterations)
{
    WorkerThread<std::function<void()>> thread([](std::function<void()>& run) { run(); });
    return Summarise(MeasurePosted(
        thread, [](std::function<void()> done) { return done; }, iterations));
}

void Print(const char* name, const char* path, const Figures& figures)
{
    std::printf("%-20s %-16s median %7.1f us  p90 %7.1f us", name, path, figures.median, figures.p90);
}

// Where the trace file of the traced runs goes.
const std::filesystem::path& TraceFolder()
{
    static const std::filesystem::path folder = MakeScratchFolder("vantel-exchange-bench");
    return folder;
}

template <typename Worker, typename MakeRequest>
void RunCase(const Case& c, Worker& worker, MakeRequest makeRequest, int iterations, const Figures& handOff)
{
    const Figures floor = Summarise(MeasureFloor(c, iterations));
    Print(c.name, "floor", floor);
    std::printf("\n");
    const Figures chained = Summarise(MeasureChained(worker, makeRequest, iterations));
    Print(c.name, "chained", chained);
    std::printf("  ratio to floor %5.2f\n", chained.median / floor.median);
    const Figures posted = Summarise(MeasurePosted(worker, makeRequest, iterations));
    Print(c.name, "posted+callback", posted);
    std::printf("  ratio to floor %5.2f, to floor+hand-off %5.2f\n", posted.median / floor.median,
                posted.median / (floor.median + handOff.median));
    // The untraced run came first; the rerun with tracing off, just before the
    // traced ones, shows how far the machine drifted meanwhile.
    std::optional<Figures> off;
    for (const TraceMode& mode : TraceModes(TraceFolder())) {
        const TracedRun traced(mode);
        const Figures figures = Summarise(MeasureChained(worker, makeRequest, iterations));
        if (!mode.sink)
            off = figures;
        Print(c.name, mode.name, figures);
        std::printf("  ratio to untraced %5.2f, to trace off %5.2f\n", figures.median / chained.median,
                    figures.median / (off ? off->median : chained.median));
    }
}

// Input reads through a digital channel in the dialect of `row`.
void BenchDigital(const Case& c, int row, int iterations, const Figures& handOff)
{
    ReplyServer server(c.reply);
    CDigitalChannel channel;
    channel.connect(kLoopback, server.port(), row, 0, kAnyAddress);
    DigitalWorker worker(channel);
    const auto readInputs = [](std::function<void()> done) {
        return digital::ReadInputs{[done](const digital::InputsResult&) { done(); }};
    };
    RunCase(c, worker, readInputs, iterations, handOff);
}

void BenchAnalogAll(int iterations, const Figures& handOff)
{
    std::string reply = "ai'";
    for (int i = 0; i < kAnalogInputs; ++i) {
        reply += "7FFF00";
    }
    reply += "\xC8";
    const Case c{"AI all (5 inputs)", "AI'\xC8", reply};
    ReplyServer server(c.reply);
    CAnalogChannel channel;
    channel.connect(kLoopback, server.port(), kAnyAddress);
    AnalogWorker worker(channel);
    const auto readAll = [](std::function<void()> done) {
        return analog::ReadAllInputs{kAnalogInputs, [done](const std::optional<analog::InputReadings>&) { done(); }};
    };
    RunCase(c, worker, readAll, iterations, handOff);
}

} // namespace
} // namespace vantel::bench

int main(int argc, char** argv)
{
    const int iterations = argc > 1 ? std::max(10, std::atoi(argv[1])) : 3000;
    std::printf("loopback, %d exchanges per measurement (after %d warm-up)\n", iterations, vantel::bench::kWarmUp);
    const vantel::bench::Figures handOff = vantel::bench::MeasureHandOff(iterations);
    vantel::bench::Print("thread hand-off", "post->run", handOff);
    std::printf("\n");
    vantel::bench::BenchDigital({"DI (ASCII, framed)", "DI\xC8", "di\x25\x21\xC8"}, vantel::bench::kAsciiDigitalRow,
                                iterations, handOff);
    vantel::bench::BenchDigital({"inputs (two-byte)", "\x55\x55", std::string("\x80\x01", 2)},
                                vantel::bench::kTwoByteRow, iterations, handOff);
    vantel::bench::BenchAnalogAll(iterations, handOff);
    return 0;
}
