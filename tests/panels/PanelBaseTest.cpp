#include "TestPanel.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/WindowPlacement.h"
#include "platform/AtomicFile.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vantel {
namespace {

using test::TestId::InputAuto;
using test::TestId::InputName;
using test::TestId::InputPeriod;
using test::TestId::OutputAuto;
using test::TestId::OutputButton;
using test::TestId::OutputLabel;
using test::TestId::OutputName;
using test::TestId::OutputPeriod;
using test::TestId::ReadButton;

class FixedLocalTime : public LocalTimeSource {
public:
    LocalDateTime now() const override { return {2026, 12, 6, 23, 15, 0}; }
};

class PanelBaseTest : public ::testing::Test {
protected:
    PanelBaseTest() : list((temp.path() / "vantel.dat").string(), codec)
    {
        UnitConnection unit;
        unit.name = "Tank";
        unit.host = "127.0.0.1";
        list.Add(-1, unit);
        list.at(0).outputNames[0] = "Pump";
        list.at(0).inputNames[0] = "Level";
    }

    PanelContext context(bool logging = false, int fileSwitchLines = -1)
    {
        PanelContext c(list, app, list.at(0).id);
        c.logFolder = temp.folder();
        c.loggingEnabled = logging;
        c.fileSwitchLines = fileSwitchLines;
        c.localTime = &localTime;
        c.codec = &codec;
        c.tickMode = Ticker::Mode::Manual;
        return c;
    }

    test::TestPanel& open(PeriodRule inputRule = {}, bool logging = false)
    {
        panel = MakePanel<test::TestPanel>(view, context(logging), inputRule);
        panel->start();
        return *panel;
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            panel->tick();
    }

    void checkAuto(int checkBox, int periodBox, std::string period)
    {
        view.controls.setText(periodBox, period);
        view.controls.setChecked(checkBox, true);
        panel->onAutoClicked(checkBox);
    }

