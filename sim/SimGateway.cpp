#include "SimGateway.h"

#include "AsciiDialect.h"
#include "registry/ModelCatalogue.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace vantel::sim {
namespace {

constexpr int kBacklog = 4;
constexpr std::size_t kReceivedLimit = 1000;
constexpr std::size_t kReadChunk = 4096;
// Bytes without a terminator beyond this are radio noise, not a frame.
constexpr std::size_t kMaxFrameLength = 512;
constexpr int kMaxPollMs = 100;
constexpr int kFirstWirelessRow = 33;
constexpr int kLastWirelessRow = 38;
constexpr int kNodeCount = 255;

std::optional<int> HexDigit(std::uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

// The node of a frame, from its two upper-case hex digits.
std::optional<int> FrameNode(const Bytes& frame)
{
    if (frame.size() < 2)
        return std::nullopt;
    const auto high = HexDigit(frame[0]);
    const auto low = HexDigit(frame[1]);
    if (!high || !low)
        return std::nullopt;
    return *high * 16 + *low;
}

Bytes StatusFrame(std::size_t nodes)
{
    Bytes frame;
    AppendText(frame, "00gq");
    AppendHex(frame, static_cast<std::uint32_t>(nodes), 2);
    frame.push_back(kTerminator);
    return frame;
}

// Best effort: a client that does not read loses what does not fit. A
// socket whose peer has gone must not raise SIGPIPE.
void WriteNow(int fd, const Bytes& bytes, bool socket)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = socket ? ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL)
                                       : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

} // namespace

struct SimGateway::Node {
    GatewayNodeConfig config;
    AsciiDialect dialect;
    UnitState state;
    bool silent;
};

struct SimGateway::Client {
    FileDescriptor owned; // TCP connections; the pseudo-terminal belongs to pty_
    bool pty = false;
    Bytes inbox;
};

SimGateway::SimGateway(const GatewayConfig& config) : config_(config)
{
    for (const GatewayNodeConfig& node : config.nodes) {
        if (node.node < 0 || node.node >= kNodeCount)
            throw std::invalid_argument("gateway node must be 0-254");
        if (node.row < kFirstWirelessRow || node.row > kLastWirelessRow)
            throw std::invalid_argument("a wireless unit behind the gateway has a row from 33 to 38");
        if (nodes_.contains(node.node))
            throw std::invalid_argument("gateway node " + std::to_string(node.node) + " given twice");
        UnitState state = MakeInitialState(node.row, node.unitId);
        state.inputBits = node.inputBits;
        if (node.modelCode)
            state.modelCode = *node.modelCode;
        nodes_.emplace(node.node,
                       std::make_unique<Node>(Node{node, AsciiDialect(ModelAt(node.row)), state, node.silent}));
    }
}

SimGateway::~SimGateway()
{
    stop();
}

