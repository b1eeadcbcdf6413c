#include "search/CORVEXSearch.h"
#include "registry/UnitList.h"
#include "support/TempFolder.h"
#include "ui/MemoryControls.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>

namespace vantel {
namespace {

namespace Id = SearchControl;

// The dialog's window without a window: posted work waits in a queue until
// the test runs it, as the GUI thread would.
class FakeSearchView : public SearchView {
public:
    ControlView& controls() override { return controls_; }
    void setRows(const std::vector<SearchRow>& r) override { rows = r; }
    int selectionMark() const override { return selection; }
    std::optional<UnitConnection> addUnit(const UnitList&, const UnitConnection& in) override
    {
        offered.push_back(in);
        return confirm ? std::optional(in) : std::nullopt;
    }
    void post(std::function<void()> work) override
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
        ready_.notify_one();
    }
    // Runs posted work until `done` holds; false after 10 s without it.
    // `done` is also checked between posts, since it may watch other threads.
    bool runUntil(const std::function<bool()>& done)
    {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > giveUp)
                return false;
            std::unique_lock lock(mutex_);
            if (!ready_.wait_for(lock, std::chrono::milliseconds(5), [this] { return !posted_.empty(); }))
                continue;
            auto work = std::move(posted_.front());
            posted_.pop_front();
            lock.unlock();
            work();
        }
        return true;
    }

    MemoryControls controls_;
    std::vector<SearchRow> rows;
    int selection = -1;
    bool confirm = true;
    std::vector<UnitConnection> offered;

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> posted_;
};

DiscoveryEntry Found(std::uint32_t address, char family, char sub, int kind, std::int32_t model = kUnknownModel)
{
    ProbeReply reply;
    reply.family = family;
    reply.subLetter = sub;
    reply.kind = kind;
    reply.modelCode = model;
    reply.mac = {0x00, 0x11, 0x22, 0x33, 0x44, static_cast<std::uint8_t>(address)};
    DiscoveryTable one;
    one.reset(3000);
    one.append(reply, {0x0000000Au | (address << 24), 30718});
    return one.at(0);
}

class CORVEXSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folder);
        list.Load();
        search.setSearch([this](DiscoveryTable& table, const DiscoverySettings& settings, const std::atomic<bool>&) {
            lastSettings = settings;
            ++searches;
            table.reset(settings.timeoutMs);
            for (const DiscoveryEntry& entry : found) {
                ProbeReply reply{entry.family, entry.subLetter, entry.kind, entry.modelCode, 0, entry.mac};
                table.append(reply, entry.replyAddress);
                table.at(table.count() - 1) = entry; // with what its detail reply told
            }
            return searchSucceeds;
        });
        search.setModelQuery([this](DiscoveryEntry& entry, Ipv4Address) {
            ++modelQueries;
            if (modelQuerySucceeds)
                entry.modelCode = reportedModel;
            return modelQuerySucceeds;
        });
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void searchNow()
    {
        search.start();
        ASSERT_TRUE(view.runUntil([this] { return search.state() == CORVEXSearch::Idle; }));
    }
    void addRow(int row)
    {
        view.selection = row;
        search.onSelectionChanged();
        search.onAdd();
        ASSERT_EQ(search.state(), CORVEXSearch::QueryingUnit);
        ASSERT_TRUE(view.runUntil([this] {
            // The main window serves the refresh request on its timer.
            if (app.listRefreshRequest == 2)
                app.listRefreshRequest = 0;
            return search.state() != CORVEXSearch::QueryingUnit;
        }));
    }
    const MemoryControls& controls() const { return view.controls_; }

    // A folder of its own: runs of the suite side by side must not share the list.
    test::TempFolder temp;
    std::filesystem::path folder = temp.path();
    UnitList list{(folder / "units.dat").string()};
    AppState app;
    FakeSearchView view;
    CORVEXSearch search{view, list, app, {0x0100007F, 4000}};
    std::vector<DiscoveryEntry> found;
    bool searchSucceeds = true;
    bool modelQuerySucceeds = true;
    std::int32_t reportedModel = 3;
    int searches = 0;
    int modelQueries = 0;
    DiscoverySettings lastSettings;
};

