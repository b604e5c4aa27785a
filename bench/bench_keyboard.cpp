// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the keyboard link's byte spacing (not run by ctest; ./dev.sh bench runs it): a
// keyboard download at the real timing against the recording port access, whose time stamps
// give the gaps between the 172 data characters. Run once on an idle machine and once with a
// thread spinning on the other core; the goal is 4 +/- 1 ms at the 99th percentile. The
// nested-pause writing the link windows used before is measured beside it for comparison.
//
//   bench_keyboard [RUNS]   (default 5 downloads per case)

#include "link/exchange/keyboardexchanges.h"
#include "link/portaccess/portaccess.h"
#include "support/recordingportaccess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

using namespace orv;
using namespace orv::test;

namespace {

struct Stats {
    double min = 0, p50 = 0, p99 = 0, max = 0, mean = 0;
    double within = 0; // share of gaps within 4 +/- 1 ms
    qsizetype count = 0;
};

Stats StatsOf(QList<double> v) {
    Stats s;
    s.count = v.size();
    if (v.isEmpty())
        return s;
    std::sort(v.begin(), v.end());
    s.min = v.front();
    s.max = v.back();
    s.p50 = v[v.size() / 2];
    s.p99 = v[std::min<qsizetype>(v.size() - 1, (v.size() * 99) / 100)];
    qsizetype in = 0;
    double sum = 0;
    for (double g : v) {
        in += g >= 3.0 && g <= 5.0;
        sum += g;
    }
    s.mean = sum / v.size();
    s.within = 100.0 * in / v.size();
    return s;
}

// Gaps (ms) between successive writes to the keyboard data port from index `from` on.
QList<double> Gaps(const RecordingPortAccess& port, qsizetype from, qsizetype to) {
    QList<double> out;
    for (qsizetype i = from + 1; i < to; ++i)
        out << (port.writes[i].nsecs - port.writes[i - 1].nsecs) / 1e6;
    return out;
}

// One keyboard download at the real timing; the decoder answers "S" after the first burst and
// "P" after the data. Returns the gaps between the data characters.
QList<double> Download() {
    RecordingPortAccess port;
    Image img{};
    for (int i = 0; i < ImageSize; ++i)
        img[i] = static_cast<quint8>(i * 7);
    KeyboardDownloadExchange ex(port, img, true, LinkTiming());
    QEventLoop loop;
    QObject::connect(&ex, &Exchange::finished, &loop, &QEventLoop::quit);
    int letters = 0;
    port.onWrite = [&](const RecordingPortAccess::Write& w) {
        if (w.port != KeyboardDataPort)
            return;
        ++letters;
        if (letters == 5)
            QTimer::singleShot(20, Qt::PreciseTimer, &ex, [&] { ex.typed(QStringLiteral("S")); });
    };
    QObject::connect(&ex, &KeyboardExchange::answerAwaited, &ex, [&] {
        QTimer::singleShot(20, Qt::PreciseTimer, &ex, [&] { ex.typed(QStringLiteral("P")); });
    });
    ex.start();
    loop.exec();
    port.onWrite = nullptr;
    // 5 letters, the unmask, 172 data characters, the unmask.
    if (port.writes.size() != 5 + 1 + KeyboardDownloadLength + 1) {
        std::fprintf(stderr, "unexpected write count %lld\n", (long long)port.writes.size());
        return {};
    }
    return Gaps(port, 6, 6 + KeyboardDownloadLength);
}

// The link windows' former way, kept here for comparison: each byte followed by a 4 ms pause
// in a nested event loop.
void NestedPause(int msecs) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(msecs);
    loop.exec();
}

QList<double> NestedPauses() {
    RecordingPortAccess port;
    for (int i = 0; i < KeyboardDownloadLength; ++i) {
        port.SetPortVal(KeyboardDataPort, 'A', 1);
        NestedPause(4);
    }
    return Gaps(port, 0, port.writes.size());
}

void Print(const char* what, const Stats& s) {
    // The mean shows drift: bytes timed each from the one before fall behind a little every time.
    std::printf("%-36s n=%4lld  p50 %.2f  p99 %.2f  min %.2f  max %.2f  mean %.3f ms  within "
                "4+/-1: %.1f%%  goal p99 in [3, 5]: %s\n",
                what, (long long)s.count, s.p50, s.p99, s.min, s.max, s.mean, s.within,
                s.p99 >= 3.0 && s.p99 <= 5.0 ? "met" : "MISSED");
}

void RunCase(const char* label, int runs) {
    QList<double> deadline, nested;
    for (int r = 0; r < runs; ++r) {
        deadline += Download();
        nested += NestedPauses();
    }
    std::printf("%s\n", label);
    Print("  exchange (deadline writer)", StatsOf(deadline));
    Print("  nested 4 ms pauses (former windows)", StatsOf(nested));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    RunCase("no load of its own", runs);

    std::atomic<bool> stop{false};
    std::thread load([&] {
        volatile unsigned long x = 0;
        while (!stop.load(std::memory_order_relaxed))
            x = x + 1;
    });
    RunCase("one thread spinning beside it", runs);
    stop = true;
    load.join();
    return 0;
}
