#pragma once

#include "panels/framework/PanelView.h"

#include <mutex>
#include <string>
#include <vector>

namespace vantel {

// The control part of a panel window without widgets: the controls are plain
// values in `Controls` (a MemoryControls) behind one lock, because the
// tick and worker threads set them while whoever drives the panel reads them.
// Subclasses add the rest of PanelView and may guard their own state with the
// same lock.
template <typename Controls> class LockedPanelControls : public PanelView {
public:
    std::string text(int id) const override
    {
        return locked([&] { return controls_.text(id); });
    }
    void setText(int id, std::string_view utf8) override
    {
        locked([&] { controls_.setText(id, utf8); });
    }
    void setEnabled(int id, bool enabled) override
    {
        locked([&] { controls_.setEnabled(id, enabled); });
    }
    void setVisible(int id, bool visible) override
    {
        locked([&] { controls_.setVisible(id, visible); });
    }
    bool isChecked(int id) const override
    {
        return locked([&] { return controls_.isChecked(id); });
    }
    void setChecked(int id, bool checked) override
    {
        locked([&] { controls_.setChecked(id, checked); });
    }
    void setItems(int id, const std::vector<std::string>& items) override
    {
        locked([&] { controls_.setItems(id, items); });
    }
    int currentIndex(int id) const override
    {
        return locked([&] { return controls_.currentIndex(id); });
    }
    void setCurrentIndex(int id, int index) override
    {
        locked([&] { controls_.setCurrentIndex(id, index); });
    }
    void setCaption(std::string_view utf8) override
    {
        locked([&] { controls_.setCaption(utf8); });
    }

    std::string caption() const
    {
        return locked([&] { return controls_.caption; });
    }

protected:
    template <typename Action> auto locked(Action action) const
    {
        const std::lock_guard guard(mutex_);
        return action();
    }

    mutable std::mutex mutex_;
    Controls controls_;
};

} // namespace vantel
