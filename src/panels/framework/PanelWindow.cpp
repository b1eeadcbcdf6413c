#include "panels/framework/PanelWindow.h"

#include "panels/framework/PanelTexts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>
#include <QScreen>
#include <QThread>

#include <algorithm>

namespace vantel {

namespace {

WindowRect FromQRect(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// ON: red on red; OFF: black with blue text, as the units' front LEDs are
// usually read.
void PaintIndicator(QWidget& indicator, bool on)
{
    QPalette palette = indicator.palette();
    palette.setColor(QPalette::Window, on ? Qt::red : Qt::black);
    palette.setColor(QPalette::WindowText, on ? Qt::red : Qt::blue);
    indicator.setAutoFillBackground(true);
    indicator.setPalette(palette);
}

// Undetermined: the window's own background, no LED colour at all.
void PaintUndetermined(QWidget& indicator)
{
    indicator.setAutoFillBackground(false);
    indicator.setPalette(QPalette());
}

} // namespace

PanelWindow::PanelWindow(QWidget* parent) : QWidget(parent, Qt::Window), controls_(*this)
{
    // Closing the main window ends the program even if a panel is left over.
    setAttribute(Qt::WA_QuitOnClose, false);
}

PanelWindow::~PanelWindow()
{
    destroyPanel();
}

void PanelWindow::setPanel(PanelPtr<PanelBase> panel)
{
    panel_ = std::move(panel);
}

void PanelWindow::bindNameBox(int id, QLineEdit* box)
{
    bind(id, box);
    nameBoxes_[box] = id;
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this, [this, id, box] {
        if (!panel_)
            return;
        const int cursor = box->cursorPosition();
        const auto typed = box->text().size();
        panel_->onNameBoxEdited(id);
        // A refused keystroke leaves the cursor where it was before it.
        if (const auto kept = box->text().size(); kept != typed)
            box->setCursorPosition(std::max(0, cursor - static_cast<int>(typed - kept)));
    });
}

void PanelWindow::bindAutoBox(int id, QAbstractButton* box)
{
    bind(id, box);
    connect(box, &QAbstractButton::clicked, this, [this, id] {
        if (panel_)
            panel_->onAutoClicked(id);
    });
}

void PanelWindow::bindDisconnect(QAbstractButton* button)
{
    bind(PanelId::Disconnect, button);
    connect(button, &QAbstractButton::clicked, this, [this] { runCloseRoutine(); });
}

bool PanelWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && panel_) {
        if (const auto box = nameBoxes_.find(watched); box != nameBoxes_.end())
            panel_->onNameBoxLeft(box->second);
    }
    return QWidget::eventFilter(watched, event);
}

void PanelWindow::onGuiThread(std::function<void()> action)
{
    if (QThread::currentThread() == thread())
        action();
    else
        QMetaObject::invokeMethod(this, std::move(action), Qt::QueuedConnection);
}

void PanelWindow::setIndicator(int id, bool on)
{
    onGuiThread([this, id, on] {
        if (QWidget* indicator = controls_.widget(id))
            PaintIndicator(*indicator, on);
    });
}

void PanelWindow::setIndicatorUndetermined(int id)
{
    onGuiThread([this, id] {
        if (QWidget* indicator = controls_.widget(id))
            PaintUndetermined(*indicator);
    });
}

void PanelWindow::setLevelBar(int id, const LevelBar& bar)
{
    onGuiThread([this, id, bar] {
        auto* progress = qobject_cast<QProgressBar*>(controls_.widget(id));
        if (progress == nullptr)
            return;
        progress->setRange(0, bar.maximum);
        progress->setValue(std::clamp(bar.position, 0, bar.maximum));
        progress->setStyleSheet(bar.alarm ? QStringLiteral("QProgressBar::chunk { background: red; }")
                                          : QStringLiteral("QProgressBar::chunk { background: blue; }"));
    });
}

void PanelWindow::setMaxLength(int id, int characters)
{
    if (auto* edit = qobject_cast<QLineEdit*>(controls_.widget(id)))
        edit->setMaxLength(characters);
}

template <typename Box> auto PanelWindow::runBox(Box box)
{
    ++boxesRunning_;
    const auto answer = box();
    if (--boxesRunning_ == 0 && deletePending_)
        deleteLater();
    return answer;
}

void PanelWindow::showMessage(std::string_view utf8)
{
    runBox([&] {
        controls_.showMessage(utf8);
        return true;
    });
}

bool PanelWindow::ask(std::string_view utf8)
{
    return runBox([&] { return controls_.ask(utf8); });
}

void PanelWindow::postMessage(std::string_view utf8, std::function<void()> dismissed)
{
    // Always queued, even from the GUI thread: the caller must not wait for
    // the user.
    QMetaObject::invokeMethod(
        this,
        [this, text = std::string(utf8), dismissed = std::move(dismissed)] {
            if (deletePending_)
                return;
            showMessage(text);
            if (dismissed)
                dismissed();
        },
        Qt::QueuedConnection);
}

void PanelWindow::postClose()
{
    QMetaObject::invokeMethod(
        this, [this] { runCloseRoutine(); }, Qt::QueuedConnection);
}

void PanelWindow::runCloseRoutine()
{
    if (panel_)
        panel_->onCloseCommand();
    else
        closeWindow();
}

void PanelWindow::closeWindow()
{
    hide();
    if (boxesRunning_ == 0) {
        deleteLater();
        return;
    }
    // Closed from inside a message box's loop (a close posted by the tick
    // while the box was up): the boxes are put away first, and the window
    // goes once the last of them has returned.
    deletePending_ = true;
    for (QMessageBox* box : findChildren<QMessageBox*>())
        box->reject();
}

// The position kept is the client area's, never the frame's: under X11 the
// frame is known only once the window manager has framed the shown window, so
// a frame position put back before the window shows lands on the client, and
// a window opened again and again creeps up by its title bar. The client's
// position goes back unchanged whether or not the frame is known.
WindowRect PanelWindow::windowRect() const
{
    return FromQRect(isMaximized() || isMinimized() ? normalGeometry() : geometry());
}

WindowRect PanelWindow::desktopRect() const
{
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    return where ? FromQRect(where->availableGeometry()) : WindowRect{};
}

void PanelWindow::moveWindow(int left, int top)
{
    // setGeometry places the client area; move() would take the point for the frame's.
    setGeometry(QRect(QPoint(left, top), size()));
}

void PanelWindow::closeEvent(QCloseEvent* event)
{
    // The panel decides: it may have to wait for a callback first, and it
    // lets the window go through closeWindow().
    event->ignore();
    runCloseRoutine();
}

} // namespace vantel
