#pragma once

#include "panels/framework/PanelBase.h"
#include "ui/ControlWindow.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QWidget>

#include <functional>
#include <map>

namespace vantel {

// The Qt window of a unit panel, its view and its host: its own top-level
// window, or the tab container. It owns the panel's logic object, hands the
// user's closing to the panel's close routine, and carries out on the GUI
// thread what the panel's tick and callbacks ask of it from their threads:
// those calls are queued to this window (ControlWindow queues the
// control writes) and dropped if it is gone by then. A panel class builds
// its widgets in a subclass or a page and binds them to their control ids.
// Being a plain window, not a dialog, Enter and Escape neither close it nor
// press a button unless a subclass says so.
class PanelWindow : public QWidget, public PanelView {
public:
    explicit PanelWindow(QWidget* parent = nullptr);
    ~PanelWindow() override;

    // The panel this window shows; destroyed with the window.
    void setPanel(PanelPtr<PanelBase> panel);
    PanelBase* panel() const { return panel_.get(); }
    void bind(int id, QWidget* widget) { controls_.bind(id, widget); }
    // Binds a signal-name box; each edit and losing the focus hand it to the panel.
    void bindNameBox(int id, QLineEdit* box);
    // Binds the 自動 check box of an automatic function; a click hands it to
    // the panel.
    void bindAutoBox(int id, QAbstractButton* box);
    // Binds the "切断" button to the close routine.
    void bindDisconnect(QAbstractButton* button);
    ControlWindow& controls() { return controls_; }

    std::string text(int id) const override { return controls_.text(id); }
    void setText(int id, std::string_view utf8) override { controls_.setText(id, utf8); }
    void setEnabled(int id, bool enabled) override { controls_.setEnabled(id, enabled); }
    void setVisible(int id, bool visible) override { controls_.setVisible(id, visible); }
    using QWidget::setVisible;
    bool isChecked(int id) const override { return controls_.isChecked(id); }
    void setChecked(int id, bool checked) override { controls_.setChecked(id, checked); }
    void setItems(int id, const std::vector<std::string>& items) override { controls_.setItems(id, items); }
    int currentIndex(int id) const override { return controls_.currentIndex(id); }
    void setCurrentIndex(int id, int index) override { controls_.setCurrentIndex(id, index); }
    void setCaption(std::string_view utf8) override { controls_.setCaption(utf8); }
    void showMessage(std::string_view utf8) override;
    bool ask(std::string_view utf8) override;

    void setIndicator(int id, bool on) override;
    void setIndicatorUndetermined(int id) override;
    void setMaxLength(int id, int characters) override;
    void setLevelBar(int id, const LevelBar& bar) override;
    void postMessage(std::string_view utf8, std::function<void()> dismissed) override;
    void postTask(std::function<void()> task) override { onGuiThread(std::move(task)); }
    void postClose() override;
    void closeWindow() override;
    WindowRect windowRect() const override;
    WindowRect desktopRect() const override;
    void moveWindow(int left, int top) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Stops and destroys the panel. A subclass calls it first in its own
    // destructor, so the panel's threads never call into a half-destroyed window.
    void destroyPanel() { panel_.reset(); }
    // The panel's close routine; a window without a panel just closes.
    void runCloseRoutine();
    // Runs `action` now on the GUI thread, or queues it there from others.
    void onGuiThread(std::function<void()> action);

private:
    // Runs a message box of this window. The window is not deleted while
    // one runs: it lives on the stack of the box's caller.
    template <typename Box> auto runBox(Box box);

    ControlWindow controls_;
    std::map<QObject*, int> nameBoxes_;
    int boxesRunning_ = 0;
    bool deletePending_ = false;
    PanelPtr<PanelBase> panel_;
};

} // namespace vantel
