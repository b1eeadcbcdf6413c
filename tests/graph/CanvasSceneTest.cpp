#include "graph/CanvasGeometry.h"
#include "graph/CanvasPainter.h"
#include "graph/CanvasText.h"
#include "graph/SeriesThinning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace vantel;

namespace {

constexpr double kT0 = 1'700'000'000; // 2023-11-14 22:13:20 UTC

std::tm utc(std::time_t seconds)
{
    std::tm out{};
    gmtime_r(&seconds, &out);
    return out;
}

template <typename Item> std::vector<Item> itemsOf(const CanvasScene& scene)
{
    std::vector<Item> out;
    for (const SceneItem& item : scene.items)
        if (const auto* one = std::get_if<Item>(&item))
            out.push_back(*one);
    return out;
}

std::vector<std::string> textsOf(const CanvasScene& scene)
{
    std::vector<std::string> out;
    for (const SceneText& text : itemsOf<SceneText>(scene))
        out.push_back(text.text);
    return out;
}

bool contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::size_t gridLines(const CanvasScene& scene)
{
    const auto lines = itemsOf<SceneLine>(scene);
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](const SceneLine& l) { return l.colour == kGridGrey; }));
}

class Scene_ : public ::testing::Test {
protected:
    Scene_() : canvas(1111, {0, 0, 700, 400}, true), geometry(700, 400) {}
    CanvasScene paint(PaintKind kind = PaintKind::Full) const { return PaintCanvas(canvas, kind, utc); }

    LECanvas canvas;
    CanvasGeometry geometry;
};

} // namespace

TEST(CanvasGeometry, MeasuresEverythingAsFractionsOfTheCanvas)
{
    const CanvasGeometry g(700, 400);
    EXPECT_EQ(g.plot(), (PixelRect{70, 24, 651, 360}));
    EXPECT_EQ(g.frame(), (PixelRect{69, 22, 666, 362}));
    EXPECT_EQ(g.readoutStrip(), (PixelRect{280, 0, 560, 22}));
    EXPECT_EQ(g.fontHeight(), 14);
    EXPECT_EQ(CanvasGeometry(1400, 400).fontHeight(), 14);
    EXPECT_EQ(g.dateLabelBox(100), (PixelRect{30, 364, 170, 382}));
    EXPECT_EQ(g.timeLabelBox(100), (PixelRect{30, 382, 170, 400}));
    EXPECT_FALSE(g.insidePlot({70, 100})) << "the border itself is outside";
    EXPECT_TRUE(g.insidePlot({71, 100}));
}

TEST(CanvasText, CaptionsScaleLabelsAndReadout)
{
    EXPECT_EQ(TimePerDivCaption(0.5), "0.50 sec/div");
    EXPECT_EQ(TimePerDivCaption(5), "5 sec/div");
    EXPECT_EQ(TimePerDivCaption(60), "1 min/div");
    EXPECT_EQ(TimePerDivCaption(3600), "1 hour/div");
    EXPECT_EQ(TimePerDivCaption(172'800), "2 day/div");
    EXPECT_EQ(ScaleLabel(999.9999, -999.9999, 999.9999), "+1000.000");
    EXPECT_EQ(ScaleLabel(1000, 0, 1000), "+1000.00");
    EXPECT_EQ(ScaleLabel(-5, -10, 10), "  -5.000");
    EXPECT_EQ(LegendText("AI1: 温度", "℃"), "AI1: 温度[℃]");
    EXPECT_EQ(LegendText("AI1", ""), "AI1");
    EXPECT_EQ(CursorReadoutText(-1.5, utc(1'700'000'000)), "Cursor [  -1.500, 2023/11/14 22:13:20]");
    EXPECT_EQ(DateLabel(LocalTimeOf(std::numeric_limits<double>::max(), utc)), "9999/12/31");
}

TEST_F(Scene_, EmptyViewDrawsOnlyTheBackground)
{
    canvas.AddSeries("AI1", -10, 10)->AppendSample(kT0, 1);
    const CanvasScene scene = paint();
    ASSERT_EQ(scene.items.size(), 1u);
    EXPECT_EQ(std::get<SceneBox>(scene.items[0]).rect, (PixelRect{0, 0, 700, 400}));
    EXPECT_EQ(scene.fontHeight, 14);
}

TEST_F(Scene_, GridIsAnchoredAtTheOriginWithEveryOtherLineLabelled)
{
    canvas.SetTimePerDiv(5);
    canvas.SetRange(kT0 - 60, kT0);
    const CanvasScene scene = paint();
    EXPECT_EQ(gridLines(scene), 12u) << "the origin and 11 lines to its left";
    const auto texts = textsOf(scene);
    EXPECT_TRUE(contains(texts, "5 sec/div"));
    EXPECT_TRUE(contains(texts, "22:13:20"));
    EXPECT_TRUE(contains(texts, "22:13:10"));
    EXPECT_FALSE(contains(texts, "22:13:15"));
    EXPECT_TRUE(contains(texts, "22:12:30"));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "2023/11/14"), 1);
    EXPECT_EQ(itemsOf<SceneFrame>(scene).front().rect, geometry.frame());
}

TEST_F(Scene_, DayChangeRepeatsTheDateOfThePreviousLabel)
{
    const double midnight = 1'700'006'400; // 2023-11-15 00:00:00 UTC
    canvas.SetTimePerDiv(5);
    canvas.SetRange(midnight - 50, midnight + 10);
    const auto texts = textsOf(paint());
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "2023/11/15"), 2);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "2023/11/14"), 1);
}