TEST_F(CORVEXSearchTest, OpeningSearchesAtOnceAndDisablesTheDialogMeanwhile)
{
    app.commandLineTimeoutMs = 1500;
    app.adapterAddress = 0x0100007F;
    view.controls_.setText(Id::SearchPort, "10003");
    search.start();
    EXPECT_EQ(search.state(), CORVEXSearch::Searching);
    EXPECT_EQ(controls().text(Id::ListCaption), "検索中...");
    for (int id : {Id::FoundUnits, Id::Research, Id::SearchPort, Id::Close, Id::Add})
        EXPECT_FALSE(controls().enabled(id)) << id;
    EXPECT_FALSE(search.mayClose());
    search.onSelectionChanged(); // rows being cleared: not a choice
    EXPECT_EQ(search.state(), CORVEXSearch::Searching);

    ASSERT_TRUE(view.runUntil([this] { return search.state() == CORVEXSearch::Idle; }));
    EXPECT_EQ(lastSettings.timeoutMs, 1500);
    EXPECT_EQ(lastSettings.adapter, 0x0100007Fu);
    EXPECT_EQ(lastSettings.target, (DatagramAddress{0x0100007F, 4000}));
    EXPECT_EQ(lastSettings.searchPort, 10003);
    EXPECT_EQ(controls().text(Id::ListCaption), "検索結果(&R):");
    EXPECT_TRUE(controls().enabled(Id::Research));
    EXPECT_FALSE(controls().enabled(Id::Add));
    EXPECT_TRUE(search.mayClose());
}

TEST_F(CORVEXSearchTest, NoAnswerGivesEmptyListWithoutMessage)
{
    searchNow();
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(controls().messages.empty());
}

TEST_F(CORVEXSearchTest, FailedSearchSaysSo)
{
    searchSucceeds = false;
    found = {Found(1, 'X', '1', DiscoveryKind::Plain)};
    searchNow();
    EXPECT_EQ(controls().messages, std::vector<std::string>{"通信エラー"});
}

TEST_F(CORVEXSearchTest, PortBoxIsReadLikeANumber)
{
    for (const auto& [text, port] : std::vector<std::pair<std::string, int>>{{"", 0}, {"abc", 0}, {"123x", 123}}) {
        view.controls_.setText(Id::SearchPort, text);
        searchNow();
        EXPECT_EQ(lastSettings.searchPort, port) << text;
    }
}

TEST_F(CORVEXSearchTest, RowsShowUnitsAndRegisteredOnesAreMarked)
{
    UnitConnection known;
    known.name = "known";
    known.host = "10.0.0.2";
    ASSERT_EQ(list.Add(-1, known), 0);
    found = {Found(1, 'X', '4', DiscoveryKind::Plain), Found(2, '_', 'W', DiscoveryKind::Lc),
             Found(3, '_', 'B', DiscoveryKind::FamilyB, 9)};
    searchNow();
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.rows[0].mac, "00-11-22-33-44-01");
    EXPECT_EQ(view.rows[0].ip, "10.0.0.1");
    EXPECT_EQ(view.rows[0].model, "X4");
    EXPECT_FALSE(view.rows[0].registered);
    EXPECT_EQ(view.rows[1].model, "LC");
    EXPECT_TRUE(view.rows[1].registered);
    EXPECT_EQ(view.rows[2].model, "QZ-K19-P");

    view.selection = 0;
    search.onSelectionChanged();
    EXPECT_EQ(search.state(), CORVEXSearch::RowSelected);
    EXPECT_TRUE(controls().enabled(Id::Add));
    view.selection = -1;
    search.onSelectionChanged();
    EXPECT_EQ(search.state(), CORVEXSearch::Idle);
}

