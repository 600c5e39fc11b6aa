#include "platform/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

QtEventPump::QtEventPump() {
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
}

void QtEventPump::processEvents(int64_t maxWaitMs) {
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    deadline_.start(
        static_cast<int>(std::min<int64_t>(maxWaitMs, std::numeric_limits<int>::max())));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    deadline_.stop();
}
