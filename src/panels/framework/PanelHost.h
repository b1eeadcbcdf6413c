#pragma once

namespace vantel {

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What shows a panel: its own top-level window (digital panels) or the tab
// container (analog panels). The panel stores and restores the host's
// position and, at the end of its close routine, lets the host destroy the
// view. Every call comes from the GUI thread except postClose().
class PanelHost {
public:
    virtual ~PanelHost() = default;

    // Any thread: runs the panel's close routine later on the GUI thread.
    virtual void postClose() = 0;
    // The panel is finished with its window: close it. The panel object
    // itself may be destroyed from here on.
    virtual void closeWindow() = 0;

    // The normal (not minimised or maximised) window rectangle, and the
    // desktop's work area.
    virtual WindowRect windowRect() const = 0;
    virtual WindowRect desktopRect() const = 0;
    virtual void moveWindow(int left, int top) = 0;
};

} // namespace vantel
