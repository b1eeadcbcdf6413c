#include "panels/framework/DlgTabParent.h"

namespace vantel {
namespace {

constexpr int kCanvasMargin = 10;
constexpr int kCanvasWidth = 700;
constexpr int kCanvasHeight = 400;

int scaled(int dialogUnits, double scale)
{
    return static_cast<int>(dialogUnits * scale);
}

} // namespace

DlgTabParent::DlgTabParent(TabParentView& view, TabParentSetup setup, LECanvasRegistry& registry)
    : view_(view), setup_(std::move(setup)), registry_(registry)
{
}

DlgTabParent::~DlgTabParent()
{
    freeCanvas();
}

std::shared_ptr<LECanvas> DlgTabParent::createGraphCanvas(double bx, double by)
{
    canvas_ = registry_.CreateCanvas(scaled(kCanvasMargin, bx), scaled(kCanvasMargin, by), scaled(kCanvasWidth, bx),
                                     scaled(kCanvasHeight, by), 0, true);
    if (canvas_)
        canvas_->EnableCursor(true);
    return canvas_;
}

void DlgTabParent::onInitDialog()
{
    onTabSelected(0);
    view_.showCaption(setup_.caption);
}

void DlgTabParent::onTabSelected(int index)
{
    view_.showGraphPage(index == 1);
}

void DlgTabParent::end()
{
    if (ended_)
        return;
    ended_ = true;
    view_.endGraphPage();
    freeCanvas();
    view_.destroyWindow();
}

void DlgTabParent::freeCanvas()
{
    if (canvas_)
        registry_.DestroyCanvas(canvas_->id());
    canvas_.reset();
}

} // namespace vantel
