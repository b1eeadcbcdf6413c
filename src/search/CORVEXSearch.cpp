#include "search/CORVEXSearch.h"

#include "panels/framework/PanelTexts.h"
#include "registry/RegistryTexts.h"
#include "registry/UnitList.h"
#include "search/DiscoveryTexts.h"
#include "search/FoundUnit.h"
#include "search/ModelQuery.h"
#include "search/SearchTexts.h"

#include <chrono>
#include <cstdlib>

namespace vantel {

namespace {

constexpr int kListRefreshRequested = 2;
constexpr auto kRefreshPoll = std::chrono::milliseconds(10);

// The port box as the dialog reads it: leading decimal digits, 0 when there are none.
int ReadPort(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value > 0 && value <= 0xFFFF ? static_cast<int>(value) : 0;
}

} // namespace

CORVEXSearch::CORVEXSearch(SearchView& view, UnitList& list, AppState& app, DatagramAddress target)
    : view_(view), controls_(view.controls()), list_(list), app_(app), target_(target),
      search_([](DiscoveryTable& table, const DiscoverySettings& settings, const std::atomic<bool>& cancel) {
          UnitDiscovery discovery(SteadyClock::instance(), &cancel);
          return discovery.search(table, settings);
      }),
      modelQuery_(QueryUnitModel)
{
}

CORVEXSearch::~CORVEXSearch()
{
    shutdown();
}

void CORVEXSearch::shutdown()
{
    closing_ = true;
    if (worker_.joinable())
        worker_.join();
    if (refresher_.joinable())
        refresher_.join();
}

void CORVEXSearch::start()
{
    enterState(Idle);
    onResearch();
}

void CORVEXSearch::enterState(State state)
{
    using namespace SearchControl;
    state_ = state;
    const bool idle = state == Idle || state == RowSelected;
    controls_.setText(ListCaption, state == Searching ? kSearchingCaption : kSearchListCaption);
    controls_.setVisible(FoundUnits, state != QueryingUnit);
    controls_.setText(Progress, kQueryingText);
    controls_.setVisible(Progress, state == QueryingUnit);
    for (int id : {FoundUnits, Research, SearchPort, Close})
        controls_.setEnabled(id, idle);
    controls_.setEnabled(Add, state == RowSelected);
}

void CORVEXSearch::startWorker(std::function<void()> work)
{
    if (worker_.joinable())
        worker_.join(); // the previous one has posted its result and is ending
    worker_ = std::thread(std::move(work));
}

void CORVEXSearch::onResearch()
{
    if (!mayClose() || closing_)
        return;
    enterState(Searching);
    DiscoverySettings settings;
    settings.adapter = app_.adapterAddress.load();
    settings.target = target_;
    settings.timeoutMs = app_.connectTimeoutMs();
    settings.searchPort = ReadPort(controls_.text(SearchControl::SearchPort));
    view_.setRows({});
    startWorker([this, settings] {
        const bool succeeded = search_(table_, settings, closing_);
        view_.post([this, succeeded] { finishSearch(succeeded); });
    });
}

void CORVEXSearch::finishSearch(bool succeeded)
{
    if (!succeeded)
        controls_.showMessage(kCommunicationErrorHead);
    fillList();
    enterState(Idle);
}

void CORVEXSearch::onSelectionChanged()
{
    // Rows come and go while a worker runs; that is no choice of the user's.
    if (!mayClose())
        return;
    enterState(view_.selectionMark() >= 0 ? RowSelected : Idle);
}

void CORVEXSearch::onAdd()
{
    const int row = view_.selectionMark();
    if (row < 0 || row >= table_.count() || !mayClose() || closing_)
        return;
    enterState(QueryingUnit);
    const Ipv4Address adapter = app_.adapterAddress.load();
    startWorker([this, row, adapter] {
        DiscoveryEntry& entry = table_.at(row);
        const bool queried = entry.modelCode == kUnknownModel ? modelQuery_(entry, adapter) : true;
        view_.post([this, row, queried] { continueAdd(row, queried); });
    });
}

void CORVEXSearch::fail(std::string_view message)
{
    controls_.showMessage(message);
    enterState(Idle);
}

void CORVEXSearch::continueAdd(int row, bool queried)
{
    DiscoveryEntry& entry = table_.at(row);
    // A reply that names no model is as useless as no reply.
    if (!queried || entry.modelCode == kUnknownModel || !SettleGcKind(entry)) {
        fail(kModelUnknown);
        return;
    }
    fillList();
    addEntry(entry);
}

void CORVEXSearch::addEntry(DiscoveryEntry& entry)
{
    const auto confirmed = view_.addUnit(list_, ProposedConnection(entry));
    if (confirmed) {
        if (list_.Add(-1, *confirmed) != 0) {
            fail(kCannotAdd);
            return;
        }
        // The unit is in the list now even if the file cannot be written:
        // the main window must show it, so the refresh below still runs.
        if (list_.Save() != 0) {
            controls_.showMessage(kCannotSave);
        } else {
            entry.registered = true;
            fillList();
            controls_.showMessage(kAdded);
        }
    }
    requestListRefresh();
}

void CORVEXSearch::requestListRefresh()
{
    if (refresher_.joinable())
        refresher_.join();
    refresher_ = std::thread([this] {
        app_.listRefreshRequest = kListRefreshRequested;
        while (app_.listRefreshRequest.load() != 0 && !closing_)
            std::this_thread::sleep_for(kRefreshPoll);
        view_.post([this] { enterState(Idle); });
    });
}

void CORVEXSearch::fillList()
{
    table_.markRegistered(list_);
    std::vector<SearchRow> rows;
    for (int i = 0; i < table_.count(); ++i) {
        const DiscoveryEntry& entry = table_.at(i);
        rows.push_back({MacText(entry.mac), entry.ipText, ModelColumnText(entry), entry.registered});
    }
    view_.setRows(rows);
}

} // namespace vantel
