#include "WorkFloor.h"

#include "CpuUsage.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/Dialect.h"
#include "comm/protocol/TwoByteCommands.h"
#include "platform/LockedAppend.h"
#include "platform/TcpSocket.h"
#include "registry/ModelCatalogue.h"

#include <array>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace vantel::bench {
namespace {

constexpr std::chrono::milliseconds kPeriod{100};
constexpr int kReplyTimeoutMs = 3000;
constexpr std::string_view kHeader = "date,time,DI1\r\n";
constexpr std::string_view kLine = "2026/12/10,10:00:00.000,1\r\n";

struct FloorUnit {
    TcpSocket socket;
    std::string command;
    std::string file;
};

std::span<const std::uint8_t> BytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string InputRead(const ModelRow& row)
{
    return DialectOf(row) == Dialect::Ascii ? ascii::DI(ChannelKind::Digital).bytes : twobyte::ReadInputs().bytes;
}

} // namespace

double WorkFloorCpuSeconds(const UnitList& list, const std::filesystem::path& folder, std::chrono::seconds duration)
{
    std::vector<FloorUnit> units(static_cast<std::size_t>(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        const UnitRecord& record = list.at(i);
        FloorUnit& unit = units[static_cast<std::size_t>(i)];
        unit.command = InputRead(ModelAt(record.modelRow));
        unit.file = (folder / ("floor" + std::to_string(i) + ".csv")).string();
        Ipv4Address address = 0;
        if (ResolveIPv4(record.host, address) != 0 ||
            unit.socket.connect(address, record.controlPort, ConnectOptions{.timeoutMs = kReplyTimeoutMs}) != 0)
            return -1;
    }
    std::array<std::uint8_t, 256> reply{};
    const rusage before = OwnUsage();
    const auto end = std::chrono::steady_clock::now() + duration;
    for (auto due = std::chrono::steady_clock::now(); due < end; due += kPeriod) {
        std::this_thread::sleep_until(due);
        for (FloorUnit& unit : units) {
            unit.socket.discardPending();
            unit.socket.send(BytesOf(unit.command));
        }
        for (FloorUnit& unit : units) {
            std::size_t received = 0;
            if (unit.socket.waitReadable(kReplyTimeoutMs))
                unit.socket.receive(reply, received);
        }
        for (const FloorUnit& unit : units)
            AppendLocked(unit.file, kHeader, kLine);
    }
    return CpuSeconds(OwnUsage()) - CpuSeconds(before);
}

} // namespace vantel::bench
