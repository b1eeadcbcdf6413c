#pragma once

#include "registry/AppState.h"
#include "search/DiscoveryTable.h"
#include "search/SearchView.h"
#include "search/UnitDiscovery.h"

#include <atomic>
#include <functional>
#include <string_view>
#include <thread>

namespace vantel {

class UnitList;

// Behaviour of the search dialog: searching on a worker, listing what was
// found, and adding a found unit through the unit dialog. Workers never
// outlive this object: the destructor stops and joins them.
class CORVEXSearch {
public:
    enum State { Idle = 0, Searching = 1, RowSelected = 2, QueryingUnit = 3 };

    using Search = std::function<bool(DiscoveryTable&, const DiscoverySettings&, const std::atomic<bool>& cancel)>;
    using ModelQuery = std::function<bool(DiscoveryEntry&, Ipv4Address adapter)>;

    // The probes go to `target`; timeout and adapter come from the app state.
    CORVEXSearch(SearchView& view, UnitList& list, AppState& app,
                 DatagramAddress target = {kLimitedBroadcast, kDiscoveryPort});
    ~CORVEXSearch();
    CORVEXSearch(const CORVEXSearch&) = delete;
    CORVEXSearch& operator=(const CORVEXSearch&) = delete;

    // Replace the network for tests; the defaults use the real sockets.
    void setSearch(Search search) { search_ = std::move(search); }
    void setModelQuery(ModelQuery query) { modelQuery_ = std::move(query); }

    // Dialog start-up: starts the first search.
    void start();
    void onResearch();
    // "追加(&A)" or a double click on a row.
    void onAdd();
    void onSelectionChanged();
    // False while a worker runs: the dialog must stay open.
    bool mayClose() const { return state_ != Searching && state_ != QueryingUnit; }
    // Stops the workers and waits for them; called before the window goes away.
    void shutdown();

    State state() const { return state_; }
    // The result of the last search; read it only while no worker runs.
    const DiscoveryTable& table() const { return table_; }

private:
    void enterState(State state);
    void finishSearch(bool succeeded);
    void continueAdd(int row, bool queried);
    void addEntry(DiscoveryEntry& entry);
    void requestListRefresh();
    void fillList();
    void startWorker(std::function<void()> work);
    void fail(std::string_view message);

    SearchView& view_;
    ControlView& controls_;
    UnitList& list_;
    AppState& app_;
    DatagramAddress target_;
    Search search_;
    ModelQuery modelQuery_;
    DiscoveryTable table_;
    State state_ = Idle; // GUI thread only
    std::atomic<bool> closing_{false};
    std::thread worker_;
    std::thread refresher_;
};

} // namespace vantel
