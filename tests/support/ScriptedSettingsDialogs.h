#pragma once

#include "dialogs/SettingsDialogs.h"
#include "ui/MemoryControls.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vantel::test {

// Settings dialogs for panel tests: records what the panel filled each dialog
// with and answers with the scripted results in order (Cancel, nothing, when
// a script runs out). No window opens.
class ScriptedSettingsDialogs final : public SettingsDialogs {
public:
    template <typename In, typename Out> struct Script {
        std::vector<In> asked;
        std::deque<std::optional<Out>> answers;

        std::optional<Out> answer(const In& in)
        {
            asked.push_back(in);
            if (answers.empty())
                return std::nullopt;
            std::optional<Out> next = answers.front();
            answers.pop_front();
            return next;
        }
    };
    struct SweepAsk {
        SweepSettings settings;
        std::string unit;
    };

    Script<int, int> rate;
    Script<int, int> mode;
    std::vector<std::string> modeOutputs; // what each V/I dialog said it was for
    Script<ThermocoupleSetting, ThermocoupleSetting> thermocouple;
    Script<ThresholdSettings, ThresholdSettings> threshold;
    Script<DoAlertInputs, DoAlertResult> alert;
    Script<SweepAsk, SweepSettings> sweep;
    // The formula dialog: the script edits the prepared dialog values; no
    // script is Cancel.
    std::deque<std::function<void(CEditAnalogCalc&)>> analogCalc;

    std::optional<int> editADCsps(int rateIndex) override { return rate.answer(rateIndex); }
    std::optional<int> editRange(int outputMode, std::string_view output) override
    {
        modeOutputs.emplace_back(output);
        return mode.answer(outputMode);
    }
    std::optional<ThermocoupleSetting> editTCSetting(const ThermocoupleSetting& current) override
    {
        return thermocouple.answer(current);
    }
    std::optional<ThresholdSettings> editThreshold(const ThresholdSettings& current) override
    {
        return threshold.answer(current);
    }
    std::optional<DoAlertResult> editDOAlert(const DoAlertInputs& inputs) override { return alert.answer(inputs); }
    std::optional<SweepSettings> editSweep(const SweepSettings& current, std::string_view unit) override
    {
        return sweep.answer({current, std::string(unit)});
    }
    std::optional<GraphRange> editAnalogCalc(const AnalogCalcRow& row, ControlView& messages) override
    {
        if (analogCalc.empty())
            return std::nullopt;
        MemoryControls windowless;
        CEditAnalogCalc dialog(windowless);
        PrepareAnalogCalc(dialog, row);
        analogCalc.front()(dialog);
        analogCalc.pop_front();
        return ApplyAnalogCalcResult(dialog, row, messages);
    }
};

} // namespace vantel::test
