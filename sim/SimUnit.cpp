#include "SimUnit.h"

#include "ConnectHold.h"
#include "Dialect.h"
#include "registry/ModelCatalogue.h"

#include <algorithm>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>

namespace vantel::sim {
namespace {

constexpr int kBacklog = 16;
constexpr std::size_t kReceivedLimit = 1000;
constexpr std::size_t kReadChunk = 4096;
// The loop re-checks its timers at least this often.
constexpr int kMaxPollMs = 100;

const ModelRow& CheckedRow(int row)
{
    if (!IsKnownModelRow(row))
        throw std::invalid_argument("catalogue row must be 0-49");
    return ModelAt(row);
}

} // namespace

struct SimUnit::Listener {
    PortKind kind;
    std::uint16_t port;
    FileDescriptor fd;
    ConnectHold hold; // during a slow-connect spell
};

struct SimUnit::Outgoing {
    Clock::time_point due;
    Bytes bytes;
};

struct SimUnit::Connection {
    PortKind kind;
    FileDescriptor fd;
    Bytes inbox;
    std::deque<Outgoing> outbox;
    Bytes lastReply;
    Clock::time_point lastInput{};
    Clock::time_point nextStream{}; // a hostile unit's next unasked bytes
};

namespace {
// A unit forgets an unfinished command after this much silence, so bytes of
// another dialect that never form a command do not swallow the next one.
constexpr auto kPartialCommandLifetime = std::chrono::milliseconds(500);
} // namespace

SimUnit::SimUnit(const UnitConfig& config)
    : row_(CheckedRow(config.row)), config_(config), controlDialect_(MakeControlDialect(row_)),
      secondDialect_(HasSecondPort(row_) ? MakeSecondPortDialect(row_) : nullptr),
      state_(MakeInitialState(config.row, config.unitId))
{
    state_.inputBits = config.inputBits;
    if (config.modelCode)
        state_.modelCode = *config.modelCode;
    fault_ = config.fault;
    replyDelay_ = config.replyDelay;
    refuse_ = config.refuseConnections;
    stream_ = config.stream;
    streamEvery_ = config.streamEvery.value_or(DefaultStreamInterval(config.stream));
}

SimUnit::~SimUnit()
{
    stop();
}

void SimUnit::start()
{
    if (thread_.joinable())
        return;
    // A unit started again keeps the ports it had.
    listeners_.clear();
    connections_.clear();
    listeners_.push_back(Listener{PortKind::Control, controlPort_ ? controlPort_ : config_.port, {}, {}});
    if (secondDialect_)
        listeners_.push_back(Listener{PortKind::Second, secondPort_ ? secondPort_ : config_.secondPort, {}, {}});
    // Bind now, even when refusing, so the chosen ports are known to the caller.
    for (Listener& listener : listeners_) {
        openListener(listener);
        listener.port = LocalPort(listener.fd.get());
    }
    controlPort_ = listeners_[0].port;
    secondPort_ = secondDialect_ ? listeners_[1].port : 0;
    wakeEvent_ = MakeWakeEvent();
    startedAt_ = Clock::now();
    {
        std::lock_guard lock(mutex_);
        slowUntil_ = startedAt_ + config_.slowConnect;
    }
    // Refusing or holding takes effect before the caller can connect.
    reconcileListeners(startedAt_);
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void SimUnit::stop()
{
    if (!thread_.joinable())
        return;
    stopping_ = true;
    wake();
    thread_.join();
    wakeEvent_.reset();
}

UnitState SimUnit::state() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

void SimUnit::modify(const std::function<void(UnitState&)>& change)
{
    std::lock_guard lock(mutex_);
    change(state_);
}

void SimUnit::setInputBits(std::uint32_t bits)
{
    modify([bits](UnitState& s) { s.inputBits = bits; });
}

std::uint32_t SimUnit::outputBits() const
{
    return state().outputBits;
}

std::vector<ReceivedCommand> SimUnit::receivedCommands() const
{
    std::lock_guard lock(mutex_);
    return {received_.begin(), received_.end()};
}

std::size_t SimUnit::commandCount() const
{
    std::lock_guard lock(mutex_);
    return commandCount_;
}

bool SimUnit::waitForCommandCount(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return commandArrived_.wait_for(lock, timeout, [&] { return commandCount_ >= count; });
}

std::size_t SimUnit::acceptedConnections() const
{
    std::lock_guard lock(mutex_);
    return acceptedCount_;
}

void SimUnit::clearReceived()
{
    std::lock_guard lock(mutex_);
    received_.clear();
}

void SimUnit::setFault(Fault fault, int times)
{
    std::lock_guard lock(mutex_);
    fault_ = times == 0 ? Fault::None : fault;
    faultTimesLeft_ = times;
}

void SimUnit::setReplyDelay(std::chrono::milliseconds delay)
{
    std::lock_guard lock(mutex_);
    replyDelay_ = delay;
}

void SimUnit::setStream(Stream stream, std::optional<std::chrono::milliseconds> every)
{
    {
        std::lock_guard lock(mutex_);
        stream_ = stream;
        streamEvery_ = every.value_or(DefaultStreamInterval(stream));
    }
    wake();
}

void SimUnit::setSlowConnect(std::chrono::milliseconds duration)
{
    {
        std::lock_guard lock(mutex_);
        slowUntil_ = Clock::now() + duration;
    }
    wake();
}

void SimUnit::setRefuseConnections(bool refuse)
{
    {
        std::lock_guard lock(mutex_);
        refuse_ = refuse;
    }
    wake();
}

void SimUnit::restart(std::chrono::milliseconds downtime)
{
    {
        std::lock_guard lock(mutex_);
        restartPending_ = true;
        downUntil_ = Clock::now() + downtime;
    }
    wake();
}

void SimUnit::wake() const
{
    if (wakeEvent_.valid())
        SignalWakeEvent(wakeEvent_.get());
}

const Dialect& SimUnit::dialectOf(PortKind kind) const
{
    return kind == PortKind::Second ? *secondDialect_ : *controlDialect_;
}

void SimUnit::run()
{
    std::vector<pollfd> fds;
    while (!stopping_) {
        reconcileListeners(Clock::now());

        fds.clear();
        fds.push_back({wakeEvent_.get(), POLLIN, 0});
        for (const Listener& listener : listeners_) {
            // A held listener is left alone so its queue stays full.
            fds.push_back({listener.fd.valid() && !listener.hold.on() ? listener.fd.get() : -1, POLLIN, 0});
        }
        for (const Connection& connection : connections_)
            fds.push_back({connection.fd.get(), POLLIN, 0});

        ::poll(fds.data(), fds.size(), pollTimeoutMs(Clock::now()));
        if (fds[0].revents != 0)
            ClearWakeEvent(wakeEvent_.get());
        const auto now = Clock::now();
        for (std::size_t i = 0; i < listeners_.size(); ++i) {
            if (fds[1 + i].revents != 0)
                acceptFrom(listeners_[i]);
        }
        const std::size_t firstConnection = 1 + listeners_.size();
        const std::size_t polledConnections = fds.size() - firstConnection;
        for (std::size_t i = 0; i < polledConnections && i < connections_.size(); ++i) {
            if (fds[firstConnection + i].revents != 0)
                readFrom(connections_[i], now);
        }
        flushDue(Clock::now());
        streamDue(Clock::now());
        std::erase_if(connections_, [](const Connection& c) { return !c.fd.valid(); });
    }
    dropEverything();
}

void SimUnit::reconcileListeners(Clock::time_point now)
{
    bool listen = false;
    bool hold = false;
    {
        std::lock_guard lock(mutex_);
        if (restartPending_) {
            restartPending_ = false;
            dropEverything();
        }
        listen = !refuse_ && now >= downUntil_;
        hold = now < slowUntil_;
    }
    for (Listener& listener : listeners_) {
        if (!listen) {
            listener.hold.reset();
            listener.fd.reset();
            continue;
        }
        if (!listener.fd.valid()) {
            try {
                openListener(listener);
            } catch (const std::system_error&) {
                continue; // the port is busy for a moment; try on the next round
            }
        }
        listener.hold.set(listener.fd.get(), listener.port, kBacklog, hold);
    }
}

void SimUnit::openListener(Listener& listener) const
{
    listener.fd = ListenOnLoopback(listener.port, kBacklog);
}

void SimUnit::acceptFrom(Listener& listener)
{
    for (;;) {
        FileDescriptor fd = AcceptConnection(listener.fd.get());
        if (!fd.valid())
            return;
        if (listener.hold.isOwnConnection(fd.get()))
            continue;
        {
            std::lock_guard lock(mutex_);
            ++acceptedCount_;
        }
        connections_.push_back(Connection{listener.kind, std::move(fd), {}, {}, {}, {}, Clock::now()});
    }
}

void SimUnit::readFrom(Connection& connection, Clock::time_point now)
{
    std::uint8_t buffer[kReadChunk];
    const ssize_t got = ::recv(connection.fd.get(), buffer, sizeof buffer, 0);
    if (got <= 0) {
        connection.fd.reset();
        return;
    }
    if (now - connection.lastInput > kPartialCommandLifetime)
        connection.inbox.clear();
    connection.lastInput = now;
    connection.inbox.insert(connection.inbox.end(), buffer, buffer + got);
    Bytes command;
    while (dialectOf(connection.kind).takeCommand(connection.inbox, command)) {
        if (!handleCommand(connection, command, now))
            return;
    }
}

bool SimUnit::handleCommand(Connection& connection, const Bytes& command, Clock::time_point now)
{
    std::optional<Bytes> reply;
    Fault fault = Fault::None;
    Clock::time_point due;
    Bytes noise;
    bool hostile = false;
    {
        std::lock_guard lock(mutex_);
        hostile = stream_ != Stream::None;
        ++commandCount_;
        received_.push_back(ReceivedCommand{connection.kind, command});
        if (received_.size() > kReceivedLimit)
            received_.pop_front();
        const double seconds = std::chrono::duration<double>(now - startedAt_).count();
        reply = dialectOf(connection.kind).answer(command, state_, seconds);
        fault = fault_;
        if (faultTimesLeft_ > 0 && --faultTimesLeft_ == 0)
            fault_ = Fault::None;
        due = now + replyDelay_;
        if (reply && fault == Fault::Garbage)
            noise = GarbageLike(*reply, noiseSeed_);
    }
    commandArrived_.notify_all();
    if (hostile)
        return true;
    auto queue = [&](Bytes bytes) { connection.outbox.push_back(Outgoing{due, std::move(bytes)}); };
    switch (fault) {
    case Fault::DropConnection:
        connection.fd.reset();
        return false;
    case Fault::Restart:
        restart();
        dropEverything();
        return false;
    case Fault::NoReply:
        return true;
    default:
        break;
    }
    if (fault == Fault::Echo) {
        queue(command);
        return true;
    }
    if (!reply)
        return true;
    if (fault == Fault::StaleEcho)
        queue(dialectOf(connection.kind).staleReply(*reply, connection.lastReply));
    if (fault == Fault::Garbage)
        queue(std::move(noise));
    else if (fault == Fault::OversizeFrame)
        queue(OversizedLike(*reply));
    else if (fault == Fault::ShortReply)
        queue(ShortenedLike(*reply));
    else
        queue(*reply);
    connection.lastReply = *reply;
    return true;
}

void SimUnit::flushDue(Clock::time_point now)
{
    for (Connection& connection : connections_) {
        while (connection.fd.valid() && !connection.outbox.empty() && connection.outbox.front().due <= now) {
            if (!SendAll(connection.fd.get(), connection.outbox.front().bytes))
                connection.fd.reset();
            connection.outbox.pop_front();
        }
    }
}

void SimUnit::streamDue(Clock::time_point now)
{
    Stream stream = Stream::None;
    std::chrono::milliseconds every{0};
    {
        std::lock_guard lock(mutex_);
        stream = stream_;
        every = streamEvery_;
    }
    if (stream == Stream::None)
        return;
    const Bytes chunk = StreamChunk(stream);
    for (Connection& connection : connections_) {
        if (connection.kind != PortKind::Control || !connection.fd.valid() || connection.nextStream > now)
            continue;
        if (!SendWhatFits(connection.fd.get(), chunk))
            connection.fd.reset();
        connection.nextStream = now + every;
    }
}

int SimUnit::pollTimeoutMs(Clock::time_point now) const
{
    auto next = now + std::chrono::milliseconds(kMaxPollMs);
    for (const Connection& connection : connections_) {
        if (!connection.outbox.empty())
            next = std::min(next, connection.outbox.front().due);
    }
    {
        std::lock_guard lock(mutex_);
        if (stream_ != Stream::None) {
            for (const Connection& connection : connections_)
                next = std::min(next, connection.nextStream);
        }
        for (const auto deadline : {slowUntil_, downUntil_}) {
            if (deadline > now)
                next = std::min(next, deadline);
        }
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::max<std::int64_t>(wait, 0));
}

void SimUnit::dropEverything()
{
    // Listeners first: a client that sees its connection end must not be
    // able to connect again straight away.
    for (Listener& listener : listeners_) {
        listener.hold.reset();
        listener.fd.reset();
    }
    for (Connection& connection : connections_)
        connection.fd.reset();
}

} // namespace vantel::sim
