#include "dialogs/CEditDOAlert.h"
#include "comm/protocol/ValueConversion.h"
#include "support/FakeControlView.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantel;
namespace id = vantel::DOAlertId;

namespace {

struct Dialog {
    Dialog()
    {
        alert.rangeCodes = {2, 6, 0};
        alert.monitoredAI = 0;
        alert.ledConditions = {0, 1, 0};
        alert.rawHigh = {16384, 1000, 16000};
        alert.rawLow = {-16384, -500, -16000};
        alert.rawWidth = 0;
        alert.direction = 0;
    }
    void open() { alert.onInitDialog(); }
    void type(int controlId, const std::string& text)
    {
        view.setText(controlId, text);
        alert.onNumberChanged(controlId);
    }
    std::string label(int k) const { return view.text(id::LabelOf(k)); }

    test::FakeControlView view;
    CEditDOAlert alert{view};
};

} // namespace

TEST(CEditDOAlert, OpensOnTheMonitoredAIWithItsThresholdsAndDiagram)
{
    Dialog d;
    d.open();
    EXPECT_EQ(d.view.caption, "DOアラート設定");
    EXPECT_EQ(d.view.items(id::MonitoredAI), (std::vector<std::string>{"AI1", "AI2", "AI3"}));
    EXPECT_EQ(d.view.items(id::LedCondition), (std::vector<std::string>{"範囲内", "範囲外"}));
    EXPECT_EQ(d.view.items(id::Direction), (std::vector<std::string>{"消灯閾値優先", "点灯閾値優先"}));
    EXPECT_EQ(d.view.currentIndex(id::MonitoredAI), 0);
    EXPECT_EQ(d.view.currentIndex(id::LedCondition), 0);
    EXPECT_EQ(d.view.text(id::ThresholdCaption), "アナログ閾値 ( ±10V )");
    EXPECT_EQ(d.view.text(id::High), "5.000153");
    EXPECT_EQ(d.view.text(id::Low), "-5.000000");
    EXPECT_EQ(d.view.text(id::Width), "0.000000");
    EXPECT_EQ(d.alert.diagram().number, 143);
    EXPECT_EQ(d.label(2), " 5.0002 V");
    EXPECT_EQ(d.label(6), "-5.0000 V");
    EXPECT_EQ(d.label(1), "");
}

TEST(CEditDOAlert, EntriesAreClampedToTheRangeAndRewritten)
{
    Dialog d;
    d.open();
    d.type(id::High, "5");
    d.type(id::High, "50");
    EXPECT_EQ(d.view.text(id::High), "10.000000");
    EXPECT_EQ(d.alert.result().rawHigh, 32767);
    EXPECT_EQ(d.alert.diagram().group, 3) << "High at the top of the scale";

    d.type(id::Low, "-");
    EXPECT_EQ(d.view.text(id::Low), "-") << "a lone sign reads as 0, which needs no rewrite";
    d.type(id::Low, "-2.5");
    EXPECT_EQ(d.view.text(id::Low), "-2.5");
    EXPECT_EQ(d.alert.result().rawLow, -8192);

    d.type(id::Width, "1,5");
    EXPECT_EQ(d.view.text(id::Width), "1");
    EXPECT_EQ(d.view.lastMessage(), "数字以外は入力できません");
    EXPECT_EQ(d.alert.result().rawWidth, ValueToRaw(1, 2, ScaleKind::UnsignedByRange));

    d.type(id::Width, std::string(400, '9'));
    EXPECT_EQ(d.view.text(id::Width), "20.000000") << "too many digits is just too large";
    d.type(id::Width, "-1");
    EXPECT_EQ(d.view.text(id::Width), "0.000000");
    EXPECT_EQ(d.alert.result().rawWidth, 0);
    d.type(id::Low, "1..2-");
    EXPECT_EQ(d.view.text(id::Low), "1..2-") << "malformed but allowed characters read as far as they go";
    EXPECT_EQ(d.alert.low(), RawToValue(ValueToRaw(1, 2, ScaleKind::ByRange), 2, ScaleKind::ByRange));
}

