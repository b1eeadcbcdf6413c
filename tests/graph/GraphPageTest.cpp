#include "graph/DisplayPeriod.h"
#include "graph/DlgGraphTab.h"
#include "graph/GraphPageIds.h"
#include "panels/PanelKindTable.h"
#include "panels/framework/DlgTabParent.h"
#include "support/FakeControlView.h"

#include <gtest/gtest.h>

using namespace vantel;
namespace id = vantel::GraphPageId;

namespace {

struct RecordingPanel : TabPanel {
    void selectDisplayPeriod(int index) override { periods.push_back(index); }
    void refreshGraph() override { ++refreshes; }
    void openScaleDialog(int row) override { scaleRows.push_back(row); }
    std::vector<int> periods;
    std::vector<int> scaleRows;
    int refreshes = 0;
};

ContainerKind Kind(int number)
{
    return *ContainerKindFromNumber(number);
}

const GraphPageLayout& Layout(int kind)
{
    return KindRowOf(Kind(kind)).graph;
}

struct GraphPage {
    explicit GraphPage(int kind) : page(view, Layout(kind)), canvas(std::make_shared<LECanvas>(1111, PixelRect{}, true))
    {
        for (int i = 0; i < 6; ++i)
            canvas->AddSeries("s", -10, 10);
        page.setCanvas(canvas);
        page.setPanel(&panel);
        page.onInitDialog();
    }
    void click(int controlId, bool checked)
    {
        view.setChecked(controlId, checked);
        page.onCheckClicked(controlId);
    }
    std::vector<bool> visibility() const
    {
        std::vector<bool> out;
        for (int i = 0; i < canvas->seriesCount(); ++i)
            out.push_back(canvas->GetSeries(i)->isVisible());
        return out;
    }

    test::FakeControlView view;
    RecordingPanel panel;
    DlgGraphTab page;
    std::shared_ptr<LECanvas> canvas;
};

std::vector<int> hiddenOf(const test::FakeControlView& view)
{
    std::vector<int> out;
    for (const auto& [controlId, control] : view.controls)
        if (!control.visible)
            out.push_back(controlId);
    return out;
}

} // namespace

TEST(DlgGraphTab, AnalogInputKindsStartWithThreeShownRowsAndFiveSeries)
{
    for (int kind : {0, 1, 5}) {
        GraphPage g(kind);
        EXPECT_EQ(g.view.currentIndex(id::Period), 0);
        EXPECT_EQ(g.view.items(id::SeriesList), (std::vector<std::string>{"AI1", "AI2", "AI3", "DO1", "DO2"}));
        EXPECT_EQ(g.view.currentIndex(id::SeriesList), 0);
        EXPECT_TRUE(g.view.isChecked(1303) && g.view.isChecked(1304) && g.view.isChecked(1305));
        EXPECT_FALSE(g.view.isChecked(1300) || g.view.isChecked(1301) || g.view.isChecked(1302));
        EXPECT_EQ(hiddenOf(g.view), (std::vector<int>{1296, 1302, 1322, 1326, 1327, 1328}));
        EXPECT_EQ(g.view.text(1300), "") << "template texts stay";
    }
}

TEST(DlgGraphTab, OutputKindsRelabelTheBoxes)
{
    GraphPage two(2);
    EXPECT_EQ(two.view.text(1303), "AO1");
    EXPECT_EQ(two.view.text(1305), "AO3");
    EXPECT_EQ(two.view.text(1300), "DI1");
    EXPECT_EQ(two.view.text(1302), "DI3");
    EXPECT_EQ(hiddenOf(two.view), (std::vector<int>{1296, 1305, 1322, 1325, 1326, 1327, 1328}));
    EXPECT_EQ(two.view.items(id::SeriesList), (std::vector<std::string>{"AO1", "AO2", "DI1", "DI2", "DI3"}));

    GraphPage three(3);
    EXPECT_EQ(hiddenOf(three.view), (std::vector<int>{1296, 1302, 1322, 1326, 1327, 1328}));
    EXPECT_EQ(three.view.items(id::SeriesList), (std::vector<std::string>{"AO1", "AO2", "AO3", "DI1", "DI2"}));

    for (int kind : {6, 7}) {
        GraphPage six(kind);
        EXPECT_EQ(hiddenOf(six.view), (std::vector<int>{1326, 1327, 1328}));
        EXPECT_EQ(six.view.items(id::SeriesList).size(), 6u);
        EXPECT_FALSE(six.view.isChecked(1300));
        EXPECT_TRUE(six.view.isChecked(1303));
    }
}

