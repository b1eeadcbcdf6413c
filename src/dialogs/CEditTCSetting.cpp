#include "dialogs/CEditTCSetting.h"

namespace vantel {

using namespace TCSettingId;

namespace {

constexpr int kShownBits =
    TCSettingBit::ColdJunction | TCSettingBit::OpenCircuitDetection | TCSettingBit::OpenCircuitHigh;

} // namespace

void CEditTCSetting::onInitDialog()
{
    view_.setCaption(kCaption);
    view_.setItems(Type, {"K熱電対", "J熱電対", "T熱電対", "E熱電対", "N熱電対", "R熱電対", "S熱電対", "B熱電対"});
    view_.setItems(OpenCircuitOutput, {"最低値", "最高値"});
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
