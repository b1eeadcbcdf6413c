#pragma once

#include "graph/CanvasTypes.h"
#include "graph/LECanvasRegistry.h"
#include "graph/TabPanel.h"
#include "registry/UnitRecord.h"

#include <functional>
#include <memory>
#include <string>

namespace vantel {

// What the container's window does for its logic.
class TabParentView {
public:
    virtual ~TabParentView() = default;
    // Shows the graph page and hides the panel, or the reverse.
    virtual void showGraphPage(bool graph) = 0;
    virtual PixelRect normalWindowRect() const = 0;
    virtual PixelRect desktopRect() const = 0;
    virtual void moveWindow(PixelPoint topLeft) = 0;
    virtual void setCaption(const std::string& utf8) = 0;
    virtual void endGraphPage() = 0;
    virtual void destroyWindow() = 0;
};

struct TabParentSetup {
    int kind = 0; // 0-7, selects the panel class
    std::string caption;
    UnitRecord* record = nullptr; // window position is read from and stored into it
    // Deletes the unit's connection; not called for kinds 5 and 6, whose link
    // belongs to the gateway.
    std::function<void()> releaseConnection;
    // Persists the unit list once the position is stored; may be empty.
    std::function<void()> saveList;
};

// The tab container of an analog unit: tab 0 "制御" holds the panel, tab 1
// "グラフ" the graph page with its canvas.
class DlgTabParent {
public:
    static constexpr const char* kControlTab = "制御";
    static constexpr const char* kGraphTab = "グラフ";

    DlgTabParent(TabParentView& view, TabParentSetup setup, LECanvasRegistry& registry = LECanvasRegistry::Instance());
    // A container torn down without its close routine still frees its canvas slot.
    ~DlgTabParent();
    DlgTabParent(const DlgTabParent&) = delete;
    DlgTabParent& operator=(const DlgTabParent&) = delete;

    // Canvas of the graph page, placed in dialog-unit scale (bx, by); null when
    // the registry is full. Its cursor read-out is on.
    std::shared_ptr<LECanvas> CreateGraphCanvas(double bx, double by);
    void SetPanel(TabPanel* panel) { panel_ = panel; }
    // After the window exists: first tab, caption, stored position.
    void OnInitDialog();
    void OnTabSelected(int index);
    // "切断", Enter, Escape and the close box. Runs once.
    void Close();

    int kind() const { return setup_.kind; }
    bool closed() const { return closed_; }

private:
    TabParentView& view_;
    TabParentSetup setup_;
    LECanvasRegistry& registry_;
    std::shared_ptr<LECanvas> canvas_;
    TabPanel* panel_ = nullptr;
    bool closed_ = false;
};

} // namespace vantel
