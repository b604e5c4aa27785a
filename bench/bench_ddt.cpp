// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the keyboard and RS232 test under a flood (not run by ctest; ./dev.sh bench runs
// it): a decoder sends without a pause at the full line rate of 115200 baud for ten minutes, on
// one running line ("CR+LF Enable" off, as the window opens). Every 100 ms a key is typed into
// the keyboard box, and an accessibility client then reads the RS232 box: the window must
// answer within 100 ms, and its resident memory must stay flat.
//
// The decoder is a thread of its own that writes to a pseudo-terminal at the line rate, so a
// window that falls behind cannot slow it down. BENCH_SECONDS shortens the run (default 600);
// BENCH_CRLF=1 runs it with "CR+LF Enable" checked.

#include "link/serial/comports.h"
#include "link/serial/qtserialport.h"
#include "link/windows/ddt.h"
#include "support/fakedialogs.h"

#include "core/config.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDevice>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace orv;
using namespace orv::test;

namespace {

constexpr int LineBaud = 115200;
constexpr int BytesPerSecond = LineBaud / 10; // start bit, 8 data bits, stop bit
constexpr int ProbeMsecs = 100;
constexpr double ReplyGoalMsecs = 100;
constexpr double RssGoalMb = 2;

// What a decoder sends: bar codes and magnetic tracks, each datum framed by control bytes.
const QByteArray Data = QByteArrayLiteral("\x02"
                                          "4006381333931\r\n"
                                          "\x02%B4111111111111111^DOE/JOHN^2512101?\r\n"
                                          "\x02;4111111111111111=2512101?\r\n"
                                          "\x1b[CODE128]ABC-123-xyz\x03\r\n");

double ResidentMb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0) : 0;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(p / 100.0 * static_cast<double>(values.size() - 1));
    return values[index];
}

// The decoder's end of the line: writes Data over and over, paced at the line rate.
class Flood {
public:
    bool open() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return false;
        device_ = QString::fromLocal8Bit(ptsname(master_));
        // Held open, so that the master never sees a hang-up.
        slave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
        return slave_ >= 0;
    }
    QString device() const { return device_; }
    void start() {
        thread_ = std::thread([this] { run(); });
    }
    void stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    ~Flood() {
        stop();
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
    }
    qint64 sent() const { return sent_; }