void SimGateway::start()
{
    if (thread_.joinable())
        return;
    if (config_.tcp) {
        listener_ = ListenOnLoopback(port_ ? port_ : config_.port, kBacklog);
        port_ = LocalPort(listener_.get());
    }
    if (!config_.ptyLink.empty()) {
        pty_.open(config_.ptyLink);
        const std::lock_guard lock(mutex_);
        ptyDevice_ = pty_.devicePath();
    }
    wakeEvent_ = MakeWakeEvent();
    startedAt_ = Clock::now();
    nextStatus_ = startedAt_ + config_.statusEvery;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void SimGateway::stop()
{
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    loopProgress_.notify_all();
    wake();
    thread_.join();
    // The listener first: a client that sees its connection end must not
    // get into the queue of a listener that is about to close.
    connectHold_.reset();
    listener_.reset();
    clients_.clear();
    pty_.close();
    wakeEvent_.reset();
}

std::string SimGateway::ptyDevice() const
{
    const std::lock_guard lock(mutex_);
    return ptyDevice_;
}

SimGateway::Node& SimGateway::nodeAt(int node)
{
    const auto found = nodes_.find(node);
    if (found == nodes_.end())
        throw std::out_of_range("no such node behind the gateway");
    return *found->second;
}

const SimGateway::Node& SimGateway::nodeAt(int node) const
{
    return const_cast<SimGateway*>(this)->nodeAt(node);
}

UnitState SimGateway::nodeState(int node) const
{
    const std::lock_guard lock(mutex_);
    return nodeAt(node).state;
}

void SimGateway::modifyNode(int node, const std::function<void(UnitState&)>& change)
{
    const std::lock_guard lock(mutex_);
    change(nodeAt(node).state);
}

void SimGateway::setNodeSilent(int node, bool silent)
{
    const std::lock_guard lock(mutex_);
    nodeAt(node).silent = silent;
}

std::vector<Bytes> SimGateway::receivedFrames() const
{
    const std::lock_guard lock(mutex_);
    return {received_.begin(), received_.end()};
}

std::size_t SimGateway::frameCount() const
{
    const std::lock_guard lock(mutex_);
    return frameCount_;
}

bool SimGateway::waitForFrameCount(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return frameArrived_.wait_for(lock, timeout, [&] { return frameCount_ >= count; });
}

std::size_t SimGateway::acceptedConnections() const
{
    const std::lock_guard lock(mutex_);
    return acceptedCount_;
}

bool SimGateway::waitForConnections(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return loopProgress_.wait_for(lock, timeout, [&] { return acceptedCount_ >= count; });
}

void SimGateway::inject(const Bytes& bytes)
{
    std::unique_lock lock(mutex_);
    toInject_.push_back(bytes);
    waitForLoop(lock, injectionsQueued_, injectionsWritten_);
}

void SimGateway::sendStatusBurst(int count)
{
    Bytes burst;
    const Bytes frame = StatusFrame(nodes_.size());
    for (int i = 0; i < count; ++i)
        burst.insert(burst.end(), frame.begin(), frame.end());
    inject(burst);
}

void SimGateway::dropConnections()
{
    {
        const std::lock_guard lock(mutex_);
        dropRequested_ = true;
    }
    wake();
}

void SimGateway::setSlowConnect(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex_);
    slowUntil_ = Clock::now() + duration;
    waitForLoop(lock, holdsQueued_, holdsDone_);
}

void SimGateway::unplugPty(std::chrono::milliseconds downtime)
{
    std::unique_lock lock(mutex_);
    unplugRequested_ = true;
    ptyBackAt_ = Clock::now() + downtime;
    waitForLoop(lock, unplugsQueued_, unplugsDone_);
}

void SimGateway::waitForLoop(std::unique_lock<std::mutex>& lock, std::uint64_t& queued, const std::uint64_t& done)
{
    const std::uint64_t ticket = ++queued;
    lock.unlock();
    wake();
    lock.lock();
    loopProgress_.wait(lock, [&] { return done >= ticket || stopping_; });
}

void SimGateway::wake() const
{
    if (wakeEvent_.valid())
        SignalWakeEvent(wakeEvent_.get());
}

void SimGateway::writeToAll(const Bytes& bytes)
{
    for (const auto& client : clients_) {
        if (client->owned.valid())
            WriteNow(client->owned.get(), bytes, true);
    }
    if (pty_.isOpen())
        WriteNow(pty_.fd(), bytes, false);
}

void SimGateway::runPending(Clock::time_point now)
{
    std::vector<Bytes> injected;
    std::uint64_t injections = 0;
    std::uint64_t unplugs = 0;
    bool drop = false;
    bool unplug = false;
    bool replug = false;
    bool hold = false;
    std::uint64_t holds = 0;
    {
        const std::lock_guard lock(mutex_);
        hold = now < slowUntil_;
        holds = holdsQueued_;
        injected.swap(toInject_);
        injections = injectionsQueued_;
        drop = std::exchange(dropRequested_, false);
        unplug = std::exchange(unplugRequested_, false);
        unplugs = unplugsQueued_;
        replug = ptyBackAt_ && now >= *ptyBackAt_ && !unplug;
        if (replug)
            ptyBackAt_.reset();
    }
    if (listener_.valid())
        connectHold_.set(listener_.get(), port_, kBacklog, hold);
    if (drop)
        clients_.clear();
    if (unplug) {
        pty_.close();
        const std::lock_guard lock(mutex_);
        ptyDevice_.clear();
    }
    if (replug) {
        pty_.open(config_.ptyLink);
        const std::lock_guard lock(mutex_);
        ptyDevice_ = pty_.devicePath();
    }
    for (const Bytes& bytes : injected)
        writeToAll(bytes);
    {
        const std::lock_guard lock(mutex_);
        injectionsWritten_ = injections;
        unplugsDone_ = unplugs;
        holdsDone_ = holds;
    }
    loopProgress_.notify_all();
    if (config_.statusEvery.count() > 0 && now >= nextStatus_) {
        writeToAll(StatusFrame(nodes_.size()));
        nextStatus_ = now + config_.statusEvery;
    }
}

