// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "interrupts.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace orv {

namespace {

int PipeFds[2] = {-1, -1};
// The signals that ask a command to end: Ctrl+C, kill, and a terminal that went away.
constexpr int Watched[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction Old[std::size(Watched)];

extern "C" void OnSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    // Nothing else is safe here; a full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(PipeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

InterruptWatcher::InterruptWatcher(QObject* parent) : QObject(parent) {
    if (PipeFds[0] >= 0 || ::pipe2(PipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Watched); ++i)
        ::sigaction(Watched[i], &action, &Old[i]);
    pipeNotifier_ = new QSocketNotifier(PipeFds[0], QSocketNotifier::Read, this);
    connect(pipeNotifier_, &QSocketNotifier::activated, this, &InterruptWatcher::readPipe);
}

InterruptWatcher::~InterruptWatcher() {
    if (!pipeNotifier_)
        return;
    for (size_t i = 0; i < std::size(Watched); ++i)
        ::sigaction(Watched[i], &Old[i], nullptr);
    delete pipeNotifier_;
    ::close(PipeFds[0]);
    ::close(PipeFds[1]);
    PipeFds[0] = PipeFds[1] = -1;
}

void InterruptWatcher::readPipe() {
    char bytes[16];
    int last = 0;
    for (;;) {
        const ssize_t n = ::read(PipeFds[0], bytes, sizeof bytes);
        if (n > 0) {
            last = static_cast<unsigned char>(bytes[n - 1]);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (last == 0)
        return;
    const bool first = firstSignal_ == 0;
    if (first)
        firstSignal_ = last;
    emit interrupted(last);
}

} // namespace orv
