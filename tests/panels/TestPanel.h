#pragma once

#include "panels/framework/PanelBase.h"
#include "panels/gateway/ReplyWatchdog.h"
#include "support/CountingLink.h"

#include <atomic>
#include <optional>
#include <string>

namespace vantel::test {

// Controls of the small panel the framework tests drive.
namespace TestId {
inline constexpr int OutputName = 1005;
inline constexpr int InputName = 1048;
inline constexpr int OutputButton = 1010;
inline constexpr int OutputAuto = 1020;
inline constexpr int OutputPeriod = 1030;
inline constexpr int OutputLabel = 1040;
inline constexpr int ReadButton = 1070;
inline constexpr int InputAuto = 1060;
inline constexpr int InputPeriod = 1080;
} // namespace TestId

// One output toggled and one input polled automatically, the way real panels
// use the framework; results arrive through deliver() as from a worker.
class TestPanel : public PanelBase {
public:
    using PanelBase::CallbackScope;

    TestPanel(PanelView& view, PanelContext context, PeriodRule inputRule = {})
        : PanelBase(view, std::move(context)), inputRule_(inputRule)
    {
    }

    void start()
    {
        markUnitOpen();
        addNameBox(TestId::OutputName, SignalSide::Output, 0);
        addNameBox(TestId::InputName, SignalSide::Input, 0);
        outputAuto = addAutoFunction(
            {TestId::OutputAuto, TestId::OutputPeriod, {TestId::OutputButton, TestId::OutputLabel}, {}});
        inputAuto = addAutoFunction({TestId::InputAuto, TestId::InputPeriod, {TestId::ReadButton}, inputRule_});
        showTitle(false);
        showStatus("Test ( 127.0.0.1 : 10003 ) ID 0");
        restoreWindowPosition();
        openLog({{signalName(SignalSide::Output, 0), false}, {signalName(SignalSide::Input, 0), false}});
        startTicking();
    }

    // A worker result: -1 is a failed exchange.
    void deliver(int value) { onResult(value); }

    bool autoOn(int index) { return autoFunction(index).isOn(); }
    void failStartUp(std::string_view why)
    {
        markUnitOpen();
        abandonStartUp(why);
    }

    AfterFailure afterFailure = AfterFailure::Close;
    // Set by a test: the unit's replies are watched, as the gateway panels do.
    std::optional<ReplyWatchdog> watchdog;
    int outputAuto = -1;
    int inputAuto = -1;
    std::atomic<int> worked{0};
    std::atomic<int> outputActs{0};
    std::atomic<int> inputActs{0};
    std::atomic<int> results{0};
    // What the close did with the panel's link.
    CountingLink countingLink;

protected:
    void periodicWork() override
    {
        ++worked;
        showTitle(loggingEnabled() && autoFunction(inputAuto).isOn());
        if (autoFunction(outputAuto).advance())
            ++outputActs;
        if (autoFunction(inputAuto).advance()) {
            ++inputActs;
            logValues({{"1", std::nullopt}, {"0", std::nullopt}});
        }
    }
    PanelLink& link() override { return countingLink; }
    void checkReplies() override
    {
        if (watchdog && watchdog->overdue())
            reportFailure("timed out", afterFailure);
    }

private:
    PeriodRule inputRule_;
    const std::function<void(int)> onResult = guarded<int>([this](int value) {
        if (value == -1) {
            switchOffAllAutos();
            reportCommunicationFailure(afterFailure);
            return;
        }
        ++results;
    });
};

} // namespace vantel::test
