#pragma once

#include <string>
#include <string_view>

// What the settings dialogs say to the user.
namespace vantel {

inline constexpr const char* kAnalogCalcCaption = "換算式と単位の設定";
inline constexpr const char* kDoAlertCaption = "DOアラート設定";
inline constexpr const char* kTCSettingCaption = "熱電対測定設定";
inline constexpr const char* kThresholdDialogCaption = "LED点灯閾値設定(生値)";
inline constexpr const char* kSweepCaption = "スイープ設定";
inline constexpr const char* kAdcSpsCaption = "ADC sps";
// The output mode choice; the analog output page's button says the same.
inline constexpr const char* kOutputModeCaption = "V/I";

inline constexpr const char* kNotANumberMessage = "数字以外は入力できません";
inline constexpr const char* kSweepOrderMessage = "最小値＜最大値である必要があります。";
inline constexpr const char* kInvalidGraphRangeMessage = "グラフ表示範囲が不正なため、デフォルト値に設定します";

// The conversion dialog: "<left> multiplier ＋ offset <right>", for an
// input and for an output. The window starts with placeholders.
inline constexpr const char* kInputLeftLabel = "測定値 ×";
inline constexpr const char* kInputRightLabel = "＝ 表示値";
inline constexpr const char* kInputUnitLabel = "表示値の単位:";
inline constexpr const char* kOutputLeftLabel = "出力設定値 ×";
inline constexpr const char* kOutputRightLabel = "＝ 換算出力値";
inline constexpr const char* kOutputUnitLabel = "換算出力値の単位:";
inline constexpr const char* kLeftLabelPlaceholder = "aaaa ×";
inline constexpr const char* kRightLabelPlaceholder = "＝ bbbb";
inline constexpr const char* kPlusCaption = "＋";
inline constexpr const char* kUnitCaption = "単位";
inline constexpr const char* kGraphRangeCaption = "グラフ表示範囲";
// Between the graph range's minimum and maximum.
inline constexpr const char* kRangeDashCaption = "－";

// The threshold dialog.
inline constexpr const char* kLowThresholdCaption = "ロー";
inline constexpr const char* kHighThresholdCaption = "ハイ";
inline constexpr const char* kLitOutsideCaption = "範囲外にあるときにLED点灯";

// The thermocouple dialog.
inline constexpr const char* kEnabledCaption = "有効";
inline constexpr const char* kTCTypeCaption = "熱電対タイプ";
inline constexpr const char* kColdJunctionCaption = "冷接点補償";
inline constexpr const char* kOpenCircuitDetectionCaption = "断線検知";
inline constexpr const char* kOpenCircuitOutputCaption = "断線時出力";
// In the unit's type code order.
inline constexpr const char* kTCTypeItems[] = {"K熱電対", "J熱電対", "T熱電対", "E熱電対",
                                               "N熱電対", "R熱電対", "S熱電対", "B熱電対"};
// Index 0 is the lowest value, 1 the highest, as the unit's bit says.
inline constexpr const char* kOpenCircuitOutputItems[] = {"最低値", "最高値"};

// The sweep dialog.
inline constexpr const char* kSweepLowCaption = "スイープのロー値V1:";
inline constexpr const char* kSweepHighCaption = "スイープのハイ値V2:";
inline constexpr const char* kSweepRiseCaption = "変化時間T1:";
inline constexpr const char* kSweepFallCaption = "変化時間T2:";
inline constexpr const char* kSweepTimeUnit = "x 100ms";

// The DO alert dialog and its diagram.
inline constexpr const char* kMonitoredAICaption = "監視対象AI";
inline constexpr const char* kLedConditionCaption = "LED点灯条件";
inline constexpr const char* kAnalogThresholdCaption = "アナログ閾値";
// "アナログ閾値 ( <range> )": the caption once the monitored input's range is known.
inline std::string AnalogThresholdCaption(std::string_view range)
{
    return std::string(kAnalogThresholdCaption) + " ( " + std::string(range) + " )";
}
inline constexpr const char* kHighCaption = "High";
inline constexpr const char* kLowCaption = "Low";
inline constexpr const char* kHysteresisCaption = "ヒステリシス";
inline constexpr const char* kDirectionCaption = "方向";
// In the order of the unit's condition bit: lit inside, lit outside.
inline constexpr const char* kLedConditionItems[] = {"範囲内", "範囲外"};
// In the order of the unit's direction bit.
inline constexpr const char* kDirectionItems[] = {"消灯閾値優先", "点灯閾値優先"};
inline constexpr const char* kRisingCaption = "上昇";
inline constexpr const char* kFallingCaption = "下降";
inline constexpr const char* kLitText = "点灯";
inline constexpr const char* kUnlitText = "消灯";
inline constexpr const char* kWidthText = "幅";
inline constexpr const char* kAlwaysLitText = "常時点灯";
inline constexpr const char* kAlwaysUnlitText = "常時消灯";
// The single level of the diagrams with one threshold.
inline constexpr const char* kThresholdTag = "閾値";

} // namespace vantel
