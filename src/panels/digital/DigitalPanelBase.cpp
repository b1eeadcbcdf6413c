#include "panels/digital/DigitalPanelBase.h"

namespace vantel {

namespace {

template <std::size_t N> int IndexOf(const std::array<int, N>& ids, int id)
{
    for (std::size_t i = 0; i < N; ++i)
        if (ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

} // namespace

DigitalPanelBase::DigitalPanelBase(PanelView& view, PanelContext context)
    : PanelBase(view, context), model_(ModelAt(RecordOf(context).modelRow))
{
}

const UnitRecord& DigitalPanelBase::RecordOf(const PanelContext& context)
{
    static const UnitRecord kNone;
    const UnitRecord* record = context.list.find(context.unit);
    return record ? *record : kNone;
}

void DigitalPanelBase::prepareRows(const PeriodRule& periodRule)
{
    titleShown_ = 0;
    showTitle(false);
    for (int i = outputCount(); i < kChannelsPerSide; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        for (const int id :
             {DigitalId::OutputName[slot], DigitalId::OutputIndicator[slot], DigitalId::OutputButton[slot],
              DigitalId::OutputAuto[slot], DigitalId::OutputPeriod[slot], DigitalId::OutputPeriodLabel[slot]})
            view().setVisible(id, false);
    }
    if (outputCount() == 0)
        view().setVisible(DigitalId::OutputGroup, false);
    for (int i = inputCount(); i < kChannelsPerSide; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        view().setVisible(DigitalId::InputName[slot], false);
        view().setVisible(DigitalId::InputIndicator[slot], false);
    }
    if (inputCount() == 0) {
        for (const int id : {DigitalId::InputGroup, DigitalId::ReadInputs, DigitalId::InputAuto, DigitalId::InputPeriod,
                             DigitalId::InputPeriodLabel})
            view().setVisible(id, false);
    }

    for (int i = 0; i < kChannelsPerSide; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        addNameBox(DigitalId::OutputName[slot], SignalSide::Output, i);
        addNameBox(DigitalId::InputName[slot], SignalSide::Input, i);
    }
    for (std::size_t i = 0; i < kChannelsPerSide; ++i)
        addAutoFunction({DigitalId::OutputAuto[i],
                         DigitalId::OutputPeriod[i],
                         {DigitalId::OutputButton[i], DigitalId::OutputPeriodLabel[i]},
                         periodRule});
    addAutoFunction({DigitalId::InputAuto,
                     DigitalId::InputPeriod,
                     {DigitalId::ReadInputs, DigitalId::InputPeriodLabel},
                     periodRule});
}

void DigitalPanelBase::refreshTitle()
{
    const bool loggingMark = loggingEnabled() && inputAutoOn();
    if (titleShown_.exchange(loggingMark ? 1 : 0) != (loggingMark ? 1 : 0))
        showTitle(loggingMark);
}

bool DigitalPanelBase::onControlClicked(int controlId)
{
    if (const int output = IndexOf(DigitalId::OutputButton, controlId); output >= 0) {
        onOutputButton(output);
        return true;
    }
    if (controlId == DigitalId::ReadInputs) {
        onReadInputs();
        return true;
    }
    if (controlId == DigitalId::InputAuto || IndexOf(DigitalId::OutputAuto, controlId) >= 0) {
        onAutoClicked(controlId);
        return true;
    }
    return false;
}

std::string DigitalPanelBase::switchOutput(int index, bool on)
{
    if (index < 0 || index >= outputCount())
        return "unknown channel";
    if (outputAutoOn(index))
        return "the output is switched automatically";
    if (outputShownOn(index) != on)
        onOutputButton(index);
    return {};
}

std::vector<ColumnHeading> DigitalPanelBase::logHeadings()
{
    std::vector<ColumnHeading> headings;
    for (int i = 0; i < outputCount(); ++i)
        headings.push_back({view().text(DigitalId::OutputName[static_cast<std::size_t>(i)]), false});
    for (int i = 0; i < inputCount(); ++i)
        headings.push_back({view().text(DigitalId::InputName[static_cast<std::size_t>(i)]), false});
    return headings;
}

} // namespace vantel
