#include "graph/TimeAxisScene.h"

#include <cmath>

namespace vantel {
namespace {

constexpr double kMinGridDivision = 0.01;
// A view many thousand divisions wide has more grid lines than pixels; the
// walk stops there instead of running for hours.
constexpr long kMaxGridSteps = 10'000;

class GridWalk {
public:
    GridWalk(CanvasScene& scene, const CanvasGeometry& geometry, const CanvasView& view, const LocalTimeFn& localTime)
        : scene_(scene), geometry_(geometry), view_(view), localTime_(localTime)
    {
        const double lines = std::trunc((view.end - view.start) / view.timePerDiv);
        labelEvery_ = static_cast<long>(std::min(lines, double{kMaxGridSteps}) + 1) / 7 + 1;
    }

    void drawOrigin()
    {
        const int x = geometry_.timeToX(view_.origin, view_);
        addGridLine(x);
        const std::tm local = LocalTimeOf(view_.origin, localTime_);
        addDateLabel(x, local);
        addTimeLabel(x, local);
    }

    // direction +1 walks right, -1 walks left.
    void walk(int direction)
    {
        const PixelRect& plot = geometry_.plot();
        int previousX = geometry_.timeToX(view_.origin, view_);
        std::tm previous = LocalTimeOf(view_.origin, localTime_);
        for (long k = 1; k <= kMaxGridSteps; ++k) {
            const double time = view_.origin + direction * static_cast<double>(k) * view_.timePerDiv;
            const int x = geometry_.timeToX(time, view_);
            if (direction > 0 ? x >= plot.right : x <= plot.left)
                break;
            addGridLine(x);
            if (k % labelEvery_ != 0)
                continue;
            const std::tm local = LocalTimeOf(time, localTime_);
            addTimeLabel(x, local);
            if (local.tm_mday != previous.tm_mday) {
                addDateLabel(x, local);
                if (k > labelEvery_)
                    addDateLabel(previousX, previous);
            }
            previous = local;
            previousX = x;
        }
    }

private:
    void addGridLine(int x)
    {
        const PixelRect& plot = geometry_.plot();
        scene_.items.emplace_back(SceneLine{{x, plot.top}, {x, plot.bottom}, kGridGrey, true});
    }
    void addDateLabel(int x, const std::tm& local)
    {
        scene_.items.emplace_back(
            SceneText{geometry_.dateLabelBox(x), DateLabel(local), kWhite, TextAlign::HCenter | TextAlign::Bottom});
    }
    void addTimeLabel(int x, const std::tm& local)
    {
        scene_.items.emplace_back(
            SceneText{geometry_.timeLabelBox(x), TimeLabel(local), kWhite, TextAlign::HCenter | TextAlign::Top});
    }

    CanvasScene& scene_;
    const CanvasGeometry& geometry_;
    const CanvasView& view_;
    const LocalTimeFn& localTime_;
    long labelEvery_ = 1;
};

} // namespace

void AddTimeAxis(CanvasScene& scene, const CanvasGeometry& geometry, const CanvasView& view,
                 const LocalTimeFn& localTime)
{
    if (!(view.end > view.start))
        return;
    scene.items.emplace_back(SceneFrame{geometry.frame(), kWhite});
    scene.items.emplace_back(SceneText{geometry.captionBox(), TimePerDivCaption(view.timePerDiv), kWhite,
                                       TextAlign::Right | TextAlign::VCenter});
    if (view.timePerDiv < kMinGridDivision)
        return;
    GridWalk grid(scene, geometry, view, localTime);
    grid.drawOrigin();
    grid.walk(+1);
    grid.walk(-1);
}

} // namespace vantel
