#pragma once

#include "ui/ControlView.h"

#include <functional>
#include <string_view>

namespace vantel {

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window of a unit panel as its logic object sees it. Controls are
// addressed by their dialog ids.
//
// Threads: a panel's tick and its communication callbacks run on their own
// threads and call the setters of ControlView (setText, setEnabled,
// setVisible, setChecked, setCaption) and setIndicator, postMessage and
// postClose from there. An implementation with real widgets must hand those
// calls to the GUI thread and return without waiting. Every other call
// (getters, showMessage, ask, window geometry, closeWindow) comes from the
// GUI thread only.
class PanelView : public ControlView {
public:
    // ON is drawn red, OFF black with blue text.
    virtual void setIndicator(int id, bool on) = 0;
    // Longest text, in characters, that an edit box accepts.
    virtual void setMaxLength(int id, int characters) = 0;

    // A message box raised from any thread; returns at once. `dismissed`
    // runs on the GUI thread once the user has closed the box.
    virtual void postMessage(std::string_view utf8, std::function<void()> dismissed) = 0;
    // Runs the panel's close routine later on the GUI thread.
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
