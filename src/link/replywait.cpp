#include "replywait.h"

#include <QEventLoop>
#include <QTimer>

namespace orv {

void ReplyWait::set() {
    done_ = true;
    if (loop_)
        loop_->quit();
}

void ReplyWait::wait() {
    if (done_ || loop_)
        return;
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
}

void Pause(int msecs) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(msecs);
    loop.exec();
}

} // namespace orv
