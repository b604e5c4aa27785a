// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: the time from starting a process to its main window being shown on
// screen, for orvcfg's main window and for a bare Qt main window with an MDI area, measured
// side by side on this machine; and orvcfg's resident memory once its window is shown.
//
//   bench_startup [rounds]          runs both kinds of child process, prints the medians
//   bench_startup --child bare|orvcfg   (internal) one start-up, prints "<rss kB>"
//
// It runs on the platform the environment selects (an X server when DISPLAY is set, else
// QT_QPA_PLATFORM, e.g. offscreen).

#include "app/apppaths.h"
#include "app/fontpreloader.h"
#include "app/icons.h"
#include "app/mainwindow.h"
#include "app/processlauncher.h"
#include "core/config.h"
#include "core/dialogs.h"
#include "link/portaccess/portaccess.h"
#include "link/serial/serialport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace {

// Answers every message at once, so that a start-up warning does not wait for a person.
class AnsweringDialogs : public orv::Dialogs {
public:
    Answer message(const Message&) override { return Answer::Ok; }
    std::optional<QString> openFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileRequest&) override { return std::nullopt; }
};

long ResidentKb();

// Prints the resident memory the moment the window has been exposed and drawn, then (after a
// moment for deferred start-up work) quits.
class ExposeWatcher : public QObject {
public:
    explicit ExposeWatcher(QWidget* window) : window_(window) {
        window_->windowHandle()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose && !done_ && window_->windowHandle()->isExposed()) {
            done_ = true;
            // Queued, so that it runs once the window has handled the expose and painted.
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::printf("%ld\n", ResidentKb());
                    std::fflush(stdout);
                    QTimer::singleShot(300, qApp, &QCoreApplication::quit);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* window_;
    bool done_ = false;
};

long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int Child(int argc, char* argv[], const QByteArray& kind) {
    // The orvcfg child starts exactly as main() does.
    std::optional<orv::FontPreloader> fonts;
    if (kind != "bare")
        fonts.emplace();
    QApplication app(argc, argv);
    if (fonts)
        fonts->wait();
    QApplication::setApplicationName(QStringLiteral("orvcfg"));
    if (kind != "bare")
        QApplication::setWindowIcon(orv::ProgramIcon(orv::StartUpIconSource()));
    QTemporaryDir dir;
    if (kind == "bare") {
        QMainWindow window;
        window.setCentralWidget(new QMdiArea);
        window.resize(800, 600);
        window.show();
        ExposeWatcher watcher(&window);
        return app.exec();
    }
    orv::Config config;
    AnsweringDialogs dialogs;
    orv::ProcessLauncher launcher;
    orv::UnavailablePortAccess port;
    orv::NoSerialPorts serialPorts;
    orv::AppPaths paths = orv::AppPaths::ForThisProcess();
    paths.currentDir = dir.path();
    paths.userConfigDir = dir.path();
    orv::MainWindow window(config, orv::Services{dialogs, launcher, port, serialPorts}, paths);
    window.start();
    ExposeWatcher watcher(&window);
    const int rc = app.exec();
    // Memory once the work that start-up deferred until the window was up has run too.
    std::fprintf(stderr, "rss-after %ld\n", ResidentKb());
    return rc;
}

struct Sample {
    double ms;
    long rssKb;
};

Sample RunChild(const QString& self, const QString& kind) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer t;
    t.start();
    p.start(self, {QStringLiteral("--child"), kind});
    // The child prints one line the moment its window is exposed; the time stops there, before
    // the child tears down.
    while (!p.canReadLine() && p.state() != QProcess::NotRunning)
        p.waitForReadyRead(60000);
    const double ms = t.nsecsElapsed() / 1e6;
    p.waitForFinished(60000);
    if (p.exitCode() != 0) {
        std::fprintf(stderr, "child %s failed: %s\n", qPrintable(kind),
                     p.readAllStandardError().constData());
        return {ms, -1};
    }
    long rss = p.readAllStandardOutput().trimmed().toLong();
    for (const QByteArray& line : p.readAllStandardError().split('\n')) {
        if (line.startsWith("rss-after "))
            rss = std::max(rss, line.mid(10).toLong());
    }
    return {ms, rss};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return Child(argc, argv, argv[2]);
    QCoreApplication app(argc, argv);
    const int rounds = argc >= 2 ? std::max(3, QByteArray(argv[1]).toInt()) : 15;
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> bare, orv;
    long rss = 0;
    RunChild(self, QStringLiteral("bare")); // warm the file cache
    RunChild(self, QStringLiteral("orvcfg"));
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(RunChild(self, QStringLiteral("bare")).ms);
        const Sample s = RunChild(self, QStringLiteral("orvcfg"));
        orv.push_back(s.ms);
        rss = std::max(rss, s.rssKb);
    }
    const double b = Median(bare), o = Median(orv);
    std::printf("start-up to shown main window (median of %d, platform %s)\n", rounds,
                qPrintable(qEnvironmentVariable("DISPLAY").isEmpty()
                               ? qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"))
                               : QStringLiteral("X11 ") + qEnvironmentVariable("DISPLAY")));
    std::printf("  bare Qt main window + MDI area: %7.1f ms\n", b);
    std::printf("  orvcfg main window:             %7.1f ms   ratio %.2f (goal <= 1.20)\n", o,
                o / b);
    std::printf("  orvcfg resident memory:         %7.1f MB   (goal < 40 MB)\n", rss / 1024.0);
    return 0;
}
