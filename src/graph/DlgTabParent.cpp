#include "graph/DlgTabParent.h"

#include "graph/ContainerPlacement.h"

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
    if (canvas_)
        registry_.DestroyCanvas(canvas_->id());
}

std::shared_ptr<LECanvas> DlgTabParent::CreateGraphCanvas(double bx, double by)
{
    canvas_ = registry_.CreateCanvas(scaled(kCanvasMargin, bx), scaled(kCanvasMargin, by), scaled(kCanvasWidth, bx),
                                     scaled(kCanvasHeight, by), 0, true);
    if (canvas_)
        canvas_->EnableCursor(true);
    return canvas_;
}

void DlgTabParent::OnInitDialog()
{
    OnTabSelected(0);
    view_.setCaption(setup_.caption);
    if (setup_.record == nullptr)
        return;
    if (const auto position = RestoredWindowPosition(view_.normalWindowRect(), setup_.record->windowLeft,
                                                     setup_.record->windowTop, view_.desktopRect()))
        view_.moveWindow(*position);
}

void DlgTabParent::OnTabSelected(int index)
{
    view_.showGraphPage(index == 1);
}

void DlgTabParent::Close()
{
    if (closed_)
        return;
    closed_ = true;
    if (setup_.record != nullptr) {
        const PixelRect normal = view_.normalWindowRect();
        setup_.record->windowLeft = normal.left;
        setup_.record->windowTop = normal.top;
    }
    if (panel_ != nullptr)
        panel_->SetClosing();
    if (setup_.saveList)
        setup_.saveList();
    view_.endGraphPage();
    if (canvas_)
        registry_.DestroyCanvas(canvas_->id());
    canvas_.reset();
    const bool gatewayLink = setup_.kind == 5 || setup_.kind == 6;
    if (!gatewayLink && setup_.releaseConnection)
        setup_.releaseConnection();
    view_.destroyWindow();
}

} // namespace vantel
