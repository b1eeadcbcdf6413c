#pragma once

#include "comm/protocol/GatewayFrame.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vantel {

// Called on the link's receive thread with each frame for its node; true when
// it took the frame as the reply to a command (that ends a reply wait).
// Handlers must not block on another thread (post, don't wait), and may
// register or unregister nodes, their own included.
using NodeHandler = std::function<bool(const NodeFrame&)>;

class GatewayNodeTable;

// A node's registration on the link: while it lives, frames for the node
// reach its handler. A later registration of the same node replaces it (the
// main window's connect-time entry handed over to the panel); this one then
// stays inert and its end leaves the newer entry alone. Ending it, by close()
// or destruction, returns only after a call of its handler in progress has
// returned, so the handler never runs on an owner that has gone. It must
// end before the link (or table) it was made by.
class GatewayNode {
public:
    GatewayNode() = default;
    ~GatewayNode() { close(); }
    GatewayNode(GatewayNode&& other) noexcept;
    GatewayNode& operator=(GatewayNode&& other) noexcept;
    GatewayNode(const GatewayNode&) = delete;
    GatewayNode& operator=(const GatewayNode&) = delete;

    void close();
    int node() const { return node_; }
    // Still the node's entry: not closed, not replaced.
    bool active() const;

private:
    friend class GatewayNodeTable;
    GatewayNode(GatewayNodeTable& table, int node, std::uint64_t token) : table_(&table), node_(node), token_(token) {}

    GatewayNodeTable* table_ = nullptr;
    int node_ = -1;
    std::uint64_t token_ = 0;
};

// The 255 node entries of the link. Written by any thread, read by the one
// dispatching thread.
class GatewayNodeTable {
public:
    enum class Dispatch { NoEntry, Consumed, Ignored };
    // Called when a node's entry ends (not when it is replaced), outside the
    // table's lock.
    using EmptiedListener = std::function<void(int node)>;

    explicit GatewayNodeTable(EmptiedListener emptied = {}) : emptied_(std::move(emptied)) {}

    // Throws std::out_of_range for a node outside 0-254.
    GatewayNode install(int node, NodeHandler handler);
    Dispatch dispatch(const NodeFrame& frame);

private:
    friend class GatewayNode;
    void remove(int node, std::uint64_t token);
    bool holds(int node, std::uint64_t token) const;

    struct Entry {
        std::uint64_t token = 0; // 0: empty
        std::shared_ptr<const NodeHandler> handler;
    };
    struct InFlight {
        std::uint64_t token = 0;
        std::thread::id thread;
    };

    const EmptiedListener emptied_;
    mutable std::mutex mutex_;
    std::condition_variable returned_;
    std::array<Entry, kGatewayNodeCount> entries_{};
    InFlight inFlight_{};
    std::uint64_t nextToken_ = 1;
};

} // namespace vantel