TEST(DlgGraphTab, FiveInputUnitShowsAI4AndAI5CheckedAndFiveScaleButtons)
{
    GraphPage g(4);
    EXPECT_EQ(g.view.text(1300), "AI4");
    EXPECT_EQ(g.view.text(1301), "AI5");
    EXPECT_TRUE(g.view.isChecked(1300) && g.view.isChecked(1301));
    EXPECT_EQ(hiddenOf(g.view), (std::vector<int>{1296, 1302, 1322, 1328}));
    EXPECT_EQ(g.view.items(id::SeriesList), (std::vector<std::string>{"AI1", "AI2", "AI3", "AI4", "AI5"}));
}

TEST(DlgGraphTab, CheckBoxesShowAndHideTheirSeriesWithTheKind2Shift)
{
    GraphPage g(2);
    g.click(1300, false); // "DI1"
    EXPECT_EQ(g.visibility(), (std::vector<bool>{true, true, false, true, true, true}));
    g.click(1300, true);
    g.click(1302, false); // "DI3" -> series 4
    EXPECT_EQ(g.visibility(), (std::vector<bool>{true, true, true, true, false, true}));
    g.click(1304, false); // "AO2"
    EXPECT_FALSE(g.canvas->GetSeries(1)->isVisible());
    EXPECT_EQ(g.panel.refreshes, 4);

    GraphPage zero(0);
    zero.click(1301, true); // "DO2" -> series 4
    zero.click(1303, false);
    EXPECT_EQ(zero.visibility(), (std::vector<bool>{false, true, true, true, true, true}));
    zero.page.onCheckClicked(1299);
    EXPECT_EQ(zero.panel.refreshes, 2) << "unknown ids are ignored";
}

TEST(DlgGraphTab, PeriodSeriesAndScaleGoToThePanel)
{
    GraphPage g(7);
    g.view.setCurrentIndex(id::Period, 3);
    g.page.onPeriodSelected();
    EXPECT_EQ(g.panel.periods, std::vector<int>{3});
    g.view.setCurrentIndex(id::SeriesList, 4);
    g.page.onSeriesSelected();
    EXPECT_EQ(g.canvas->selectedSeries(), 4);
    EXPECT_EQ(g.panel.refreshes, 1);
    g.page.onScaleClicked(1325);
    g.page.onScaleClicked(1400);
    EXPECT_EQ(g.panel.scaleRows, std::vector<int>{2});
}

TEST(DlgGraphTab, RowValuesCarryTheSeriesUnitOnAnalogRowsOnly)
{
    GraphPage g(0);
    g.page.SetRowUnit(0, 6, 1.0, 0.0, "");
    g.page.SetRowValue(0, "23.5");
    EXPECT_EQ(g.view.text(1311), "23.5 ℃");
    g.page.SetRowUnit(1, 6, 2.0, 0.0, "");
    g.page.SetRowValue(1, "47.0");
    EXPECT_EQ(g.view.text(1312), "47.0 ") << "a scaled formula without a unit shows no unit";
    g.page.SetRowValue(3, "ON");
    EXPECT_EQ(g.view.text(1314), "ON");
    g.page.SetRowValue(6, "x");
    g.page.SetRowValue(-1, "x");
    EXPECT_EQ(g.view.text(1317), "");

    GraphPage five(4);
    five.page.SetRowUnit(4, 1, 1.0, 0.0, "");
    five.page.SetRowValue(4, "1.5");
    EXPECT_EQ(five.view.text(1315), "1.5 V") << "the fifth row of a 5-AI unit is analog";
}

