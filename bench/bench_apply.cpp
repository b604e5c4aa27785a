// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of orvctl apply against emulated decoders (not run by ctest; ./dev.sh bench runs
// them), the decoders pacing every byte at the line rate (9600 baud):
//   1. apply on a decoder that is as the file says, against one upload — goal: at most 1.1
//      times as long (one upload is all it sends);
//   2. apply on a decoder that differs, against download --verify — goal: at most 1.1 times
//      (an upload more);
//   3. --watch: 16 decoders appearing at once (links made in a watched folder): from the links
//      to each decoder's first frame (detection), and to all 16 served — goal: detection
//      within 0.5 s, all served within 1.3 times one decoder's apply;
//   4. --watch while idle, 10 s each with a folder pattern and with every serial port: the CPU
//      time of the process over its wall time, start-up left out — goal: under 1 % of a core.

#include "core/cfgformat.h"
#include "core/config.h"
#include "orvctlrun.h"
#include "orvemu/decoderemulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <sys/resource.h>

using namespace orv;
using namespace orv::bench;
using emu::DecoderEmulator;

namespace {

// The settings a decoder of this kind holds when it is as the image says.
QByteArray RegionOf(const Image& image, emu::Kind kind) {
    const QByteArray all(reinterpret_cast<const char*>(image.data()), ImageSize);
    return kind == emu::Kind::Bar ? all.left(25) : all.mid(25);
}

// Median times of orvctl runs on one decoder, its settings set before each run.
double MedianMs(const QStringList& args, DecoderEmulator& d, const QByteArray& settings,
                int expectedExit) {
    std::vector<double> ms;
    for (int round = 0; round < 7; ++round) {
        d.core().settings = settings;
        const Timed t = RunOrvctl(args);
        if (t.exit != expectedExit) {
            std::fprintf(stderr, "bench_apply: exit %d from %s\n", t.exit,
                         qPrintable(args.join(' ')));
            std::exit(1);
        }
        ms.push_back(t.ms);
    }
    return Median(ms);
}

// Runs `orvctl apply FILE --watch` with these further options: `go` once it watches, until
// `done` (given its output and how long it has watched; asked at every output and every 100 ms)
// says so; its CPU time without the start-up, and how long it watched.
struct Watched {
    double wallMs = 0;
    double cpuMs = 0;
};

Watched Watch(const QString& file, const QStringList& options, const std::function<void()>& go,
              const std::function<bool(const QByteArray&, qint64)>& done) {
    QProcess p;
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    const double cpuBefore = CpuMs(RUSAGE_CHILDREN);
    p.start(QStringLiteral(ORVCTL_PATH), QStringList{"apply", file, "--watch"} + options);
    QByteArray out;
    QElapsedTimer since;
    QObject::connect(&p, &QProcess::readyReadStandardError, &loop, [&] {
        if (p.readAllStandardError().contains("watching") && !since.isValid()) {
            since.start();
            go();
        }
    });
    QObject::connect(&p, &QProcess::readyReadStandardOutput, &loop, [&] {
        out += p.readAllStandardOutput();
        if (done(out, since.elapsed()))
            ::kill(p.processId(), SIGINT);
    });
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (since.isValid() && done(out, since.elapsed()))
            ::kill(p.processId(), SIGINT);
    });
    check.start(100);
    loop.exec();
    const Timed start = RunOrvctl({QStringLiteral("--version")});
    return {double(since.elapsed()), CpuMs(RUSAGE_CHILDREN) - cpuBefore - start.cpuMs};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    constexpr int Count = 16;
    std::vector<std::unique_ptr<DecoderEmulator>> decoders;
    for (int i = 0; i < Count; ++i) {
        decoders.push_back(
            std::make_unique<DecoderEmulator>(i % 2 ? emu::Kind::Bar : emu::Kind::Mag));
        if (!decoders.back()->start())
            return 1;
        decoders.back()->paceLine = true;
    }
    CfgContents contents;
    contents.data = Config::BuiltInDefaults();
    contents.data[10] = 0x02; // a prefix of STX for both
    contents.data[45] = 0x02;
    const QString file = dir.filePath(QStringLiteral("shop.cfg"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(*WriteCfgFile(contents)) < 0)
        return 1;
    f.close();
    DecoderEmulator& one = *decoders.front();
    const QByteArray old = one.core().settings;
    const QByteArray wanted = RegionOf(contents.data, one.core().kind());
    const QStringList port{"--port", one.devicePath()};

    // 1. and 2.
    const double upload =
        MedianMs(QStringList{"upload", "-o", dir.filePath("u.cfg")} + port, one, old, 0);
    const double unchanged = MedianMs(QStringList{"apply", file} + port, one, wanted, 0);
    const double verify = MedianMs(QStringList{"download", file, "--verify"} + port, one, old, 0);
    const double changing = MedianMs(QStringList{"apply", file} + port, one, old, 0);
    std::printf("paced at 9600 baud, whole orvctl process, median of 7:\n"
                "  apply, unchanged: %.1f ms; one upload: %.1f ms; ratio %.2f (goal at most 1.1)\n"
                "  apply, changing: %.1f ms; download --verify: %.1f ms; ratio %.2f (goal at most "
                "1.1)\n",
                unchanged, upload, unchanged / upload, changing, verify, changing / verify);

    // 3. 16 decoders appear at once.
    QDir(dir.path()).mkdir("line");
    QElapsedTimer plugged;
    std::vector<double> detected;
    for (auto& d : decoders) {
        d->core().settings = emu::DecoderCore::DefaultSettings(d->core().kind());
        d->core().frames.clear();
        QObject::connect(d.get(), &DecoderEmulator::frameReceived, d.get(),
                         [&detected, &plugged, d = d.get()] {
                             if (d->core().frames.size() == 1)
                                 detected.push_back(plugged.nsecsElapsed() / 1e6);
                         });
    }
    double allServed = 0;
    Watch(
        file, {"--match", dir.filePath("line/"), "--json"},
        [&] {
            plugged.start();
            for (int i = 0; i < Count; ++i)
                QFile::link(decoders[i]->devicePath(), dir.filePath("line/d%1").arg(i));
        },
        [&](const QByteArray& out, qint64) {
            if (out.count('\n') < Count)
                return false;
            allServed = plugged.nsecsElapsed() / 1e6;
            return true;
        });
    std::sort(detected.begin(), detected.end());
    if (int(detected.size()) != Count)
        return 1;
    std::printf("--watch, %d decoders plugged at once: first detected after %.1f ms, the last "
                "after %.1f ms (goal within 500 ms); all %d served after %.1f ms, %.2f times one "
                "decoder's apply (goal at most 1.3)\n",
                Count, detected.front(), detected.back(), Count, allServed, allServed / changing);

    // 4. Idle.
    for (const QStringList& options :
         {QStringList{"--match", dir.filePath("empty/*")}, QStringList()}) {
        const Watched idle = Watch(
            file, options, [] {}, [](const QByteArray&, qint64 msecs) { return msecs >= 10000; });
        std::printf("--watch %s, idle: %.1f ms CPU in %.0f ms, %.3f %% of a core (goal under 1 "
                    "%%)\n",
                    options.isEmpty() ? "on every serial port" : "on a folder pattern", idle.cpuMs,
                    idle.wallMs, idle.cpuMs * 100 / idle.wallMs);
    }
    return 0;
}
