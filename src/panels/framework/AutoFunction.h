#pragma once

#include "panels/framework/PanelTexts.h"

#include <atomic>
#include <optional>
#include <string_view>
#include <vector>

namespace vantel {

// How a period box is read and checked when its 自動 box is ticked.
struct PeriodRule {
    int minimum = 1;
    int maximum = 999999;
    int ticksPerUnit = 1; // 1: the box counts 100 ms ticks; 10: seconds
    int maxCharacters = 6;
    std::string_view invalidMessage = kInvalidPeriod;
    // Periods (in box units) below this must be confirmed with
    // `confirmQuestion` first; 0 asks nothing.
    int confirmBelow = 0;
    std::string_view confirmQuestion;
};

// The period in box units, or nullopt when the text is not an unsigned
// decimal number within the rule's range (empty, 0, too large, not a number).
std::optional<int> ParsePeriod(std::string_view text, const PeriodRule& rule);

// The controls of one automatic function: its 自動 check box, its period box
// and what is locked while it runs (the manual button, the period label).
struct AutoControls {
    int checkBox = 0;
    int periodBox = 0;
    std::vector<int> lockedWhileOn;
    PeriodRule rule;
};

// One periodic function of a panel: input polling, output toggling. Switched
// on the GUI thread, advanced by the tick, switched off by any thread.
class AutoFunction {
public:
    void switchOn(int periodTicks);
    void switchOff() { on_ = false; }
    bool isOn() const { return on_.load(); }
    int periodTicks() const { return period_.load(); }

    // Once per tick: counts the tick and is true when the function acts.
    // Acting restarts the count, so a period of N acts on every Nth tick,
    // the first time N ticks after switching on.
    bool advance();

private:
    std::atomic<bool> on_{false};
    std::atomic<int> period_{1};
    std::atomic<int> counter_{0};
};

} // namespace vantel
