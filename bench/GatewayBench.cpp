// Gateway frame latency: from a reply frame being written by the gateway's
// side of a loopback connection to the node's handler running on the link's
// receive thread, shown against the floor of the same frame read by a bare
// blocking reader in the same run. Then 32 wireless nodes polled through one
// link to the simulated gateway: back to back, and every 100 ms as panel
// ticks do; frames per second and frames lost. Both again with the
// communication trace off, to a file and to the window's ring, as ratios to
// the untraced figures of the same run.
// Usage: vantel_gateway_bench [frames] [seconds]

#include "BenchFiles.h"
#include "LatencyFigures.h"
#include "SimGateway.h"
#include "TraceModes.h"
#include "comm/link/CGatewayLink.h"
#include "platform/Clock.h"
#include "platform/TcpSocket.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace vantel::bench {
namespace {

using Steady = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

constexpr int kWarmUp = 200;
constexpr int kNode = 6;
constexpr int kPolledNodes = 32;
const std::string kReply = "06di% \xC8";
const std::string kPoll = "DI\xC8";

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "gateway bench: %s\n", what);
    std::exit(1);
}

std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The moment the reading side saw a frame, handed to the writing side.
class Arrival {
public:
    void mark()
    {
        {
            const std::lock_guard lock(mutex_);
            at_ = Steady::now();
        }
        signal_.notify_one();
    }
    Steady::time_point wait()
    {
        std::unique_lock lock(mutex_);
        signal_.wait(lock, [this] { return at_.has_value(); });
        return *std::exchange(at_, std::nullopt);
    }

private:
    std::mutex mutex_;
    std::condition_variable signal_;
    std::optional<Steady::time_point> at_;
};

// Writes the frame on `writer` again and again and times each arrival.
std::vector<double> TimeFrames(TcpSocket& writer, Arrival& arrival, int frames)
{
    std::vector<double> samples;
    for (int i = 0; i < kWarmUp + frames; ++i) {
        const auto start = Steady::now();
        if (writer.send(AsBytes(kReply)) != 0)
            Fail("send failed");
        const auto end = arrival.wait();
        if (i >= kWarmUp)
            samples.push_back(Micros(end - start).count());
    }
    return samples;
}

struct Connected {
    TcpListener listener;
    TcpSocket gatewaySide;
};

// The floor: a thread blocked in receive, as bare as reading can be.
std::vector<double> MeasureFloor(int frames)
{
    Connected pair;
    if (pair.listener.listen(LoopbackAddress(), 0) != 0)
        Fail("cannot listen");
    TcpSocket reader;
    if (reader.connect(LoopbackAddress(), pair.listener.port(), ConnectOptions{}) != 0 ||
        pair.listener.accept(pair.gatewaySide, 3000) != 0)
        Fail("cannot connect");
    reader.setTimeouts(0);
    Arrival arrival;
    std::atomic<bool> done{false};
    std::thread readThread([&] {
        std::uint8_t buffer[256];
        while (!done) {
            std::size_t got = 0;
            if (reader.receive(buffer, got) != 0)
                return;
            if (got > 0 && buffer[got - 1] == 0xC8)
                arrival.mark();
        }
    });
    auto samples = TimeFrames(pair.gatewaySide, arrival, frames);
    done = true;
    reader.shutdown();
    readThread.join();
    return samples;
}

// The link: poll wake-up, framing, node dispatch, the handler.
std::vector<double> MeasureLink(int frames)
{
    Connected pair;
    if (pair.listener.listen(LoopbackAddress(), 0) != 0)
        Fail("cannot listen");
    CGatewayLink link(SteadyClock::instance());
    std::thread accepter([&] { pair.listener.accept(pair.gatewaySide, 3000); });
    const int opened = link.open({GatewayConnection::Lan, "127.0.0.1", pair.listener.port(), 0});
    accepter.join();
    if (opened != 0 || !pair.gatewaySide.isOpen())
        Fail("link cannot open");
    Arrival arrival;
    GatewayNode node = link.registerNode(kNode, [&](const NodeFrame&) {
        arrival.mark();
        return true;
    });
    return TimeFrames(pair.gatewaySide, arrival, frames);
}

struct PollFigures {
    long long answered = 0;
    long long lost = 0;
    double seconds = 0;
};

