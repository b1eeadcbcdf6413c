#include "comm/link/GatewayNodeTable.h"

#include <stdexcept>
#include <utility>

namespace vantel {

GatewayNode::GatewayNode(GatewayNode&& other) noexcept
    : table_(std::exchange(other.table_, nullptr)), node_(other.node_), token_(std::exchange(other.token_, 0))
{
}

GatewayNode& GatewayNode::operator=(GatewayNode&& other) noexcept
{
    if (this != &other) {
        close();
        table_ = std::exchange(other.table_, nullptr);
        node_ = other.node_;
        token_ = std::exchange(other.token_, 0);
    }
    return *this;
}

void GatewayNode::close()
{
    if (table_ != nullptr)
        std::exchange(table_, nullptr)->remove(node_, token_);
}

bool GatewayNode::active() const
{
    return table_ != nullptr && table_->holds(node_, token_);
}

GatewayNode GatewayNodeTable::install(int node, NodeHandler handler)
{
    if (node < 0 || node >= kGatewayNodeCount)
        throw std::out_of_range("gateway node must be 0-254");
    const std::lock_guard lock(mutex_);
    const std::uint64_t token = nextToken_++;
    entries_[node] = Entry{token, std::make_shared<const NodeHandler>(std::move(handler))};
    return GatewayNode(*this, node, token);
}

void GatewayNodeTable::remove(int node, std::uint64_t token)
{
    std::unique_lock lock(mutex_);
    const bool emptied = entries_[node].token == token;
    if (emptied)
        entries_[node] = Entry{};
    // From inside its own handler there is nothing to wait for.
    returned_.wait(lock, [&] { return inFlight_.token != token || inFlight_.thread == std::this_thread::get_id(); });
    lock.unlock();
    if (emptied && emptied_)
        emptied_(node);
}

bool GatewayNodeTable::holds(int node, std::uint64_t token) const
{
    const std::lock_guard lock(mutex_);
    return entries_[node].token == token;
}

GatewayNodeTable::Dispatch GatewayNodeTable::dispatch(const NodeFrame& frame)
{
    std::shared_ptr<const NodeHandler> handler;
    {
        const std::lock_guard lock(mutex_);
        const Entry& entry = entries_[frame.node];
        if (entry.token == 0)
            return Dispatch::NoEntry;
        // The owner and its handler are one value, taken together.
        handler = entry.handler;
        inFlight_ = InFlight{entry.token, std::this_thread::get_id()};
    }
    const bool consumed = (*handler)(frame);
    {
        const std::lock_guard lock(mutex_);
        inFlight_ = InFlight{};
    }
    returned_.notify_all();
    return consumed ? Dispatch::Consumed : Dispatch::Ignored;
}

} // namespace vantel
