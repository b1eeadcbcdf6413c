#pragma once

#include "panels/framework/LockedPanelControls.h"
#include "ui/MemoryControls.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <iosfwd>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace vantel {

class PanelBase;

// A panel window without a screen, for vantelctl, benchmarks and tests.
// Controls are plain values; message boxes become lines on a stream and are
// dismissed at once, as by a user who presses OK on everything. Any thread
// may call it.
//
// Whoever drives the panel plays the GUI thread: it types into boxes and
// ticks check boxes (setText, setChecked, then the panel's handler), and
// calls pump() now and then, which runs the dismissals and closes the panel
// posted from the tick and worker threads.
class HeadlessPanelControls : public LockedPanelControls<MemoryControls> {
public:
    // A window far from every edge of a desktop too big to leave, so a stored
    // position is kept as it is and written back unchanged at close.
    static constexpr WindowRect kDesktop{0, 0, 1 << 20, 1 << 20};
    static constexpr int kWindowWidth = 480;
    static constexpr int kWindowHeight = 800;

    // `storedLeft` and `storedTop` are the unit's stored window position
    // (negative: none), which the window takes from the start.
    explicit HeadlessPanelControls(std::ostream& messages, int storedLeft = -1, int storedTop = -1);

    // ControlView, beyond the plain controls
    void showMessage(std::string_view utf8) override;
    // Prints the question and answers it with `answer` (Cancel when unset):
    // nobody is there to confirm anything.
    bool ask(std::string_view utf8) override;

    // PanelView
    void setIndicator(int id, bool on) override;
    void setMaxLength(int id, int characters) override;
    void postMessage(std::string_view utf8, std::function<void()> dismissed) override;
    void postTask(std::function<void()> task) override;
    void postClose() override;
    void closeWindow() override;
    WindowRect windowRect() const override;
    WindowRect desktopRect() const override { return kDesktop; }
    void moveWindow(int left, int top) override;

    // The driver's turn as GUI thread: dismisses the posted message boxes,
    // runs the posted tasks and a posted close routine of `panel`. False once the window is closed
    // (the panel may then be destroyed).
    bool pump(PanelBase& panel);
    // Blocks until something is posted or the window closes, at most `timeout`.
    void waitForPost(std::chrono::milliseconds timeout);
    // Before the panel runs: also told, on the posting thread, after each
    // post and when the window closes, for a driver that serves many views
    // from one thread instead of waiting on one.
    void setPostListener(std::function<void()> listener) { postListener_ = std::move(listener); }
    bool windowClosed() const { return windowClosed_.load(); }

    // The user's "切断": runs the close routine and waits until the window
    // has gone (a callback half-way through defers it).
    void closeAndWait(PanelBase& panel);

    // What a user would see.
    bool indicator(int id) const;
    bool enabled(int id) const;
    bool visible(int id) const;
    int maxLength(int id) const;
    std::vector<std::string> messages() const;

    std::function<bool(std::string_view)> answer;

private:
    void printMessage(std::string_view utf8);
    void notifyPosted();

    std::condition_variable posted_;
    std::function<void()> postListener_;
    std::ostream& out_;
    std::map<int, bool> indicators_;
    std::map<int, int> maxLengths_;
    std::vector<std::function<void()>> dismissals_;
    bool closePosted_ = false;
    WindowRect window_;
    std::atomic<bool> windowClosed_{false};
};

} // namespace vantel
