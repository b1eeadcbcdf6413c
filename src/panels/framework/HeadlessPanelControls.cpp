#include "panels/framework/HeadlessPanelControls.h"

#include "panels/framework/PanelBase.h"

#include <ostream>
#include <utility>

namespace vantel {

HeadlessPanelControls::HeadlessPanelControls(std::ostream& messages, int storedLeft, int storedTop)
    : out_(messages), window_{storedLeft, storedTop, storedLeft + kWindowWidth, storedTop + kWindowHeight}
{
}

void HeadlessPanelControls::printMessage(std::string_view utf8)
{
    controls_.showMessage(utf8);
    out_ << utf8 << '\n' << std::flush;
}

void HeadlessPanelControls::showMessage(std::string_view utf8)
{
    const std::lock_guard guard(mutex_);
    printMessage(utf8);
}

bool HeadlessPanelControls::ask(std::string_view utf8)
{
    const bool ok = answer && answer(utf8);
    const std::lock_guard guard(mutex_);
    controls_.questions.emplace_back(utf8);
    out_ << utf8 << (ok ? " -> OK\n" : " -> Cancel\n") << std::flush;
    return ok;
}

void HeadlessPanelControls::setIndicator(int id, bool on)
{
    const std::lock_guard guard(mutex_);
    indicators_[id] = on;
}

void HeadlessPanelControls::setMaxLength(int id, int characters)
{
    const std::lock_guard guard(mutex_);
    maxLengths_[id] = characters;
}

void HeadlessPanelControls::postMessage(std::string_view utf8, std::function<void()> dismissed)
{
    {
        const std::lock_guard guard(mutex_);
        printMessage(utf8);
        if (dismissed)
            dismissals_.push_back(std::move(dismissed));
    }
    notifyPosted();
}

void HeadlessPanelControls::postClose()
{
    {
        const std::lock_guard guard(mutex_);
        closePosted_ = true;
    }
    notifyPosted();
}

void HeadlessPanelControls::closeWindow()
{
    {
        const std::lock_guard guard(mutex_);
        windowClosed_ = true;
    }
    notifyPosted();
}

WindowRect HeadlessPanelControls::windowRect() const
{
    const std::lock_guard guard(mutex_);
    return window_;
}

void HeadlessPanelControls::moveWindow(int left, int top)
{
    const std::lock_guard guard(mutex_);
    window_ = {left, top, left + kWindowWidth, top + kWindowHeight};
}

void HeadlessPanelControls::postTask(std::function<void()> task)
{
    {
        const std::lock_guard guard(mutex_);
        dismissals_.push_back(std::move(task));
    }
    notifyPosted();
}

void HeadlessPanelControls::notifyPosted()
{
    posted_.notify_all();
    if (postListener_)
        postListener_();
}

bool HeadlessPanelControls::pump(PanelBase& panel)
{
    std::vector<std::function<void()>> dismissals;
    bool close = false;
    {
        const std::lock_guard guard(mutex_);
        if (windowClosed_.load())
            return false;
        dismissals.swap(dismissals_);
        close = std::exchange(closePosted_, false);
    }
    // Outside the lock: a dismissal may ask the panel to close, which calls
    // back into this view.
    for (const auto& dismissed : dismissals)
        dismissed();
    if (close)
        panel.onCloseCommand();
    return !windowClosed_.load();
}

void HeadlessPanelControls::waitForPost(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, timeout, [this] { return !dismissals_.empty() || closePosted_ || windowClosed_.load(); });
}

void HeadlessPanelControls::closeAndWait(PanelBase& panel)
{
    constexpr std::chrono::milliseconds kRetryEvery{10};
    if (windowClosed())
        return;
    panel.onCloseCommand();
    while (pump(panel))
        waitForPost(kRetryEvery);
}

bool HeadlessPanelControls::indicator(int id) const
{
    const std::lock_guard guard(mutex_);
    const auto it = indicators_.find(id);
    return it != indicators_.end() && it->second;
}

bool HeadlessPanelControls::enabled(int id) const
{
    const std::lock_guard guard(mutex_);
    return controls_.enabled(id);
}

bool HeadlessPanelControls::visible(int id) const
{
    const std::lock_guard guard(mutex_);
    return controls_.visible(id);
}

int HeadlessPanelControls::maxLength(int id) const
{
    const std::lock_guard guard(mutex_);
    const auto it = maxLengths_.find(id);
    return it == maxLengths_.end() ? 0 : it->second;
}

std::vector<std::string> HeadlessPanelControls::messages() const
{
    const std::lock_guard guard(mutex_);
    return controls_.messages;
}

} // namespace vantel
