#pragma once

#include "graph/LECanvasRegistry.h"
#include "registry/PanelKind.h"

#include <memory>
#include <string>

namespace vantel {

// What the container's window does for its logic.
class TabParentView {
public:
    virtual ~TabParentView() = default;
    // Shows the graph page and hides the panel, or the reverse.
    virtual void showGraphPage(bool graph) = 0;
    virtual void showCaption(const std::string& utf8) = 0;
    virtual void endGraphPage() = 0;
    virtual void destroyWindow() = 0;
};

struct TabParentSetup {
    ContainerKind kind = ContainerKind::QZK17; // selects the panel class
    std::string caption;
};

// The tab container of an analog unit: tab 0 "制御" holds the panel, tab 1
// "グラフ" the graph page with its canvas. The panel of the first tab owns
// the unit's link and runs the close; once it has let the window go, the
// container ends the graph page and frees the canvas.
class DlgTabParent {
public:
    DlgTabParent(TabParentView& view, TabParentSetup setup, LECanvasRegistry& registry = LECanvasRegistry::Instance());
    // A container torn down without its close routine still frees its canvas slot.
    ~DlgTabParent();
    DlgTabParent(const DlgTabParent&) = delete;
    DlgTabParent& operator=(const DlgTabParent&) = delete;

    // Canvas of the graph page, placed in dialog-unit scale (bx, by); null when
    // the registry is full. Its cursor read-out is on.
    std::shared_ptr<LECanvas> createGraphCanvas(double bx, double by);
    // After the window exists: first tab and caption.
    void onInitDialog();
    void onTabSelected(int index);
    // The panel is finished with the window (or there is none): the graph
    // page ends, the canvas slot is freed and the window goes. Runs once.
    void end();

    ContainerKind kind() const { return setup_.kind; }
    bool ended() const { return ended_; }

private:
    void freeCanvas();

    TabParentView& view_;
    TabParentSetup setup_;
    LECanvasRegistry& registry_;
    std::shared_ptr<LECanvas> canvas_;
    bool ended_ = false;
};

} // namespace vantel
