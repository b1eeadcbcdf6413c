#include "panels/framework/HeadlessPanelControls.h"
#include "TestPanel.h"
#include "panels/framework/PanelTexts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <thread>

namespace vantel {
namespace {

using test::TestId::InputAuto;
using test::TestId::InputPeriod;
using test::TestId::ReadButton;

class HeadlessPanelControlsTest : public ::testing::Test {
protected:
    HeadlessPanelControlsTest() : list((temp.path() / "vantel.dat").string())
    {
        UnitConnection unit;
        unit.name = "Tank";
        unit.host = "127.0.0.1";
        list.Add(-1, unit);
    }

    test::TestPanel& open(HeadlessPanelControls& view)
    {
        PanelContext context(list, app, list.at(0).id);
        context.logFolder = temp.folder();
        context.tickMode = Ticker::Mode::Manual;
        panel = MakePanel<test::TestPanel>(view, context);
        panel->start();
        return *panel;
    }

    void checkInputAuto(HeadlessPanelControls& view, std::string_view period)
    {
        view.setText(InputPeriod, period);
        view.setChecked(InputAuto, true);
        panel->onAutoClicked(InputAuto);
    }

    test::TempFolder temp;
    UnitList list;
    AppState app;
    std::ostringstream printed;
    PanelPtr<test::TestPanel> panel;
};

TEST_F(HeadlessPanelControlsTest, ADriverTicksBoxesLikeAUserAndMessagesBecomeLines)
{
    HeadlessPanelControls view(printed);
    open(view);
    EXPECT_EQ(view.caption(), "Tank");
    EXPECT_EQ(view.text(InputPeriod), kPeriodBoxStart);

    checkInputAuto(view, "0");
    EXPECT_EQ(printed.str(), std::string(kInvalidPeriod) + "\n");
    EXPECT_FALSE(view.isChecked(InputAuto));

    checkInputAuto(view, "2");
    EXPECT_TRUE(panel->autoOn(panel->inputAuto));
    EXPECT_FALSE(view.enabled(ReadButton));
    for (int i = 0; i < 4; ++i)
        panel->tick();
    EXPECT_EQ(panel->inputActs.load(), 2);
    EXPECT_EQ(view.messages().size(), 1u);
}

TEST_F(HeadlessPanelControlsTest, AFailedExchangeIsPrintedDismissedAndClosesThePanel)
{
    HeadlessPanelControls view(printed);
    open(view);
    checkInputAuto(view, "1");
    std::thread worker([this] { panel->deliver(-1); });
    worker.join();
    EXPECT_EQ(printed.str(), std::string(kCommunicationError) + "\n");
    EXPECT_FALSE(panel->autoOn(panel->inputAuto));

    // The driver's turns as GUI thread, each followed by a tick.
    int ticks = 0;
    while (view.pump(*panel) && ticks < 100) {
        panel->tick();
        ++ticks;
    }
    EXPECT_LT(ticks, 5) << "closed at the first tick after the box went";
    EXPECT_TRUE(view.windowClosed());
    EXPECT_TRUE(panel->finished());
    EXPECT_EQ(app.openPanelCount.load(), 0);
    EXPECT_EQ(printed.str(), std::string(kCommunicationError) + "\n") << "shown once";
}

TEST_F(HeadlessPanelControlsTest, StoppingClosesThePanelAndKeepsTheStoredPosition)
{
    list.at(0).windowLeft = 2500;
    list.at(0).windowTop = -1;
    HeadlessPanelControls view(printed, list.at(0).windowLeft, list.at(0).windowTop);
    open(view);
    for (int ticks = 0; ticks < 3 && view.pump(*panel); ++ticks)
        panel->tick();
    EXPECT_FALSE(view.windowClosed()) << "still open when the driver stops it";
    view.closeAndWait(*panel);
    EXPECT_TRUE(view.windowClosed());
    EXPECT_EQ(panel->countingLink.stops.load(), 1);
    EXPECT_EQ(list.at(0).windowLeft, 2500) << "a window nobody saw must not move the user's";
    EXPECT_EQ(list.at(0).windowTop, -1);
    EXPECT_TRUE(std::filesystem::exists(list.filePath())) << "closing saves the list";
    EXPECT_TRUE(printed.str().empty());

    view.closeAndWait(*panel); // already closed: nothing more happens
    EXPECT_EQ(panel->countingLink.stops.load(), 1);
}

TEST_F(HeadlessPanelControlsTest, QuestionsAreCancelledUnlessAnAnswerIsSet)
{
    HeadlessPanelControls view(printed);
    EXPECT_FALSE(view.ask("続けますか?"));
    view.answer = [](std::string_view) { return true; };
    EXPECT_TRUE(view.ask("続けますか?"));
    EXPECT_EQ(printed.str(), "続けますか? -> Cancel\n続けますか? -> OK\n");
}

} // namespace
} // namespace vantel