private:
    void run() {
        const auto begin = std::chrono::steady_clock::now();
        qsizetype offset = 0;
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            qint64 due = static_cast<qint64>(elapsed * BytesPerSecond) - sent_;
            while (due > 0 && !stop_) {
                const qsizetype n = std::min<qsizetype>(due, Data.size() - offset);
                const ssize_t written = ::write(master_, Data.constData() + offset, n);
                if (written <= 0)
                    return;
                offset = (offset + written) % Data.size();
                due -= written;
                sent_ += written;
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    QString device_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<qint64> sent_{0};
};

// Times the paints of one widget: the layout of the box's text happens there.
class PaintTimingApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (receiver != watched || event->type() != QEvent::Paint)
            return QApplication::notify(receiver, event);
        QElapsedTimer t;
        t.start();
        const bool done = QApplication::notify(receiver, event);
        paints.push_back(t.nsecsElapsed() / 1e6);
        return done;
    }
    QObject* watched = nullptr;
    std::vector<double> paints;
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PaintTimingApp app(argc, argv);
    const int seconds = qEnvironmentVariableIsSet("BENCH_SECONDS")
                            ? qEnvironmentVariableIntValue("BENCH_SECONDS")
                            : 600;
    const bool crlf = qEnvironmentVariableIntValue("BENCH_CRLF") != 0;
    std::printf("orvcfg keyboard and RS232 test under a flood\n\n");

    QTemporaryDir dir;
    Flood flood;
    if (!flood.open() || !QFile::link(flood.device(), ComLinkPath(dir.path(), 1)))
        qFatal("no pseudo-terminal");
    Config config;
    config.InitStartState(QDate::currentDate());
    config.ComPort = 1;
    config.LineSettings = {LineBaud, Parity::None, 8, 1};
    FakeDialogs dialogs;
    QtSerialPortFactory serialPorts(dir.path(), [] { return QList<SerialDevice>{}; });

    Ddt window(config, dialogs, serialPorts);
    window.load();
    window.show();
    if (!window.serialPort().isOpen())
        qFatal("the test window did not open its port");
    window.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(crlf);
    auto* keyboard = window.findChild<QPlainTextEdit*>(QStringLiteral("txtKB"));
    auto* rs232 = window.findChild<QPlainTextEdit*>(QStringLiteral("TxtRS232"));
    app.watched = rs232->viewport();
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(rs232);
    if (!reader || !reader->textInterface())
        qFatal("no accessible text of the RS232 box");

    // A key typed every 100 ms from another thread, time-stamped when posted; answered when
    // the keyboard box shows it and the accessibility client has read the RS232 box.
    QElapsedTimer clock;
    clock.start();
    std::mutex pendingLock;
    std::deque<qint64> pending; // when each key not yet shown was posted
    std::vector<double> replies;
    std::vector<double> reads;
    qint64 readChars = 0;
    QObject::connect(keyboard, &QPlainTextEdit::textChanged, keyboard, [&] {
        qint64 posted = -1;
        {
            const std::lock_guard guard(pendingLock);
            if (pending.empty())
                return; // the box emptied by the 41-line rule
            posted = pending.front();
            pending.pop_front();
        }
        const qint64 readStart = clock.nsecsElapsed();
        QAccessibleTextInterface* text = reader->textInterface();
        const int count = text->characterCount();
        readChars += text->text(0, count).size() + reader->text(QAccessible::Value).size();
        const qint64 now = clock.nsecsElapsed();
        reads.push_back((now - readStart) / 1e6);
        replies.push_back((now - posted) / 1e6);
    });
    QInputDevice::primaryKeyboard(); // made here, on the window's thread, before keys come
    std::atomic<bool> probing{true};
    std::thread prober([&] {
        int n = 0;
        while (probing) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ProbeMsecs));
            // Enter now and then, so that the keyboard box is emptied as it is in use.
            const bool enter = ++n % 20 == 0;
            const int key = enter ? Qt::Key_Return : Qt::Key_A;
            const QString typed = enter ? QStringLiteral("\r") : QStringLiteral("a");
            {
                const std::lock_guard guard(pendingLock);
                pending.push_back(clock.nsecsElapsed());
            }
            QCoreApplication::postEvent(
                keyboard, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, typed));
            QCoreApplication::postEvent(
                keyboard, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, typed));
        }
    });

    // Resident memory once a second; the growth counts from when the box has filled up and the
    // program has settled (a sixth of the run, at least 10 s, at most 60 s).
    const int settleSeconds = std::clamp(seconds / 6, 10, 60);
    double settledRss = 0;
    double peakRss = 0;
    double lastRss = 0;
    double settledCpu = 0;
    qint64 settledAt = 0;
    int boxChars = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        lastRss = ResidentMb();
        boxChars = rs232->document()->characterCount() - 1;
        if (clock.elapsed() >= settleSeconds * 1000) {
            if (settledRss == 0) {
                settledRss = lastRss;
                settledCpu = CpuSeconds();
                settledAt = clock.elapsed();
            }
            peakRss = std::max(peakRss, lastRss);
        }
    });
    sampler.start(1000);

    flood.start();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double cpu = CpuSeconds() - settledCpu;
    const double wall = (clock.elapsed() - settledAt) / 1000.0;
    probing = false;
    prober.join();
    flood.stop();
    {
        const std::lock_guard guard(pendingLock);
        // A key still waiting at the end waited at least this long.
        for (qint64 posted : pending)
            replies.push_back((clock.nsecsElapsed() - posted) / 1e6);
    }

    const double worst = replies.empty() ? 0 : *std::max_element(replies.begin(), replies.end());
    const double growth = lastRss - settledRss;
    std::printf("%d s at %d baud, CR+LF Enable %s: %lld bytes sent (%.0f bytes/s), %zu keys\n",
                seconds, LineBaud, crlf ? "on" : "off", static_cast<long long>(flood.sent()),
                flood.sent() / (clock.elapsed() / 1000.0), replies.size());
    std::printf("  RS232 box at the end: %d characters (kept: %d)\n", boxChars, Ddt::KeptTextChars);
    std::printf("  reply to a key, with an accessible read of the RS232 box: median %.2f ms, "
                "99th percentile %.2f ms, worst %.2f ms\n",
                Percentile(replies, 50), Percentile(replies, 99), worst);
    std::printf("  the accessible read alone: median %.2f ms, worst %.2f ms (%lld characters "
                "read in all)\n",
                Percentile(reads, 50),
                reads.empty() ? 0 : *std::max_element(reads.begin(), reads.end()),
                static_cast<long long>(readChars));
    std::printf("  paint of the RS232 box (its text laid out): %zu paints, median %.2f ms, "
                "worst %.2f ms\n",
                app.paints.size(), Percentile(app.paints, 50),
                app.paints.empty() ? 0 : *std::max_element(app.paints.begin(), app.paints.end()));
    std::printf("  CPU after %d s: %.1f %% of a core\n", settleSeconds, 100.0 * cpu / wall);
    std::printf("  resident memory after %d s: %.1f MB, at the end %.1f MB, peak %.1f MB\n",
                settleSeconds, settledRss, lastRss, peakRss);
    const bool replyMet = worst <= ReplyGoalMsecs;
    const bool rssMet = growth < RssGoalMb;
    std::printf("%-52s %10.2f %-3s  goal %-16s %s\n", "reply to input, worst", worst, "ms",
                "<= 100 ms", replyMet ? "met" : "NOT MET");
    std::printf("%-52s %10.2f %-3s  goal %-16s %s\n", "resident memory growth", growth, "MB",
                "< 2 MB", rssMet ? "met" : "NOT MET");
    // The verdict is printed; the exit status stays 0 so that ./dev.sh bench runs every benchmark.
    std::printf("\n%s\n", replyMet && rssMet ? "All goals met." : "Some goals NOT met.");
    return 0;
}
