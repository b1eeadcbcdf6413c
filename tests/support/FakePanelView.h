#pragma once

#include "panels/framework/LockedPanelControls.h"
#include "support/FakeControlView.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace vantel::test {

// A panel window without widgets. Posted messages wait in `posted` until the
// test dismisses them; posted closes and the final close are counted.
class FakePanelView : public LockedPanelControls<FakeControlView> {
public:
    struct PostedMessage {
        std::string text;
        std::function<void()> dismissed;
    };

    // Tests read and set the controls directly, as the user would.
    FakeControlView& controls = controls_;

    void showMessage(std::string_view utf8) override { controls.showMessage(utf8); }
    bool ask(std::string_view utf8) override { return controls.ask(utf8); }

    void setIndicator(int id, bool on) override
    {
        const std::lock_guard guard(mutex_);
        indicators[id] = on;
        undetermined[id] = false;
    }
    void setIndicatorUndetermined(int id) override
    {
        const std::lock_guard guard(mutex_);
        indicators[id] = false;
        undetermined[id] = true;
    }
    bool indicatorUndetermined(int id) const
    {
        const std::lock_guard guard(mutex_);
        const auto it = undetermined.find(id);
        return it != undetermined.end() && it->second;
    }
    void setMaxLength(int id, int characters) override { maxLength[id] = characters; }
    void setLevelBar(int id, const LevelBar& bar) override
    {
        const std::lock_guard guard(mutex_);
        bars[id] = bar;
    }
    LevelBar levelBar(int id) const
    {
        const std::lock_guard guard(mutex_);
        const auto it = bars.find(id);
        return it != bars.end() ? it->second : LevelBar{};
    }
    void postMessage(std::string_view utf8, std::function<void()> dismissed) override
    {
        const std::lock_guard guard(mutex_);
        posted.push_back({std::string(utf8), std::move(dismissed)});
    }
    void postTask(std::function<void()> task) override
    {
        const std::lock_guard guard(mutex_);
        tasks.push_back(std::move(task));
    }
    bool hasTasks() const
    {
        const std::lock_guard guard(mutex_);
        return !tasks.empty();
    }
    // Controls that the tick and worker threads also write, read under the lock.
    bool enabled(int id) const
    {
        return locked([&] { return controls_.enabled(id); });
    }
    bool visible(int id) const
    {
        return locked([&] { return controls_.visible(id); });
    }
    std::vector<std::string> items(int id) const
    {
        return locked([&] { return controls_.items(id); });
    }
    // The GUI thread's turn: runs the tasks posted so far.
    void runTasks()
    {
        std::vector<std::function<void()>> due;
        {
            const std::lock_guard guard(mutex_);
            due.swap(tasks);
        }
        for (const auto& task : due)
            task();
    }
    void postClose() override { ++closesPosted; }
    void closeWindow() override { ++windowCloses; }
    WindowRect windowRect() const override { return window; }
    WindowRect desktopRect() const override { return desktop; }
    void moveWindow(int left, int top) override
    {
        window.right += left - window.left;
        window.bottom += top - window.top;
        window.left = left;
        window.top = top;
    }

    // Indicators are painted from the worker thread; read them here.
    bool indicator(int id) const
    {
        const std::lock_guard guard(mutex_);
        const auto it = indicators.find(id);
        return it != indicators.end() && it->second;
    }

    // The user presses OK on the oldest posted message.
    void dismissOldest()
    {
        PostedMessage message;
        {
            const std::lock_guard guard(mutex_);
            message = std::move(posted.front());
            posted.erase(posted.begin());
        }
        message.dismissed();
    }
    std::vector<std::string> postedTexts()
    {
        const std::lock_guard guard(mutex_);
        std::vector<std::string> texts;
        for (const auto& m : posted)
            texts.push_back(m.text);
        return texts;
    }

    std::map<int, bool> indicators;
    std::map<int, bool> undetermined;
    std::map<int, int> maxLength;
    std::map<int, LevelBar> bars;
    std::vector<PostedMessage> posted;
    std::vector<std::function<void()>> tasks;
    std::atomic<int> closesPosted{0};
    std::atomic<int> windowCloses{0};
    WindowRect window{100, 100, 400, 500};
    WindowRect desktop{0, 0, 1920, 1080};
};

} // namespace vantel::test
