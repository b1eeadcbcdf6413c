#include "SimChild.h"

#include "CpuUsage.h"
#include "SimUnit.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace vantel::bench {
namespace {

constexpr char kStartMeasuring = 'M';
constexpr char kStopMeasuring = 'E';
// Followed by a 32-bit count: that many units, from the first, switch off
// (refuse connections and drop the open ones) or back on.
constexpr char kSwitchOff = 'O';
constexpr char kSwitchOn = 'N';

bool WriteAll(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, void* data, std::size_t size)
{
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::read(fd, bytes, size);
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::uint64_t CommandsReceived(const std::vector<std::unique_ptr<sim::SimUnit>>& units)
{
    std::uint64_t total = 0;
    for (const auto& unit : units)
        total += unit->commandCount();
    return total;
}

// The child: start the units, tell the parent their ports, measure between
// the parent's start and stop bytes, serve on until the parent closes its
// pipe, report, end.
[[noreturn]] void ServeUnits(std::span<const int> rows, int fromParent, int toParent)
{
    std::vector<std::unique_ptr<sim::SimUnit>> units;
    std::vector<std::uint16_t> ports;
    for (const int row : rows) {
        units.push_back(std::make_unique<sim::SimUnit>(sim::UnitConfig{.row = row}));
        units.back()->start();
        ports.push_back(units.back()->port());
    }
    if (!WriteAll(toParent, ports.data(), ports.size() * sizeof(ports[0])))
        std::_Exit(1);
    char signal = 0;
    if (!ReadAll(fromParent, &signal, 1) || signal != kStartMeasuring)
        std::_Exit(1);
    const double cpuBefore = CpuSeconds(OwnUsage());
    const std::uint64_t commandsBefore = CommandsReceived(units);
    while (ReadAll(fromParent, &signal, 1) && (signal == kSwitchOff || signal == kSwitchOn)) {
        std::uint32_t count = 0;
        if (!ReadAll(fromParent, &count, sizeof count))
            std::_Exit(1);
        for (std::size_t i = 0; i < count && i < units.size(); ++i) {
            units[i]->setRefuseConnections(signal == kSwitchOff);
            units[i]->setFault(signal == kSwitchOff ? sim::Fault::DropConnection : sim::Fault::None);
        }
    }
    if (signal != kStopMeasuring)
        std::_Exit(1);
    SimChild::Report report;
    report.cpuSeconds = CpuSeconds(OwnUsage()) - cpuBefore;
    report.commands = CommandsReceived(units) - commandsBefore;
    report.peakMemoryKb = OwnUsage().ru_maxrss;
    // The program closes its panels while the units still answer.
    while (::read(fromParent, &signal, 1) > 0) {
    }
    for (auto& unit : units)
        unit->stop();
    std::_Exit(WriteAll(toParent, &report, sizeof(report)) ? 0 : 1);
}

} // namespace

SimChild::SimChild(std::span<const int> rows)
{
    int down[2];
    int up[2];
    if (::pipe(down) != 0 || ::pipe(up) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    pid_ = ::fork();
    if (pid_ < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (pid_ == 0) {
        ::close(down[1]);
        ::close(up[0]);
        ServeUnits(rows, down[0], up[1]);
    }
    ::close(down[0]);
    ::close(up[1]);
    toChild_ = down[1];
    fromChild_ = up[0];
    ports_.resize(rows.size());
    if (!ReadAll(fromChild_, ports_.data(), ports_.size() * sizeof(ports_[0]))) {
        std::fprintf(stderr, "the simulator child did not start its units\n");
        std::exit(1);
    }
}

SimChild::~SimChild()
{
    if (pid_ > 0)
        finish();
}

void SimChild::startMeasuring()
{
    if (!WriteAll(toChild_, &kStartMeasuring, 1))
        std::perror("start measuring");
}

void SimChild::switchUnits(bool on, std::uint32_t count)
{
    const char signal = on ? kSwitchOn : kSwitchOff;
    if (!WriteAll(toChild_, &signal, 1) || !WriteAll(toChild_, &count, sizeof count))
        std::perror("switch units");
}

void SimChild::stopMeasuring()
{
    if (!WriteAll(toChild_, &kStopMeasuring, 1))
        std::perror("stop measuring");
}

SimChild::Report SimChild::finish()
{
    Report report;
    ::close(toChild_);
    if (!ReadAll(fromChild_, &report, sizeof(report)))
        std::fprintf(stderr, "the simulator child sent no report\n");
    ::close(fromChild_);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return report;
}

} // namespace vantel::bench