TEST_F(CORVEXSearchTest, AddingProposesNameHostAndPortsAndRequestsListRefresh)
{
    DiscoveryEntry unit = Found(0x55, 'X', '1', DiscoveryKind::Plain);
    unit.controlPort = 10010; // as its detail reply said
    found = {unit};
    searchNow();
    search.setSearch({}); // no further search may run
    view.selection = 0;
    search.onSelectionChanged();
    search.onAdd();
    EXPECT_EQ(search.state(), CORVEXSearch::QueryingUnit);
    EXPECT_FALSE(controls().visible(Id::FoundUnits));
    EXPECT_TRUE(controls().visible(Id::Progress));
    EXPECT_EQ(controls().text(Id::Progress), "情報取得中...");
    EXPECT_FALSE(search.mayClose());
    ASSERT_TRUE(view.runUntil([this] { return app.listRefreshRequest == 2; }));
    EXPECT_EQ(search.state(), CORVEXSearch::QueryingUnit) << "waits for the main window";
    app.listRefreshRequest = 0;
    ASSERT_TRUE(view.runUntil([this] { return search.state() == CORVEXSearch::Idle; }));

    EXPECT_EQ(modelQueries, 1);
    ASSERT_EQ(view.offered.size(), 1u);
    EXPECT_EQ(view.offered[0].name, "QZ-K13_334455");
    EXPECT_EQ(view.offered[0].host, "10.0.0.85");
    EXPECT_EQ(view.offered[0].controlPort, 10010);
    EXPECT_EQ(view.offered[0].secondPort, 30704);
    EXPECT_EQ(view.offered[0].modelRow, 4);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0).name, "QZ-K13_334455");
    EXPECT_EQ(controls().lastMessage(), "指定のデバイスを追加しました。");
    EXPECT_TRUE(view.rows[0].registered);
    EXPECT_TRUE(view.rows[0].model == "QZ-K13");

    UnitList reread(list.filePath());
    ASSERT_EQ(reread.Load(), 0);
    EXPECT_EQ(reread.count(), 1);
}

TEST_F(CORVEXSearchTest, KnownModelIsNotAskedAgainAndCancelStillRefreshes)
{
    found = {Found(1, '_', 'D', DiscoveryKind::ThirdWireless, 10)};
    searchNow();
    view.confirm = false;
    addRow(0);
    EXPECT_EQ(modelQueries, 0);
    ASSERT_EQ(view.offered.size(), 1u);
    EXPECT_EQ(view.offered[0].modelRow, 48);
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(controls().messages.empty());
    EXPECT_EQ(search.state(), CORVEXSearch::Idle);
}

TEST_F(CORVEXSearchTest, ModelQueryFailureOrUnknownModelStopsTheAdd)
{
    found = {Found(1, 'X', '1', DiscoveryKind::Plain)};
    searchNow();
    modelQuerySucceeds = false;
    addRow(0);
    EXPECT_EQ(controls().lastMessage(), "通信エラー。モデルを取得できません。");
    modelQuerySucceeds = true;
    reportedModel = kUnknownModel;
    addRow(0);
    EXPECT_EQ(controls().messages.size(), 2u);
    EXPECT_TRUE(view.offered.empty());
    EXPECT_EQ(search.state(), CORVEXSearch::Idle);
}

TEST_F(CORVEXSearchTest, GcUnitsBecomeSmallOrLargeByModelCode)
{
    found = {Found(1, 'X', '6', DiscoveryKind::GcCapable), Found(2, 'X', '6', DiscoveryKind::GcCapable),
             Found(3, 'X', '6', DiscoveryKind::GcCapable)};
    searchNow();
    view.confirm = false;
    reportedModel = 3;
    addRow(0);
    EXPECT_EQ(search.table().at(0).kind, DiscoveryKind::GcLowModel);
    EXPECT_EQ(view.rows[0].model, "QZ-K13(G)");
    reportedModel = 17;
    addRow(1);
    EXPECT_EQ(search.table().at(1).kind, DiscoveryKind::GcHighModel);
    EXPECT_EQ(view.rows[1].model, "QZ-K20-P");
    reportedModel = 10;
    addRow(2);
    EXPECT_EQ(controls().lastMessage(), "通信エラー。モデルを取得できません。");
    EXPECT_EQ(view.offered.size(), 2u);
}

TEST_F(CORVEXSearchTest, UnsavableListStillRefreshesTheMainWindow)
{
    found = {Found(1, '_', 'B', DiscoveryKind::FamilyB, 9)};
    searchNow();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "units.dat"); // a folder where the file should be
    addRow(0);
    EXPECT_EQ(controls().lastMessage(), "変更が保存できませんでした。");
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(search.state(), CORVEXSearch::Idle) << "the refresh ran and ended";
}

TEST_F(CORVEXSearchTest, DestroyingWhileSearchingJoinsTheWorker)
{
    std::atomic<bool> sawCancel{false};
    {
        FakeSearchView localView;
        CORVEXSearch busy(localView, list, app);
        busy.setSearch([&](DiscoveryTable&, const DiscoverySettings&, const std::atomic<bool>& cancel) {
            while (!cancel)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            sawCancel = true;
            return true;
        });
        busy.start();
        EXPECT_FALSE(busy.mayClose());
    }
    EXPECT_TRUE(sawCancel);
}

} // namespace
} // namespace vantel