TEST_F(Scene_, TinyDivisionsDrawTheCaptionButNoGridAndHugeViewsStayBounded)
{
    canvas.SetTimePerDiv(0.005);
    canvas.SetRange(kT0 - 60, kT0);
    CanvasScene scene = paint();
    EXPECT_EQ(gridLines(scene), 0u);
    EXPECT_EQ(itemsOf<SceneText>(scene).size(), 1u);

    canvas.SetTimePerDiv(0.01);
    canvas.SetRange(0.5, 1e9);
    scene = paint();
    EXPECT_LE(gridLines(scene), 20'001u);
}

TEST_F(Scene_, ValueAxisOfTheSelectedSeries)
{
    LECanvasSeries* ai = canvas.AddSeries("AI1", -10, 10);
    ai->SetUnit("V");
    ai->SetColour(255, 255, 80);
    canvas.SetRange(kT0 - 60, kT0);
    CanvasScene scene = paint();
    auto texts = textsOf(scene);
    EXPECT_TRUE(contains(texts, "AI1[V]"));
    EXPECT_TRUE(contains(texts, " +10.000"));
    EXPECT_TRUE(contains(texts, "  +0.000"));
    EXPECT_TRUE(contains(texts, " -10.000"));
    const auto lines = itemsOf<SceneLine>(scene);
    const auto scaleLines = std::count_if(lines.begin(), lines.end(), [](const SceneLine& l) {
        return l.colour == Colour{127, 127, 40} && l.dotted && l.to.x == 665;
    });
    EXPECT_EQ(scaleLines, 11);

    ai->SetDigital(true);
    texts = textsOf(paint());
    EXPECT_TRUE(contains(texts, "ON"));
    EXPECT_TRUE(contains(texts, "OFF"));
    EXPECT_TRUE(contains(texts, "AI1"));
}

TEST_F(Scene_, LineEntersAtTheLeftEdgeWithTheInterpolatedValue)
{
    LECanvasSeries* s = canvas.AddSeries("AI1", 0, 20);
    s->AppendSample(kT0 - 70, 0);
    s->AppendSample(kT0 - 50, 10);
    s->AppendSample(kT0, 20);
    canvas.SetRange(kT0 - 60, kT0);
    const auto strokes = itemsOf<ScenePolyline>(paint());
    ASSERT_EQ(strokes.size(), 1u);
    const auto& points = strokes[0].points;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0], (PixelPoint{70, geometry.valueToY(5, 0, 20)}));
    EXPECT_EQ(points[2], (PixelPoint{651, 24}));
    EXPECT_EQ(strokes[0].width, 1) << "a lone series is drawn thin";
}

