#include "TestPanel.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace vantel {
namespace {

// A panel whose worker delivers results without pause from its own thread
// while the real ticker runs, so closing races both of them.
class BusyPanel : public test::TestPanel {
public:
    using TestPanel::TestPanel;

    void startWorker()
    {
        countingLink.onStop = [this] {
            quit_ = true;
            if (worker_.joinable())
                worker_.join();
            stoppedAt_ = results.load();
        };
        worker_ = std::thread([this] {
            while (!quit_.load()) {
                deliver(1);
                if (stoppedAt_.load() >= 0)
                    ++deliveredAfterStop;
            }
        });
    }

    std::atomic<int> deliveredAfterStop{0};

private:
    std::atomic<bool> quit_{false};
    std::atomic<int> stoppedAt_{-1};
    std::thread worker_; // joined when the close stops the link, before the panel goes
};

TEST(PanelThreads, CloseStopsTickerAndWorkerBeforeThePanelGoes)
{
    test::TempFolder temp;
    UnitList list((temp.path() / "vantel.dat").string());
    UnitConnection unit;
    unit.name = "Busy";
    list.Add(-1, unit);
    AppState app;
    test::FakePanelView view;
    PanelContext context(list, app, list.at(0).id);
    context.logFolder = temp.folder();

    auto panel = MakePanel<BusyPanel>(view, context);
    panel->start();
    panel->startWorker();
    view.controls.setText(test::TestId::OutputPeriod, "1");
    view.controls.setChecked(test::TestId::OutputAuto, true);
    panel->onAutoClicked(test::TestId::OutputAuto);
    while (panel->results.load() < 1000)
        std::this_thread::yield();

    // What the window's event loop does: run the close, and again for every
    // posted close, until the panel lets its window go.
    panel->onCloseCommand();
    while (view.windowCloses.load() == 0) {
        std::this_thread::yield();
        panel->onCloseCommand();
    }
    EXPECT_EQ(panel->countingLink.stops.load(), 1);
    EXPECT_EQ(panel->deliveredAfterStop.load(), 0);
    panel.reset();
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

// A panel whose tick and start-up work wait for a unit that never answers,
// as the gateway panels wait for their replies.
class WaitingPanel : public test::TestPanel {
public:
    using TestPanel::TestPanel;

    void startWaiting()
    {
        startUpInBackground([this] { waitForTheUnit(); });
    }

    std::atomic<int> waiting{0};
    std::atomic<int> waitsEnded{0};

protected:
    void periodicWork() override { waitForTheUnit(); }

private:
    void waitForTheUnit()
    {
        std::mutex mutex;
        std::condition_variable_any reply;
        std::unique_lock lock(mutex);
        ++waiting;
        reply.wait(lock, closeToken(), [] { return false; });
        ++waitsEnded;
    }
};

struct WaitingPanelFixture {
    WaitingPanelFixture() : list((temp.path() / "vantel.dat").string())
    {
        UnitConnection unit;
        unit.name = "Far";
        list.Add(-1, unit);
    }
    PanelContext context()
    {
        PanelContext c(list, app, list.at(0).id);
        c.logFolder = temp.folder();
        return c;
    }

    test::TempFolder temp;
    UnitList list;
    AppState app;
    test::FakePanelView view;
};

TEST(PanelThreads, TheCloseCancelsAWaitForTheUnitInTheTickAndInTheStartUpWork)
{
    WaitingPanelFixture f;
    auto panel = MakePanel<WaitingPanel>(f.view, f.context());
    panel->start();
    panel->startWaiting();
    while (panel->waiting.load() < 2) // the start-up work and the first tick
        std::this_thread::yield();

    // Runs on this thread as on the GUI thread: it must not wait for the unit.
    panel->onCloseCommand();
    EXPECT_EQ(f.view.windowCloses.load(), 1);
    EXPECT_EQ(panel->waitsEnded.load(), 2);
    EXPECT_EQ(panel->countingLink.stops.load(), 1);
    EXPECT_TRUE(panel->countingLink.releasedAfterStop.load());
}

TEST(PanelThreads, TheMainWindowsCloseRequestCancelsAWaitingTick)
{
    WaitingPanelFixture f;
    auto panel = MakePanel<WaitingPanel>(f.view, f.context());
    panel->start();
    while (panel->waiting.load() < 1)
        std::this_thread::yield();
    panel->requestClose();
    while (f.view.closesPosted.load() == 0) // the next tick turns the request into a posted close
        std::this_thread::yield();
    panel->onCloseCommand();
    EXPECT_EQ(f.view.windowCloses.load(), 1);
    EXPECT_EQ(panel->waitsEnded.load(), 1);
}

} // namespace
} // namespace vantel