    test::TempFolder temp;
    TextCodec codec{"CP932"};
    UnitList list;
    AppState app;
    FixedLocalTime localTime;
    test::FakePanelView view;
    PanelPtr<test::TestPanel> panel;
};

TEST_F(PanelBaseTest, StartUpTakesTheUnitAndCloseGivesItBack)
{
    list.at(0).windowLeft = 30;
    list.at(0).windowTop = -1;
    open();
    const UnitRecord& unit = list.at(0);
    EXPECT_TRUE(unit.panelOpen);
    EXPECT_EQ(unit.panel, panel.get());
    EXPECT_EQ(app.openPanelCount.load(), 1);
    EXPECT_EQ(view.controls.text(OutputName), "Pump");
    EXPECT_EQ(view.maxLength[OutputName], 20);
    EXPECT_EQ(view.controls.text(InputPeriod), "10");
    EXPECT_EQ(view.maxLength[InputPeriod], 6);
    EXPECT_EQ(view.controls.caption, "Tank");
    EXPECT_EQ(view.controls.text(PanelId::Status), "Test ( 127.0.0.1 : 10003 ) ID 0");
    EXPECT_EQ(view.window.left, 30) << "stored left restored";
    EXPECT_EQ(view.window.top, 100) << "no stored top: the window's own";

    view.window = {70, 80, 370, 480};
    panel->onCloseCommand();
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_EQ(panel->countingLink.stops.load(), 1);
    EXPECT_FALSE(unit.panelOpen);
    EXPECT_EQ(unit.panel, nullptr);
    EXPECT_EQ(app.openPanelCount.load(), 0);
    EXPECT_EQ(unit.windowLeft, 70);
    EXPECT_EQ(unit.windowTop, 80);
    EXPECT_TRUE(std::filesystem::exists(list.filePath())) << "the list is saved on close";

    panel->onCloseCommand(); // a late posted close finds nothing to do
    panel.reset();
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

TEST(WindowPlacement, StoredPositionIsIgnoredWhenTheWindowWouldLeaveTheDesktop)
{
    const WindowRect window{10, 20, 310, 420}; // 300 x 400
    const WindowRect desktop{0, 0, 1000, 800};
    EXPECT_FALSE(RestoredWindowOrigin(window, desktop, -1, -1));
    EXPECT_EQ(RestoredWindowOrigin(window, desktop, 700, 400)->left, 700) << "right edge exactly on the desktop's";
    EXPECT_FALSE(RestoredWindowOrigin(window, desktop, 701, 0)) << "past the right edge";
    EXPECT_FALSE(RestoredWindowOrigin(window, desktop, -1, 401)) << "past the bottom edge";
    const auto topOnly = RestoredWindowOrigin(window, desktop, -1, 50);
    ASSERT_TRUE(topOnly);
    EXPECT_EQ(topOnly->left, 10);
    EXPECT_EQ(topOnly->top, 50);
}

TEST_F(PanelBaseTest, CounterRuleActsEveryPeriodStartingAPeriodAfterSwitchOn)
{
    open();
    checkAuto(OutputAuto, OutputPeriod, "1");
    checkAuto(InputAuto, InputPeriod, "10");
    ticks(9);
    EXPECT_EQ(panel->outputActs.load(), 9) << "a period of 1 acts on every tick";
    EXPECT_EQ(panel->inputActs.load(), 0);
    ticks(1);
    EXPECT_EQ(panel->inputActs.load(), 1) << "first action 10 ticks after switching on";
    ticks(10);
    EXPECT_EQ(panel->inputActs.load(), 2);

    // Switching off and on again restarts the count.
    ticks(3);
    view.controls.setChecked(InputAuto, false);
    panel->onAutoClicked(InputAuto);
    checkAuto(InputAuto, InputPeriod, "10");
    ticks(9);
    EXPECT_EQ(panel->inputActs.load(), 2);
    ticks(1);
    EXPECT_EQ(panel->inputActs.load(), 3);
}

TEST_F(PanelBaseTest, PeriodEntryAcceptsOneTo999999AndLocksTheControlsWhileOn)
{
    open();
    for (const char* bad : {"0", "", "1000000", "12a", "-5"}) {
        checkAuto(OutputAuto, OutputPeriod, bad);
        EXPECT_EQ(view.controls.lastMessage(), kInvalidPeriod) << bad;
        EXPECT_FALSE(view.controls.isChecked(OutputAuto)) << bad;
        EXPECT_FALSE(panel->autoOn(panel->outputAuto)) << bad;
        EXPECT_TRUE(view.controls.enabled(OutputButton)) << bad;
    }
    const std::size_t messages = view.controls.messages.size();
    checkAuto(OutputAuto, OutputPeriod, "999999");
    EXPECT_EQ(view.controls.messages.size(), messages);
    EXPECT_TRUE(panel->autoOn(panel->outputAuto));
    EXPECT_FALSE(view.controls.enabled(OutputButton));
    EXPECT_FALSE(view.controls.enabled(OutputPeriod));
    EXPECT_FALSE(view.controls.enabled(OutputLabel));
    EXPECT_TRUE(view.controls.enabled(ReadButton)) << "other functions keep their controls";

    view.controls.setChecked(OutputAuto, false);
    panel->onAutoClicked(OutputAuto);
    EXPECT_FALSE(panel->autoOn(panel->outputAuto));
    EXPECT_TRUE(view.controls.enabled(OutputButton));
    EXPECT_TRUE(view.controls.enabled(OutputPeriod));
    EXPECT_TRUE(view.controls.enabled(OutputLabel));
}

TEST_F(PanelBaseTest, PeriodInSecondsWithConfirmationAndTheTickStandsStillWhileAsking)
{
    PeriodRule seconds;
    seconds.maximum = 9999;
    seconds.ticksPerUnit = 10;
    seconds.confirmBelow = 10;
    seconds.confirmQuestion = "short?";
    open(seconds);
    int workedWhileAsking = -1;
    view.controls.answer = [&](std::string_view) {
        const int before = panel->worked.load();
        panel->tick();
        workedWhileAsking = panel->worked.load() - before;
        return false;
    };
    checkAuto(InputAuto, InputPeriod, "5");
    EXPECT_EQ(workedWhileAsking, 0);
    EXPECT_FALSE(panel->autoOn(panel->inputAuto)) << "refused confirmation";
    EXPECT_FALSE(view.controls.isChecked(InputAuto));

    view.controls.answer = [](std::string_view) { return true; };
    checkAuto(InputAuto, InputPeriod, "5");
    ASSERT_TRUE(panel->autoOn(panel->inputAuto));
    ticks(49);
    EXPECT_EQ(panel->inputActs.load(), 0);
    ticks(1);
    EXPECT_EQ(panel->inputActs.load(), 1) << "5 s are 50 ticks";
}

TEST_F(PanelBaseTest, NameBoxDropsQuotesFirstAndStoresAtTheNextFocusLoss)
{
    open();
    view.controls.setText(OutputName, "\"Main\" pump");
    panel->onNameBoxLeft(OutputName);
    EXPECT_EQ(view.controls.text(OutputName), "Main pump");
    EXPECT_EQ(list.at(0).outputNames[0], "Pump") << "not stored yet";
    panel->onNameBoxLeft(OutputName);
    EXPECT_EQ(list.at(0).outputNames[0], "Main pump");

    view.controls.setText(InputName, "水位センサー水位センサー"); // 24 bytes in CP932
    panel->onNameBoxLeft(InputName);
    EXPECT_EQ(list.at(0).inputNames[0], "水位センサー水位セン") << "cut to 20 bytes";
}

TEST_F(PanelBaseTest, FailureShowsOneMessageAndClosesAtTheFirstTickAfterIt)
{
    open();
    checkAuto(OutputAuto, OutputPeriod, "3");
    checkAuto(InputAuto, InputPeriod, "4");
    panel->deliver(-1);
    panel->deliver(-1);
    panel->deliver(7);
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{kCommunicationError});
    EXPECT_EQ(panel->results.load(), 0) << "results after the failure are dropped";
    EXPECT_FALSE(panel->autoOn(panel->outputAuto));
    EXPECT_FALSE(panel->autoOn(panel->inputAuto));
    EXPECT_FALSE(view.controls.isChecked(InputAuto));
    EXPECT_TRUE(view.controls.enabled(OutputButton));

    const int worked = panel->worked.load();
    ticks(5);
    EXPECT_EQ(view.closesPosted.load(), 0) << "nothing happens while the message is up";
    EXPECT_EQ(panel->worked.load(), worked);

    view.dismissOldest();
    ticks(3);
    EXPECT_EQ(view.closesPosted.load(), 1) << "one posted close";
    panel->onCloseCommand();
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

TEST_F(PanelBaseTest, PanelThatStaysOpenShowsTheMessageAgainForALaterFailure)
{
    open();
    panel->afterFailure = AfterFailure::KeepOpen;
    checkAuto(InputAuto, InputPeriod, "2");
    panel->deliver(-1);
    panel->deliver(-1);
    EXPECT_EQ(view.postedTexts().size(), 1u) << "no second box over the first";
    view.dismissOldest();
    panel->deliver(3);
    EXPECT_EQ(panel->results.load(), 1);
    const int worked = panel->worked.load();
    ticks(2);
    EXPECT_EQ(panel->worked.load(), worked + 2);
    EXPECT_EQ(view.closesPosted.load(), 0);
    EXPECT_EQ(panel->inputActs.load(), 0) << "its auto functions were switched off";
    panel->deliver(-1);
    EXPECT_EQ(view.postedTexts().size(), 1u);
}

TEST_F(PanelBaseTest, ReplyWatchdogComesFirstInTheTickAndStopsPollingWithThePanelOpen)
{
    ManualClock clock(5000);
    open();
    panel->watchdog.emplace(clock, 10);
    panel->afterFailure = AfterFailure::StopPolling;
    panel->watchdog->sent();
    clock.advance(10'000);
    ticks(1);
    EXPECT_TRUE(view.postedTexts().empty()) << "exactly the time-out is not late yet";
    EXPECT_TRUE(panel->ticking());
    clock.advance(1);
    ticks(1);
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{"timed out"});
    EXPECT_FALSE(panel->ticking()) << "polling stops";
    EXPECT_FALSE(panel->closing()) << "the panel stays open";
    EXPECT_EQ(view.closesPosted.load(), 0);
}

TEST_F(PanelBaseTest, ReplyWatchdogIsCheckedWhileAMessageBoxIsUp)
{
    ManualClock clock;
    open();
    panel->watchdog.emplace(clock, 1);
    panel->afterFailure = AfterFailure::KeepOpen;
    panel->deliver(-1);
    ASSERT_EQ(view.postedTexts().size(), 1u);
    const int worked = panel->worked.load();
    panel->afterFailure = AfterFailure::StopPolling;
    panel->watchdog->sent();
    clock.advance(1001);
    ticks(1);
    EXPECT_FALSE(panel->ticking()) << "the watchdog ran although the tick's work stood still";
    EXPECT_EQ(panel->worked.load(), worked);
    EXPECT_EQ(view.postedTexts().size(), 1u) << "no second box over the first";
}

TEST(ReplyWatchdog, OverdueOnceAfterTheTimeOutUnlessTheUnitAnswered)
{
    ManualClock clock(100);
    ReplyWatchdog watchdog(clock, 2);
    EXPECT_FALSE(watchdog.overdue()) << "nothing sent";
    watchdog.sent();
    clock.advance(5000);
    watchdog.answered();
    EXPECT_FALSE(watchdog.overdue());
    watchdog.sent();
    clock.advance(2001);
    EXPECT_TRUE(watchdog.outstanding());
    EXPECT_TRUE(watchdog.overdue());
    EXPECT_FALSE(watchdog.overdue()) << "given up until the next command";
    EXPECT_FALSE(watchdog.outstanding());
}

TEST(ReplyWatchdog, CommandsSentMoreOftenThanTheTimeOutDoNotHideASilentUnit)
{
    ManualClock clock(100);
    ReplyWatchdog watchdog(clock, 2);
    for (int second = 0; second < 2; ++second) {
        watchdog.sent(); // a poll every second, never answered
        clock.advance(1000);
        EXPECT_FALSE(watchdog.overdue());
    }
    clock.advance(1);
    EXPECT_TRUE(watchdog.overdue()) << "counted from the oldest unanswered command";
    watchdog.sent();
    clock.advance(1500);
    watchdog.answered();
    watchdog.sent();
    clock.advance(1500);
    EXPECT_FALSE(watchdog.overdue()) << "a frame starts the count again";
}

TEST_F(PanelBaseTest, CloseWaitsForARunningCallbackThroughAPostedClose)
{
    open();
    {
        test::TestPanel::CallbackScope running(*panel);
        ASSERT_TRUE(running);
        panel->onCloseCommand();
        EXPECT_EQ(view.closesPosted.load(), 1);
        EXPECT_EQ(view.windowCloses.load(), 0);
        EXPECT_EQ(panel->countingLink.stops.load(), 0) << "the worker is left alone while its callback runs";
        panel->deliver(1);
        EXPECT_EQ(panel->results.load(), 0) << "a callback starting now drops its result";
    }
    panel->onCloseCommand(); // the posted close arrives
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_EQ(panel->countingLink.stops.load(), 1);
}

TEST_F(PanelBaseTest, MainWindowCloseRequestClosesAtTheNextTickAndStopsTicking)
{
    open();
    checkAuto(OutputAuto, OutputPeriod, "1");
    panel->requestClose();
    panel->deliver(2);
    EXPECT_EQ(panel->results.load(), 0);
    const int acts = panel->outputActs.load();
    ticks(3);
    EXPECT_EQ(view.closesPosted.load(), 1);
    EXPECT_EQ(panel->outputActs.load(), acts);
}

TEST_F(PanelBaseTest, PhaseOnlyMovesForwardSoALateFailureCannotUndoARequestedClose)
{
    panel = MakePanel<test::TestPanel>(view, context(), PeriodRule{});
    EXPECT_EQ(panel->phase(), PanelPhase::Opening);
    panel->start();
    EXPECT_EQ(panel->phase(), PanelPhase::Running);
    panel->requestClose();
    EXPECT_EQ(panel->phase(), PanelPhase::CloseRequested);
    panel->deliver(-1); // a failure that closes arrives after the request
    EXPECT_EQ(panel->phase(), PanelPhase::CloseRequested);
    ticks(2);
    EXPECT_EQ(panel->phase(), PanelPhase::ClosePosted);
    EXPECT_EQ(view.closesPosted.load(), 1) << "the request is carried out once";
    panel->onCloseCommand();
    EXPECT_EQ(panel->phase(), PanelPhase::Closed);
    panel->requestClose();
    EXPECT_TRUE(panel->finished()) << "a late request finds the panel closed";
}

TEST_F(PanelBaseTest, LoggingFollowsTheMainWindowBoxAndUsesTheInstalledDateFormat)
{
    open({}, true);
    checkAuto(InputAuto, InputPeriod, "1");
    ticks(1);
    EXPECT_EQ(view.controls.caption, std::string("Tank") + kLoggingMark);
    panel->setLoggingEnabled(false);
    ticks(2);
    EXPECT_EQ(view.controls.caption, "Tank");
    panel->setLoggingEnabled(true);
    ticks(1);

    const auto text = ReadWholeFile(temp.folder() + "Tank.csv");
    ASSERT_TRUE(text);
    EXPECT_EQ(codec.decode(*text), "日付,時刻,Pump,Level\r\n2026/12/06,23:15:00,1,0\r\n2026/12/06,23:15:00,1,0\r\n");
}

TEST_F(PanelBaseTest, ConnectRequestGivesFolderSwitchingAndLoggingAndTheNameTheMomentOfCreation)
{
    ConnectRequest request;
    request.logFolder = temp.folder();
    request.fileSwitchLines = 1000;
    request.loggingEnabled = true;
    PanelContext fromRequest = ContextFor(list, app, list.at(0), request);
    fromRequest.localTime = &localTime;
    fromRequest.tickMode = Ticker::Mode::Manual;
    panel = MakePanel<test::TestPanel>(view, fromRequest);
    panel->start();
    EXPECT_TRUE(panel->loggingEnabled());
    EXPECT_EQ(panel->logger().currentFileName(), temp.folder() + "Tank_20261206_231500_001.csv");
}

TEST_F(PanelBaseTest, FailedStartUpShowsWhyAndReleasesTheUnitWithoutTicking)
{
    panel = MakePanel<test::TestPanel>(view, context());
    panel->failStartUp("モデルが違います。");
    EXPECT_EQ(view.controls.lastMessage(), "モデルが違います。");
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_EQ(panel->countingLink.stops.load(), 1);
    panel->tick();
    EXPECT_EQ(panel->worked.load(), 0);
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

TEST_F(PanelBaseTest, MessageDismissedAfterThePanelIsGoneDoesNothing)
{
    open();
    panel->deliver(-1);
    panel->onCloseCommand();
    panel.reset();
    view.dismissOldest(); // must not touch the destroyed panel
    EXPECT_TRUE(view.posted.empty());
}

} // namespace
} // namespace vantel