TEST_F(Scene_, SeriesOutsideTheWindowOrHiddenDrawNoLine)
{
    LECanvasSeries* before = canvas.AddSeries("AI1", 0, 1);
    before->AppendSample(kT0 - 100, 0.5);
    LECanvasSeries* hidden = canvas.AddSeries("AI2", 0, 1);
    hidden->AppendSample(kT0 - 30, 0.5);
    hidden->AppendSample(kT0 - 20, 0.5);
    hidden->SetVisible(false);
    canvas.SelectSeries(1);
    canvas.SetRange(kT0 - 60, kT0);
    const CanvasScene scene = paint();
    EXPECT_TRUE(itemsOf<ScenePolyline>(scene).empty());
    EXPECT_TRUE(contains(textsOf(scene), "AI2")) << "a hidden selected series keeps its legend and scale";
}

TEST_F(Scene_, SelectedSeriesIsDrawnLastAndThick)
{
    for (const char* name : {"AI1", "AI2", "AI3"}) {
        LECanvasSeries* s = canvas.AddSeries(name, 0, 1);
        s->AppendSample(kT0 - 30, 0.5);
        s->AppendSample(kT0 - 10, 0.5);
    }
    canvas.GetSeries(1)->SetColour(1, 2, 3);
    canvas.SelectSeries(1);
    canvas.SetRange(kT0 - 60, kT0);
    const auto strokes = itemsOf<ScenePolyline>(paint());
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes.back().colour, (Colour{1, 2, 3}));
    EXPECT_EQ(strokes.back().width, 2);
    EXPECT_EQ(strokes.front().width, 1);
}

TEST_F(Scene_, SpikeAndNonFiniteSamplesInAFullHistory)
{
    LECanvasSeries* s = canvas.AddSeries("AI1", -1, 1);
    for (int i = 0; i < 99'999; ++i) {
        double v = 0;
        if (i == 43'210)
            v = 500; // one-sample spike, clamped to the top
        else if (i % 1000 == 7)
            v = std::numeric_limits<double>::quiet_NaN();
        else if (i % 1000 == 9)
            v = -std::numeric_limits<double>::infinity();
        s->AppendSample(kT0 + i, v);
    }
    canvas.SetRange(kT0 - 1, kT0 + 100'000);
    const auto strokes = itemsOf<ScenePolyline>(paint());
    std::size_t vertices = 0;
    bool spikeDrawn = false;
    for (const auto& stroke : strokes) {
        vertices += stroke.points.size();
        for (const PixelPoint& p : stroke.points) {
            spikeDrawn = spikeDrawn || p.y == 24;
            EXPECT_GE(p.y, 24);
            EXPECT_LE(p.y, 360);
        }
    }
    EXPECT_TRUE(spikeDrawn);
    EXPECT_LE(vertices, kMaxVerticesPerSeries);
}

TEST_F(Scene_, CursorReadoutOnlyStrictlyInsideThePlot)
{
    LECanvasSeries* s = canvas.AddSeries("AI1", -10, 10);
    s->SetColour(80, 255, 255);
    canvas.SetRange(kT0 - 60, kT0);
    canvas.mouseMoved(71, 192);
    EXPECT_TRUE(itemsOf<SceneBox>(paint()).size() == 1u) << "read-out off: no strip";

    canvas.EnableCursor(true);
    canvas.mouseMoved(71, 192);
    CanvasScene scene = paint(PaintKind::ReadoutOnly);
    ASSERT_EQ(scene.items.size(), 2u);
    EXPECT_EQ(std::get<SceneBox>(scene.items[0]).rect, geometry.readoutStrip());
    const auto text = std::get<SceneText>(scene.items[1]);
    EXPECT_EQ(text.text, "Cursor [  +0.000, 2023/11/14 22:12:20]");
    EXPECT_EQ(text.colour, (Colour{80, 255, 255}));

    canvas.mouseMoved(70, 192);
    EXPECT_EQ(paint(PaintKind::ReadoutOnly).items.size(), 1u) << "on the border: strip erased, no text";
    canvas.mouseMoved(-1, -1);
    EXPECT_EQ(paint(PaintKind::ReadoutOnly).items.size(), 1u);
}
