#include "dialogs/CEditTCSetting.h"

#include "dialogs/DialogTexts.h"

#include <iterator>

namespace vantel {

using namespace TCSettingId;

namespace {

constexpr int kShownBits =
    TCSettingBit::ColdJunction | TCSettingBit::OpenCircuitDetection | TCSettingBit::OpenCircuitHigh;

} // namespace

void CEditTCSetting::onInitDialog()
{
    view_.setCaption(kTCSettingCaption);
    view_.setItems(Type, {std::begin(kTCTypeItems), std::end(kTCTypeItems)});
    view_.setItems(OpenCircuitOutput, {std::begin(kOpenCircuitOutputItems), std::end(kOpenCircuitOutputItems)});
    view_.setCurrentIndex(Type, type >= 0 && type < 8 ? type : -1);
    view_.setCurrentIndex(OpenCircuitOutput, openCircuitOutput == 0 || openCircuitOutput == 1 ? openCircuitOutput : -1);
    view_.setChecked(ColdJunction, (setting & TCSettingBit::ColdJunction) != 0);
    view_.setChecked(OpenCircuitDetection, (setting & TCSettingBit::OpenCircuitDetection) != 0);
}

void CEditTCSetting::onOK()
{
    flags = (view_.isChecked(OpenCircuitDetection) ? TCSettingBit::OpenCircuitDetection : 0) +
            (view_.isChecked(ColdJunction) ? TCSettingBit::ColdJunction : 0);
    type = view_.currentIndex(Type);
    openCircuitOutput = view_.currentIndex(OpenCircuitOutput);
}

void PrepareTCSetting(CEditTCSetting& dialog, const ThermocoupleSetting& current)
{
    dialog.type = current.type;
    dialog.setting = current.setting;
    dialog.openCircuitOutput = (current.setting & TCSettingBit::OpenCircuitHigh) != 0 ? 1 : 0;
}

ThermocoupleSetting TCSettingAfterOK(const CEditTCSetting& dialog, const ThermocoupleSetting& current)
{
    const int openCircuit = dialog.openCircuitOutput < 0 ? (current.setting & TCSettingBit::OpenCircuitHigh) >> 2
                                                         : dialog.openCircuitOutput;
    return {dialog.type < 0 ? current.type : dialog.type,
            (current.setting & ~kShownBits) | ((openCircuit & 1) * 4) | dialog.flags};
}

} // namespace vantel
