#pragma once

#include "logging/CsvText.h"
#include "panels/digital/DigitalPanelIds.h"
#include "panels/framework/AutoFunction.h"
#include "panels/framework/PanelBase.h"
#include "registry/ModelCatalogue.h"

#include <atomic>
#include <string>

namespace vantel {

// What the digital panels share, wired or behind the gateway: one window
// layout with a row per output and input, the rows the unit lacks hidden,
// name boxes and automatic functions bound to them, the click dispatch, the
// CSV header and the title with its logging mark.
class DigitalPanelBase : public PanelBase {
public:
    const ModelRow& model() const { return model_; }
    int outputCount() const { return model_.outputCount; }
    int inputCount() const { return model_.inputCount; }

    // GUI thread: the ON/OFF button of output `index` (0-7) and the "入力" button.
    virtual void onOutputButton(int index) = 0;
    virtual void onReadInputs() = 0;
    // GUI thread: dispatches a button click by control id (ON/OFF, "入力",
    // 自動 boxes); false for an id the panel does not handle.
    bool onControlClicked(int controlId);

    bool outputAutoOn(int index) { return autoFunction(outputAuto(index)).isOn(); }
    // Whether output `index` is on, as far as the panel knows.
    virtual bool outputShownOn(int index) const = 0;
    // GUI thread: what a user does to switch output `index` on or off:
    // presses its ON/OFF button unless it shows that state already. Refused
    // (with the reason; empty when done) where the user could not: the
    // output is being switched by its automatic function.
    std::string switchOutput(int index, bool on);
    bool inputAutoOn() { return autoFunction(inputAuto()).isOn(); }

    std::vector<ColumnHeading> logHeadings();

protected:
    DigitalPanelBase(PanelView& view, PanelContext context);

    static int outputAuto(int index) { return index; }
    static int inputAuto() { return kChannelsPerSide; }
    // The unit's record while the panel is being made (an empty one if gone).
    static const UnitRecord& RecordOf(const PanelContext& context);

    // Start-up: hides the rows the unit lacks, binds the name boxes and the
    // automatic functions with their period rule, shows the bare title.
    void prepareRows(const PeriodRule& periodRule);
    // Tick: the title with " (ロギング中)" while logging polls the inputs.
    void refreshTitle();

private:
    const ModelRow& model_;
    std::atomic<int> titleShown_{-1}; // last title state sent, -1: none yet
};

} // namespace vantel