int SimGateway::pollTimeoutMs(Clock::time_point now) const
{
    auto next = now + std::chrono::milliseconds(kMaxPollMs);
    if (config_.statusEvery.count() > 0)
        next = std::min(next, nextStatus_);
    {
        const std::lock_guard lock(mutex_);
        if (ptyBackAt_)
            next = std::min(next, *ptyBackAt_);
        if (slowUntil_ > now)
            next = std::min(next, slowUntil_);
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::max<std::int64_t>(wait, 0));
}

void SimGateway::run()
{
    Client ptyClient{FileDescriptor{}, true, {}};
    std::vector<pollfd> fds;
    while (!stopping_) {
        runPending(Clock::now());
        fds.clear();
        fds.push_back({wakeEvent_.get(), POLLIN, 0});
        // A held listener is left alone so its queue stays full.
        fds.push_back({listener_.valid() && !connectHold_.on() ? listener_.get() : -1, POLLIN, 0});
        fds.push_back({pty_.isOpen() ? pty_.fd() : -1, POLLIN, 0});
        for (const auto& client : clients_)
            fds.push_back({client->owned.get(), POLLIN, 0});

        ::poll(fds.data(), fds.size(), pollTimeoutMs(Clock::now()));
        if (fds[0].revents != 0)
            ClearWakeEvent(wakeEvent_.get());
        if (fds[1].revents != 0) {
            for (FileDescriptor fd = AcceptConnection(listener_.get()); fd.valid();
                 fd = AcceptConnection(listener_.get())) {
                if (connectHold_.isOwnConnection(fd.get()))
                    continue;
                clients_.push_back(std::make_unique<Client>(Client{std::move(fd), false, {}}));
                const std::lock_guard lock(mutex_);
                ++acceptedCount_;
            }
            loopProgress_.notify_all();
        }
        if (fds[2].revents != 0 && pty_.isOpen())
            serveClient(ptyClient);
        const std::size_t polled = fds.size() - 3;
        for (std::size_t i = 0; i < polled && i < clients_.size(); ++i) {
            if (fds[3 + i].revents != 0)
                serveClient(*clients_[i]);
        }
        std::erase_if(clients_, [](const auto& client) { return !client->owned.valid(); });
    }
}

void SimGateway::serveClient(Client& client)
{
    std::uint8_t buffer[kReadChunk];
    const int fd = client.pty ? pty_.fd() : client.owned.get();
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) {
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (!client.pty)
            client.owned.reset();
        return;
    }
    client.inbox.insert(client.inbox.end(), buffer, buffer + got);
    for (auto end = std::find(client.inbox.begin(), client.inbox.end(), kTerminator); end != client.inbox.end();
         end = std::find(client.inbox.begin(), client.inbox.end(), kTerminator)) {
        const Bytes frame(client.inbox.begin(), end + 1);
        client.inbox.erase(client.inbox.begin(), end + 1);
        handleFrame(client, frame);
    }
    if (client.inbox.size() > kMaxFrameLength)
        client.inbox.clear();
}

void SimGateway::handleFrame(Client& client, const Bytes& frame)
{
    std::optional<Bytes> reply;
    {
        const std::lock_guard lock(mutex_);
        ++frameCount_;
        received_.push_back(frame);
        if (received_.size() > kReceivedLimit)
            received_.pop_front();
        const auto node = FrameNode(frame);
        const auto found = node ? nodes_.find(*node) : nodes_.end();
        if (found != nodes_.end() && !found->second->silent) {
            const Bytes command(frame.begin() + 2, frame.end());
            const double seconds = std::chrono::duration<double>(Clock::now() - startedAt_).count();
            if (auto answer = found->second->dialect.answer(command, found->second->state, seconds)) {
                Bytes prefixed;
                AppendHex(prefixed, static_cast<std::uint32_t>(*node), 2);
                prefixed.insert(prefixed.end(), answer->begin(), answer->end());
                reply = std::move(prefixed);
            }
        }
    }
    frameArrived_.notify_all();
    if (reply)
        WriteNow(client.pty ? pty_.fd() : client.owned.get(), *reply, !client.pty);
}

} // namespace vantel::sim
