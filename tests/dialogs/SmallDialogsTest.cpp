#include "dialogs/CDlgQZK19Sweep.h"
#include "dialogs/CEditTCSetting.h"
#include "dialogs/CEditThreshold.h"
#include "dialogs/ListDialogs.h"
#include "support/FakeControlView.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vantel;

TEST(CEditADCsps, ShowsTheRateAndReadsTheChoiceBack)
{
    test::FakeControlView view;
    CEditADCsps rate(view);
    rate.index = 4;
    rate.onInitDialog();
    EXPECT_EQ(view.caption, "ADC sps");
    const auto& items = view.items(ADCspsId::Rate);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[view.currentIndex(ADCspsId::Rate)], "400sps");
    EXPECT_EQ(items[1], "16.6sps");
    EXPECT_EQ(items[7], "14400sps");
    view.setCurrentIndex(ADCspsId::Rate, 7);
    rate.onOK();
    EXPECT_EQ(rate.index, 7);
}

TEST(CEditRange, AnIndexOutsideTheListShowsNothingAndGivesMinusOne)
{
    for (const int given : {-1, 2, 99}) {
        test::FakeControlView view;
        CEditRange mode(view);
        mode.index = given;
        mode.onInitDialog();
        EXPECT_EQ(view.items(RangeId::Mode), (std::vector<std::string>{"±10V", "0-20mA"}));
        EXPECT_EQ(view.currentIndex(RangeId::Mode), -1) << given;
        mode.onOK();
        EXPECT_EQ(mode.index, -1);
    }
    test::FakeControlView view;
    CEditRange mode(view);
    mode.index = 1;
    mode.onInitDialog();
    EXPECT_EQ(view.caption, "V/I");
    EXPECT_EQ(view.currentIndex(RangeId::Mode), 1);
}

namespace {

struct Thermocouple {
    explicit Thermocouple(ThermocoupleSetting setting) : current(setting)
    {
        PrepareTCSetting(dialog, current);
        dialog.onInitDialog();
    }
    ThermocoupleSetting ok()
    {
        dialog.onOK();
        return TCSettingAfterOK(dialog, current);
    }
    ThermocoupleSetting current;
    test::FakeControlView view;
    CEditTCSetting dialog{view};
};

} // namespace

TEST(CEditTCSetting, SettingByteFiveShowsCompensationAndHighestAndComesBackUnchanged)
{
    Thermocouple tc({3, 5});
    EXPECT_EQ(tc.view.caption, "熱電対測定設定");
    EXPECT_TRUE(tc.view.isChecked(TCSettingId::ColdJunction));
    EXPECT_FALSE(tc.view.isChecked(TCSettingId::OpenCircuitDetection));
    EXPECT_EQ(tc.view.items(TCSettingId::OpenCircuitOutput)[tc.view.currentIndex(TCSettingId::OpenCircuitOutput)],
              "最高値");
    EXPECT_EQ(tc.view.items(TCSettingId::Type)[tc.view.currentIndex(TCSettingId::Type)], "E熱電対");
    const ThermocoupleSetting sent = tc.ok();
    EXPECT_EQ(sent.type, 3);
    EXPECT_EQ(sent.setting, 5);
}

TEST(CEditTCSetting, ClearingEverythingSendsZeroButKeepsBitsItDoesNotShow)
{
    Thermocouple tc({0, 7});
    tc.view.setChecked(TCSettingId::ColdJunction, false);
    tc.view.setChecked(TCSettingId::OpenCircuitDetection, false);
    tc.view.setCurrentIndex(TCSettingId::OpenCircuitOutput, 0);
    EXPECT_EQ(tc.ok().setting, 0);

    Thermocouple unknown({1, 0xF2});
    unknown.view.setChecked(TCSettingId::ColdJunction, true);
    unknown.view.setCurrentIndex(TCSettingId::Type, 7);
    const ThermocoupleSetting sent = unknown.ok();
    EXPECT_EQ(sent.setting, 0xF3);
    EXPECT_EQ(sent.type, 7);
    EXPECT_EQ(unknown.dialog.flags, 3);

    Thermocouple unlisted({12, 4});
    EXPECT_EQ(unlisted.view.currentIndex(TCSettingId::Type), -1);
    EXPECT_EQ(unlisted.ok().type, 12) << "a type the list cannot show is not replaced by -1";
}