TEST(RowUnitText, FollowsTheRangeOnlyForAnIdentityFormulaWithoutUnit)
{
    EXPECT_EQ(RowUnitText(Layout(0), 0, 1, 0, ""), "mV");
    EXPECT_EQ(RowUnitText(Layout(4), 4, 1, 0, ""), "mA");
    EXPECT_EQ(RowUnitText(Layout(7), 0, 1, 0, ""), "V");
    EXPECT_EQ(RowUnitText(Layout(2), 1, 1, 0, ""), "mA");
    EXPECT_EQ(RowUnitText(Layout(7), 5, 1, 0, ""), "") << "no output range 5";
    EXPECT_EQ(RowUnitText(Layout(0), 6, 1, 0.5, ""), "");
    EXPECT_EQ(RowUnitText(Layout(0), 6, 1, 0, "kPa"), "kPa");
    EXPECT_EQ(DlgGraphTab::RowColour(5), (Colour{80, 80, 255}));
}

TEST(DisplayPeriod, AppliesSpanThenTimePerDivAndIgnoresOtherIndices)
{
    LECanvas canvas(1, {}, true);
    EXPECT_TRUE(ApplyDisplayPeriod(canvas, 5));
    EXPECT_EQ(canvas.span(), 3600);
    EXPECT_EQ(canvas.view().timePerDiv, 300);
    EXPECT_TRUE(ApplyDisplayPeriod(canvas, 9));
    EXPECT_EQ(canvas.span(), 86'400);
    EXPECT_EQ(canvas.view().timePerDiv, 7200);
    EXPECT_FALSE(ApplyDisplayPeriod(canvas, 10));
    EXPECT_FALSE(ApplyDisplayPeriod(canvas, -1));
    EXPECT_EQ(canvas.span(), 86'400);
}

namespace {

struct FakeTabParentView : TabParentView {
    void showGraphPage(bool graph) override { shown.push_back(graph); }
    void showCaption(const std::string& utf8) override { caption = utf8; }
    void endGraphPage() override { events.push_back("endGraphPage"); }
    void destroyWindow() override { events.push_back("destroyWindow"); }

    std::vector<bool> shown;
    std::vector<std::string> events;
    std::string caption;
};

} // namespace

TEST(DlgTabParent, StartsOnThePanelTabWithItsCaptionAndACanvasInDialogUnits)
{
    LECanvasRegistry registry;
    FakeTabParentView view;
    DlgTabParent container(view, {ContainerKind::QZK33, "unit A"}, registry);
    const auto canvas = container.createGraphCanvas(1.0, 1.5);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->x(), 10);
    EXPECT_EQ(canvas->y(), 15);
    EXPECT_EQ(canvas->width(), 700);
    EXPECT_EQ(canvas->height(), 600);
    container.onInitDialog();
    EXPECT_EQ(view.shown, std::vector<bool>{false});
    EXPECT_EQ(view.caption, "unit A");
}

TEST(DlgTabParent, SwitchingTabsShowsExactlyOnePage)
{
    FakeTabParentView view;
    LECanvasRegistry registry;
    DlgTabParent container(view, {}, registry);
    for (int index : {1, 0, 1, 1, 0})
        container.onTabSelected(index);
    EXPECT_EQ(view.shown, (std::vector<bool>{true, false, true, true, false}));
}

TEST(DlgTabParent, EndingEndsTheGraphPageFreesTheCanvasAndDestroysTheWindowOnce)
{
    for (int kind = 0; kind < kContainerKindCount; ++kind) {
        LECanvasRegistry registry;
        FakeTabParentView view;
        DlgTabParent container(view, {Kind(kind), ""}, registry);
        const auto canvas = container.createGraphCanvas(1, 1);
        container.end();
        container.end();
        EXPECT_TRUE(container.ended());
        EXPECT_EQ(registry.FindCanvas(canvas->id()), nullptr);
        EXPECT_EQ(view.events, (std::vector<std::string>{"endGraphPage", "destroyWindow"})) << "kind " << kind;
    }
}

TEST(DlgTabParent, AContainerDestroyedWithoutClosingFreesItsCanvasSlot)
{
    LECanvasRegistry registry;
    FakeTabParentView view;
    for (int i = 0; i < 200; ++i) {
        DlgTabParent container(view, {}, registry);
        ASSERT_NE(container.createGraphCanvas(1, 1), nullptr) << i;
    }
    EXPECT_EQ(registry.canvasCount(), 0);
}
