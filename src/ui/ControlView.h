#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantel {

// What a window offers to the logic object behind it. Controls are addressed
// by the numeric ids of their dialog templates, so logic code reads like the
// dialog it drives. Called on the GUI thread only.
class ControlView {
public:
    virtual ~ControlView() = default;

    virtual std::string text(int id) const = 0;
    virtual void setText(int id, std::string_view utf8) = 0;
    virtual void setEnabled(int id, bool enabled) = 0;
    virtual void setVisible(int id, bool visible) = 0;
    virtual bool isChecked(int id) const = 0;
    virtual void setChecked(int id, bool checked) = 0;
    // Items of a combo box or rows of a single-column list.
    virtual void setItems(int id, const std::vector<std::string>& items) = 0;
    virtual int currentIndex(int id) const = 0; // -1 when nothing is selected
    virtual void setCurrentIndex(int id, int index) = 0;

    virtual void setCaption(std::string_view utf8) = 0;
    // Modal message box with an OK button.
    virtual void showMessage(std::string_view utf8) = 0;
    // Modal question with OK and Cancel; true for OK.
    virtual bool ask(std::string_view utf8) = 0;
};

} // namespace vantel
