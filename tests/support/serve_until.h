#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Serves Qt events until done() holds (true) or limitMs have passed (false).
template <typename Done> bool serveUntil(Done done, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
