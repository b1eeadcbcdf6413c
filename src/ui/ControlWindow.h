#pragma once

#include "ui/ControlView.h"

#include <QPointer>
#include <QWidget>

#include <map>

namespace vantel {

// A Qt window as the dialog logic sees it (a ControlView over its widgets,
// not a widget itself): each control id is bound to the widget that plays
// that control. Understands line edits, labels, buttons
// (push, check, radio), combo boxes, list widgets and group boxes. Message
// boxes are modal to the window and bear the caption "Vantel". Writes that
// arrive on another thread (panel callbacks, ticks) are queued to the
// window's thread; reads and questions belong to the GUI thread. A program
// change is not a user action: setters emit no signals.
class ControlWindow : public ControlView {
public:
    explicit ControlWindow(QWidget& window);

    void bind(int id, QWidget* widget);
    // nullptr when nothing is bound to the id.
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
    QWidget* bound(int id) const;
    // Runs `write` now on the window's thread, else queues it there.
    template <typename Write> void onWindowThread(Write write);

    QWidget& window_;
    std::map<int, QPointer<QWidget>> widgets_;
};

} // namespace vantel
