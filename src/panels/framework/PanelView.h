#pragma once

#include "panels/framework/PanelHost.h"
#include "ui/ControlView.h"

#include <functional>
#include <string_view>

namespace vantel {

// A level bar of an analog row: 0 to `maximum`, filled to `position`, red
// while the row's LED threshold alarm is lit, blue otherwise.
struct LevelBar {
    int maximum = 0;
    int position = 0;
    bool alarm = false;

    bool operator==(const LevelBar&) const = default;
};

// The window of a unit panel as its logic object sees it. Controls are
// addressed by their dialog ids.
//
// Threads: a panel's tick and its communication callbacks run on their own
// threads and call the setters of ControlView (setText, setEnabled,
// setVisible, setChecked, setCaption), setIndicator, setLevelBar, postMessage, postTask and
// postClose from there. An implementation with real widgets must hand those
// calls to the GUI thread and return without waiting. Every other call
// (getters, showMessage, ask, window geometry, closeWindow) comes from the
// GUI thread only. The window that holds the controls is also the panel's
// host.
class PanelView : public ControlView, public PanelHost {
public:
    // ON is drawn red, OFF black with blue text.
    virtual void setIndicator(int id, bool on) = 0;
    // A state the panel does not know: drawn as neither ON nor OFF.
    virtual void setIndicatorUndetermined(int id) { setIndicator(id, false); }
    // Longest text, in characters, that an edit box accepts.
    virtual void setMaxLength(int id, int characters) = 0;
    // Windows without bars (headless runs) leave it out.
    virtual void setLevelBar(int /*id*/, const LevelBar& /*bar*/) {}

    // A message box raised from any thread; returns at once. `dismissed`
    // runs on the GUI thread once the user has closed the box.
    virtual void postMessage(std::string_view utf8, std::function<void()> dismissed) = 0;
    // Any thread: runs `task` later on the GUI thread; dropped if the window
    // has gone by then.
    virtual void postTask(std::function<void()> task) = 0;
};

} // namespace vantel