TEST(CEditDOAlert, WidthLimitsAndLabelsFollowTheRange)
{
    Dialog d;
    d.alert.monitoredAI = 2; // ±100 mV
    d.open();
    d.type(id::Width, "-1");
    EXPECT_EQ(d.view.text(id::Width), "0.000000");
    d.type(id::Width, "0.3");
    EXPECT_EQ(d.view.text(id::Width), "0.200000");
    d.type(id::Width, "0.01");
    EXPECT_EQ(d.label(2).substr(d.label(2).size() - 3), " mV");
    const int width = ValueToRaw(0.01, 0, ScaleKind::UnsignedByRange);
    EXPECT_EQ(d.label(3), DoAlertLabelText(RawToValue(16000 - width, 0, ScaleKind::ByRange), 0))
        << "inner hysteresis point: High - width";
    EXPECT_EQ(d.label(3), " 38.829 mV");

    Dialog current;
    current.alert.rangeCodes = {4, 5, 4};
    current.open();
    current.type(id::High, "-3");
    EXPECT_EQ(current.view.text(id::High), "0.000000") << "currents have no negative thresholds";
    current.type(id::High, "25");
    EXPECT_EQ(current.view.text(id::High), "20.000000");

    Dialog thermocouple;
    thermocouple.alert.monitoredAI = 1;
    thermocouple.open();
    EXPECT_EQ(thermocouple.view.text(id::ThresholdCaption), "アナログ閾値 ( 熱電対 )");
    EXPECT_EQ(thermocouple.label(2), " 100.00 ℃");
    thermocouple.type(id::High, "4000");
    EXPECT_EQ(thermocouple.view.text(id::High), "3276.700000");
    thermocouple.type(id::Width, "7000");
    EXPECT_EQ(thermocouple.view.text(id::Width), "6553.500000");
}

TEST(CEditDOAlert, SwitchingTheAIKeepsWidthAndDirection)
{
    Dialog d;
    d.alert.rawWidth = 1000;
    d.open();
    d.view.setCurrentIndex(id::Direction, 1);
    d.alert.onDirectionChanged();
    d.type(id::High, "7");
    d.view.setCurrentIndex(id::MonitoredAI, 1);
    d.alert.onMonitoredAIChanged();
    EXPECT_EQ(d.view.text(id::ThresholdCaption), "アナログ閾値 ( 熱電対 )");
    EXPECT_EQ(d.view.text(id::High), "100.000000");
    EXPECT_EQ(d.view.text(id::Low), "-50.000000");
    EXPECT_EQ(d.view.currentIndex(id::LedCondition), 1) << "AI2's own condition";
    EXPECT_EQ(d.view.text(id::Width), "200.000000") << "the same raw width, in degrees";

    const DoAlertResult result = d.alert.result();
    EXPECT_EQ(result.monitoredAI, 1);
    EXPECT_EQ(result.ledCondition, 1);
    EXPECT_EQ(result.rawHigh, 1000) << "AI1's unsaved edit is not handed back";
    EXPECT_EQ(result.rawLow, -500);
    EXPECT_EQ(result.rawWidth, 1000);
    EXPECT_EQ(result.direction, 1);
}

TEST(CEditDOAlert, EqualThresholdsAndTheWholeScaleBlankEveryLabel)
{
    Dialog d;
    d.open();
    d.type(id::High, "-5");
    EXPECT_EQ(d.alert.diagram().number, 174);
    d.view.setCurrentIndex(id::LedCondition, 1);
    d.alert.onLedConditionChanged();
    EXPECT_EQ(d.alert.diagram().number, 171);
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(d.label(k), "") << k;

    d.type(id::High, "10");
    d.type(id::Low, "-10");
    EXPECT_EQ(d.alert.diagram().number, 175);
    d.view.setCurrentIndex(id::LedCondition, 0);
    d.alert.onLedConditionChanged();
    EXPECT_EQ(d.alert.diagram().number, 172);
}

TEST(CEditDOAlert, OutOfRangeInputsFromThePanelStaySafe)
{
    Dialog d;
    d.alert.monitoredAI = 5;
    d.alert.direction = 4;
    d.alert.rawWidth = 0x1FFFF;
    d.alert.rawHigh[0] = 0x18000; // only the low word counts
    d.open();
    EXPECT_EQ(d.view.currentIndex(id::MonitoredAI), 0);
    const DoAlertResult result = d.alert.result();
    EXPECT_EQ(result.monitoredAI, 0);
    EXPECT_EQ(result.direction, 1);
    EXPECT_EQ(result.rawWidth, 0xFFFF);
    EXPECT_EQ(result.rawHigh, -32768);
    d.view.setCurrentIndex(id::MonitoredAI, -1);
    d.alert.onMonitoredAIChanged();
    EXPECT_EQ(d.alert.result().monitoredAI, 0);
}
