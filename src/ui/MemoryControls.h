#pragma once

#include "ui/ControlView.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vantel {

// A ControlView without a window: controls are plain values. Lets the
// dialog rules run headless (command-line tools, tests).
class MemoryControls : public ControlView {
public:
    struct Control {
        std::string text;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        std::vector<std::string> items;
        int index = -1;
    };

    std::string text(int id) const override { return get(id).text; }
    void setText(int id, std::string_view utf8) override { controls[id].text = std::string(utf8); }
    void setEnabled(int id, bool enabled) override { controls[id].enabled = enabled; }
    void setVisible(int id, bool visible) override { controls[id].visible = visible; }
    bool isChecked(int id) const override { return get(id).checked; }
    void setChecked(int id, bool checked) override { controls[id].checked = checked; }
    void setItems(int id, const std::vector<std::string>& items) override
    {
        controls[id].items = items;
        controls[id].index = -1;
    }
    int currentIndex(int id) const override { return get(id).index; }
    void setCurrentIndex(int id, int index) override { controls[id].index = index; }
    void setCaption(std::string_view utf8) override { caption = std::string(utf8); }
    void showMessage(std::string_view utf8) override { messages.emplace_back(utf8); }
    bool ask(std::string_view utf8) override
    {
        questions.emplace_back(utf8);
        return answer ? answer(utf8) : true;
    }

    bool enabled(int id) const { return get(id).enabled; }
    bool visible(int id) const { return get(id).visible; }
    const std::vector<std::string>& items(int id) const { return get(id).items; }
    std::string lastMessage() const { return messages.empty() ? std::string() : messages.back(); }

    std::map<int, Control> controls;
    std::string caption;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    // Decides questions; every question is answered OK when unset.
    std::function<bool(std::string_view)> answer;

private:
    const Control& get(int id) const
    {
        static const Control kNone;
        const auto it = controls.find(id);
        return it == controls.end() ? kNone : it->second;
    }
};

} // namespace vantel
