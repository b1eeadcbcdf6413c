#pragma once

#include "ui/ControlView.h"

#include <QPointer>
#include <QWidget>

#include <map>

namespace vantel {

// ControlView over Qt widgets registered by control id: labels, line edits,
// buttons, check boxes and combo boxes. Writes that arrive on another thread
// (panel callbacks) are posted to the owner's thread; reads and questions
// belong to the GUI thread.
class WidgetControlView : public ControlView {
public:
    explicit WidgetControlView(QWidget* owner) : owner_(owner) {}

    void add(int id, QWidget* widget) { widgets_[id] = widget; }
    QWidget* widget(int id) const;

    std::string text(int id) const override;
    void setText(int id, std::string_view utf8) override;
    void setEnabled(int id, bool enabled) override;
    void setVisible(int id, bool visible) override;
    bool isChecked(int id) const override;
    void setChecked(int id, bool checked) override;
    void setItems(int id, const std::vector<std::string>& items) override;
    int currentIndex(int id) const override;
    void setCurrentIndex(int id, int index) override;
    void setCaption(std::string_view utf8) override;
    void showMessage(std::string_view utf8) override;
    bool ask(std::string_view utf8) override;

private:
    // Runs `write` now on the owner's thread, else queues it there.
    template <typename Write> void onOwnerThread(Write write);

    QWidget* owner_;
    std::map<int, QPointer<QWidget>> widgets_;
};

} // namespace vantel
