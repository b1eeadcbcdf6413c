#include "dialogs/CEditAnalogCalc.h"
#include "dialogs/AnalogCalcResult.h"
#include "dialogs/NumberBoxFilter.h"
#include "graph/LECanvas.h"
#include "panels/PanelKindTable.h"
#include "support/FakeControlView.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

using namespace vantel;
namespace id = vantel::AnalogCalcId;

namespace {

struct Dialog {
    Dialog()
    {
        calc.multiplier = 1;
        calc.offset = 0;
        calc.graphMin = -10;
        calc.graphMax = 10;
        calc.unit = "V";
        calc.leftLabel = "測定値 ×";
        calc.onInitDialog();
    }
    void type(int controlId, const std::string& text)
    {
        view.setText(controlId, text);
        calc.onNumberChanged(controlId);
    }

    test::FakeControlView view;
    CEditAnalogCalc calc{view};
};

} // namespace

TEST(CEditAnalogCalc, ShowsNumbersWithSixDecimalsWhateverTheLocale)
{
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // a comma locale, when installed
    Dialog d;
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(d.view.caption, "換算式と単位の設定");
    EXPECT_EQ(d.view.text(id::Multiplier), "1.000000");
    EXPECT_EQ(d.view.text(id::Offset), "0.000000");
    EXPECT_EQ(d.view.text(id::GraphMin), "-10.000000");
    EXPECT_EQ(d.view.text(id::GraphMax), "10.000000");
    EXPECT_EQ(d.view.text(id::LeftLabel), "測定値 ×");
    EXPECT_EQ(d.view.text(id::Unit), "V");
}

TEST(CEditAnalogCalc, FilterCutsAtTheFirstForeignCharacterWithOneMessage)
{
    Dialog d;
    d.type(id::Multiplier, "1");
    d.type(id::Multiplier, "12");
    d.type(id::Multiplier, "12a");
    EXPECT_EQ(d.view.text(id::Multiplier), "12");
    ASSERT_EQ(d.view.messages.size(), 1u);
    EXPECT_EQ(d.view.messages[0], "数字以外は入力できません");

    d.type(id::Offset, "abc");
    EXPECT_EQ(d.view.text(id::Offset), "");
    d.type(id::GraphMax, "1-2..3x9");
    EXPECT_EQ(d.view.text(id::GraphMax), "1-2..3") << "order of signs and points is not checked";
    d.view.setText(id::Unit, "kg/m²");
    d.calc.onNumberChanged(id::Unit);
    EXPECT_EQ(d.view.messages.size(), 3u) << "the unit box is not filtered";

    d.calc.onOK();
    EXPECT_EQ(d.calc.multiplier, 12);
    EXPECT_EQ(d.calc.offset, 0) << "an empty box reads as 0";
    EXPECT_EQ(d.calc.graphMax, 1);
    EXPECT_EQ(d.calc.unit, "kg/m²");
}

TEST(CEditAnalogCalc, UnitBoxHoldsEightBytesOfTheFileCodePage)
{
    Dialog d;
    d.view.setText(id::Unit, "abcdefghij");
    d.calc.onUnitChanged();
    EXPECT_EQ(d.view.text(id::Unit), "abcdefgh");
    d.view.setText(id::Unit, "温度温度温"); // two bytes each in CP932
    d.calc.onUnitChanged();
    EXPECT_EQ(d.view.text(id::Unit), "温度温度");
}

TEST(ParseLeadingDouble, ReadsLikeStrtod)
{
    EXPECT_EQ(ParseLeadingDouble("1-2"), 1);
    EXPECT_EQ(ParseLeadingDouble(".."), 0);
    EXPECT_EQ(ParseLeadingDouble("-.5"), -0.5);
    EXPECT_EQ(ParseLeadingDouble("  +2.5x"), 2.5);
    EXPECT_EQ(ParseLeadingDouble("-"), 0);
    EXPECT_EQ(ParseLeadingDouble(""), 0);
    EXPECT_EQ(ParseLeadingDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(FormatFixed6(-0.5), "-0.500000");
}

namespace {

struct Row {
    Row()
        : canvas(1, {}, true), series(canvas.AddSeries("AO1", -10, 10)),
          page(view, KindRowOf(ContainerKind::QZK33).graph)
    {
        page.setCanvas(std::shared_ptr<LECanvas>(&canvas, [](LECanvas*) {}));
        row = {0, 0, true, &formula, &min, &max, {-10, 10}, {-10, 10}, series, &page};
    }
    LECanvas canvas;
    LECanvasSeries* series;
    test::FakeControlView view;
    DlgGraphTab page;
    ChannelFormula formula;
    double min = 1;
    double max = 0;
    AnalogCalcRow row;
};

} // namespace

TEST(AnalogCalcResult, PreparesTheFamilyLabelsAndTheRowValues)
{
    Row r;
    r.formula = {2.5, -1, "bar"};
    test::FakeControlView view;
    CEditAnalogCalc dialog(view);
    PrepareAnalogCalc(dialog, r.row);
    EXPECT_EQ(dialog.leftLabel, "出力設定値 ×");
    EXPECT_EQ(dialog.rightLabel, "＝ 換算出力値");
    EXPECT_EQ(dialog.unitLabel, "換算出力値の単位:");
    EXPECT_EQ(dialog.multiplier, 2.5);
    EXPECT_EQ(dialog.unit, "bar");
    r.row.outputs = false;
    PrepareAnalogCalc(dialog, r.row);
    EXPECT_EQ(dialog.leftLabel, "測定値 ×");
    EXPECT_EQ(dialog.rightLabel, "＝ 表示値");
    EXPECT_EQ(dialog.unitLabel, "表示値の単位:");
}

TEST(AnalogCalcResult, EqualBoundsStoreTheFormulaButRestoreTheDefaultRange)
{
    Row r;
    r.row.defaultRange = {0, 20};
    test::FakeControlView view;
    CEditAnalogCalc dialog(view);
    dialog.multiplier = 2;
    dialog.offset = 1;
    dialog.unit = "";
    dialog.graphMin = 10;
    dialog.graphMax = 10;
    const GraphRange applied = ApplyAnalogCalcResult(dialog, r.row, r.view);
    EXPECT_EQ(r.formula.gain, 2);
    EXPECT_EQ(r.formula.offset, 1);
    EXPECT_EQ(r.view.lastMessage(), "グラフ表示範囲が不正なため、デフォルト値に設定します");
    EXPECT_EQ(applied.min, 0);
    EXPECT_EQ(applied.max, 20);
    EXPECT_EQ(r.min, 0);
    EXPECT_EQ(r.max, 20);
    const auto guard = r.canvas.lock();
    EXPECT_EQ(r.series->scaleMaxLocked(), 20);
    EXPECT_EQ(r.series->unitLocked(), "") << "a scaled formula without unit shows none";
}

TEST(AnalogCalcResult, AValidRangeAndIdentityFormulaTakeTheRangeUnit)
{
    Row r;
    test::FakeControlView view;
    CEditAnalogCalc dialog(view);
    dialog.multiplier = 1;
    dialog.graphMin = -5;
    dialog.graphMax = 5;
    ApplyAnalogCalcResult(dialog, r.row, r.view);
    EXPECT_TRUE(r.view.messages.empty());
    EXPECT_EQ(r.min, -5);
    EXPECT_EQ(r.series->GetUnit(), "V");
}