// Every node polls "DI" and waits for its reply; `periodMs` 0 is back to back.
PollFigures PollNodes(CGatewayLink& link, std::chrono::milliseconds period, double seconds)
{
    std::atomic<long long> answered{0};
    std::atomic<long long> lost{0};
    const auto end =
        Steady::now() + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(seconds));
    const auto start = Steady::now();
    std::vector<std::thread> pollers;
    for (int node = 0; node < kPolledNodes; ++node) {
        pollers.emplace_back([&, node] {
            for (auto next = Steady::now(); Steady::now() < end; next += period) {
                if (link.sendAndWait(node, kPoll, 10000).answered())
                    ++answered;
                else
                    ++lost;
                std::this_thread::sleep_until(next + period);
            }
        });
    }
    for (std::thread& poller : pollers)
        poller.join();
    return {answered.load(), lost.load(), std::chrono::duration<double>(Steady::now() - start).count()};
}

void Print(const char* name, const Figures& figures)
{
    std::printf("%-34s median %7.1f us  p90 %7.1f us\n", name, figures.median, figures.p90);
}

void PrintPolling(const char* name, const PollFigures& figures, std::size_t framesSeen)
{
    std::printf("%-34s %8.0f frames/s  answered %lld  lost %lld  frames at the gateway %zu\n", name,
                static_cast<double>(figures.answered) / figures.seconds, figures.answered, figures.lost, framesSeen);
}

} // namespace
} // namespace vantel::bench

int main(int argc, char** argv)
{
    using namespace vantel::bench;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 2000;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("gateway frames on loopback, %d frames per measurement (after %d warm-up)\n", frames, kWarmUp);
    const Figures floor = Summarise(MeasureFloor(frames));
    const Figures link = Summarise(MeasureLink(frames));
    Print("floor: bare blocking reader", floor);
    Print("link: frame to node handler", link);
    std::printf("  ratio to floor %5.2f (median), %5.2f (p90)\n", link.median / floor.median, link.p90 / floor.p90);
    const std::filesystem::path traceFolder = MakeScratchFolder("vantel-gateway-bench");
    const std::vector<TraceMode> modes = TraceModes(traceFolder);
    for (const TraceMode& mode : modes) {
        const TracedRun traced(mode);
        const Figures figures = Summarise(MeasureLink(frames));
        Print((std::string("link, ") + mode.name).c_str(), figures);
        std::printf("  ratio to untraced %5.2f (median)\n", figures.median / link.median);
    }
    std::printf("\n");

    vantel::sim::GatewayConfig config;
    for (int node = 0; node < kPolledNodes; ++node)
        config.nodes.push_back({.node = node, .row = 33 + node % 6});
    vantel::sim::SimGateway gateway(config);
    gateway.start();
    vantel::CGatewayLink polled(vantel::SteadyClock::instance());
    if (polled.open({vantel::GatewayConnection::Lan, "127.0.0.1", gateway.port(), 0}) != 0)
        Fail("cannot open the link to the simulated gateway");
    std::vector<vantel::GatewayNode> nodes;
    for (int node = 0; node < kPolledNodes; ++node)
        nodes.push_back(polled.registerNode(node, [](const vantel::NodeFrame&) { return true; }));
    std::printf("%d nodes through one link, %.1f s each\n", kPolledNodes, seconds);
    const PollFigures flat = PollNodes(polled, std::chrono::milliseconds(0), seconds);
    const std::size_t afterFlat = gateway.frameCount();
    PrintPolling("back to back", flat, afterFlat);
    const PollFigures ticked = PollNodes(polled, std::chrono::milliseconds(100), seconds);
    PrintPolling("every 100 ms", ticked, gateway.frameCount() - afterFlat);
    const double flatRate = static_cast<double>(flat.answered) / flat.seconds;
    for (const TraceMode& mode : modes) {
        const TracedRun traced(mode);
        const std::size_t before = gateway.frameCount();
        const PollFigures figures = PollNodes(polled, std::chrono::milliseconds(0), seconds);
        PrintPolling((std::string("back to back, ") + mode.name).c_str(), figures, gateway.frameCount() - before);
        std::printf("  rate ratio to untraced %5.2f\n",
                    static_cast<double>(figures.answered) / figures.seconds / flatRate);
    }
    std::filesystem::remove_all(traceFolder);
    return 0;
}
