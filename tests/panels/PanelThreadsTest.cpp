#include "TestPanel.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

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
        worker_ = std::thread([this] {
            while (!quit_.load()) {
                deliver(1);
                if (stoppedAt_.load() >= 0)
                    ++deliveredAfterStop;
            }
        });
    }

    std::atomic<int> deliveredAfterStop{0};

protected:
    void stopCommunication() override
    {
        TestPanel::stopCommunication();
        quit_ = true;
        if (worker_.joinable())
            worker_.join();
        stoppedAt_ = results.load();
    }

private:
    std::atomic<bool> quit_{false};
    std::atomic<int> stoppedAt_{-1};
    std::thread worker_; // joined by stopCommunication before the panel goes
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
    EXPECT_EQ(panel->stops.load(), 1);
    EXPECT_EQ(panel->deliveredAfterStop.load(), 0);
    panel.reset();
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

} // namespace
} // namespace vantel