TEST(CEditThreshold, FiltersTheBoxesAndReadsThemOnOK)
{
    test::FakeControlView view;
    CEditThreshold threshold(view);
    threshold.low = -1.5;
    threshold.high = 2;
    threshold.ledWhenOutside = true;
    threshold.onInitDialog();
    EXPECT_EQ(view.caption, "LED点灯閾値設定(生値)");
    EXPECT_EQ(view.text(ThresholdId::Low), "-1.500000");
    EXPECT_EQ(view.text(ThresholdId::High), "2.000000");
    EXPECT_TRUE(view.isChecked(ThresholdId::LedWhenOutside));

    view.setText(ThresholdId::High, "3x");
    threshold.onNumberChanged(ThresholdId::High);
    EXPECT_EQ(view.text(ThresholdId::High), "3");
    EXPECT_EQ(view.lastMessage(), "数字以外は入力できません");
    view.setText(ThresholdId::Low, "");
    view.setChecked(ThresholdId::LedWhenOutside, false);
    threshold.onOK();
    EXPECT_EQ(threshold.high, 3);
    EXPECT_EQ(threshold.low, 0);
    EXPECT_FALSE(threshold.ledWhenOutside);

    view.setText(ThresholdId::High, std::string(400, '9'));
    threshold.onOK();
    EXPECT_TRUE(std::isfinite(threshold.high));
}

TEST(CEditThreshold, PanelConversionClampsOutOfScaleValues)
{
    const ThresholdSettings shown = ThresholdsFromRaw({-16384 & 0xFFFF, 16384, true}, 0, ScaleKind::ByRange);
    EXPECT_DOUBLE_EQ(shown.low, -0.05);
    EXPECT_TRUE(shown.ledWhenOutside);
    const RawThresholds back = ThresholdsToRaw({-0.05, 9000, false}, 0, ScaleKind::ByRange);
    EXPECT_EQ(back.low, 0xC000);
    EXPECT_EQ(back.high, 32767);
    const RawThresholds current = ThresholdsToRaw({-5, 12.5, false}, 1, ScaleKind::ByOutputMode);
    EXPECT_EQ(current.low, 0);
}

namespace {

struct Sweep {
    Sweep()
    {
        dialog.unit = "mA";
        dialog.onInitDialog();
    }
    void type(int controlId, const std::string& text)
    {
        view.setText(controlId, text);
        dialog.onBoxChanged(controlId);
    }
    test::FakeControlView view;
    CDlgQZK19Sweep dialog{view};
};

} // namespace

TEST(CDlgQZK19Sweep, ShowsTheRowsSettingsAndFiltersEachBox)
{
    Sweep s;
    EXPECT_EQ(s.view.caption, "スイープ設定");
    EXPECT_EQ(s.view.text(SweepId::V1), "1.00000");
    EXPECT_EQ(s.view.text(SweepId::V2), "9.00000");
    EXPECT_EQ(s.view.text(SweepId::T1), "30");
    EXPECT_EQ(s.view.text(SweepId::T2), "15");
    EXPECT_EQ(s.view.text(SweepId::UnitOfV1), "mA");
    EXPECT_EQ(s.view.text(SweepId::UnitOfV2), "mA");

    s.type(SweepId::V1, "-1.5");
    EXPECT_TRUE(s.view.messages.empty());
    s.type(SweepId::V1, "1,5");
    EXPECT_EQ(s.view.text(SweepId::V1), "1");
    s.type(SweepId::T1, "12a");
    EXPECT_EQ(s.view.text(SweepId::T1), "12");
    s.type(SweepId::T2, "-3");
    EXPECT_EQ(s.view.text(SweepId::T2), "") << "times take digits only";
    EXPECT_EQ(s.view.messages.size(), 3u);
    s.type(SweepId::T2, "1234567");
    EXPECT_EQ(s.view.text(SweepId::T2), "123456");

    EXPECT_TRUE(s.dialog.onOK());
    EXPECT_EQ(s.dialog.v1, 1);
    EXPECT_EQ(s.dialog.t1, 12);
    EXPECT_EQ(s.dialog.t2, 123456);
}

TEST(CDlgQZK19Sweep, LowAboveHighIsRefusedAndLeavesTheValues)
{
    Sweep s;
    s.type(SweepId::V1, "9.5");
    s.type(SweepId::T1, "7");
    EXPECT_FALSE(s.dialog.onOK());
    EXPECT_EQ(s.view.lastMessage(), "最小値＜最大値である必要があります。");
    EXPECT_EQ(s.dialog.v1, 1);
    EXPECT_EQ(s.dialog.t1, 30);

    s.type(SweepId::V1, "9");
    s.type(SweepId::T2, "");
    EXPECT_TRUE(s.dialog.onOK()) << "V1 equal to V2 is a constant output";
    EXPECT_EQ(s.dialog.v1, 9);
    EXPECT_EQ(s.dialog.t2, 0);
    s.type(SweepId::V2, std::string(400, '9'));
    s.type(SweepId::V1, "-" + std::string(400, '9'));
    EXPECT_TRUE(s.dialog.onOK());
    EXPECT_TRUE(std::isfinite(s.dialog.v1) && std::isfinite(s.dialog.v2));
}
