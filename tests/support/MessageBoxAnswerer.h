#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <vector>

namespace vantel::test {

// Closes the message boxes a window test provokes, while it lives: records
// each box's caption and text and presses the next scripted button (OK when
// the script is used up).
class MessageBoxAnswerer : public QObject {
public:
    struct Seen {
        QString caption;
        QString text;
    };

    MessageBoxAnswerer()
    {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(5);
    }

    std::deque<QMessageBox::StandardButton> script;
    std::vector<Seen> seen;

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == last_)
            return;
        last_ = box;
        seen.push_back({box->windowTitle(), box->text()});
        QMessageBox::StandardButton choice = QMessageBox::Ok;
        if (!script.empty()) {
            choice = script.front();
            script.pop_front();
        }
        box->button(choice)->click();
    }

    QTimer timer_;
    QPointer<QMessageBox> last_;
};

} // namespace vantel::test
