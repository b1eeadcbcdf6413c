#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace vantel::test {

// Runs the event loop until `done`, at most `limitMs`; false on time-out.
inline bool RunUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace vantel::test
