// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of orvctl's link commands against emulated decoders (not run by ctest;
// ./dev.sh bench runs them):
//   1. provisioning: "orvctl download FILE --verify" on 1 and on 8 decoders at once, with the
//      emulators pacing every byte at the line rate (9600 baud) — goal: 8 take at most 1.3
//      times as long as 1;
//   2. host overhead per exchange: the commands run in this process against unpaced emulators,
//      so all the time is the program's own (opening the port, the frames, the replies, the
//      results) plus the emulator's — goal: under 5 ms;
//   3. CPU while waiting: "orvctl upload" on 8 silent decoders with the real 7 s time-out,
//      the CPU time of the whole process over its wall time — goal: under 1 % of a core.

#include "cli/commandset.h"
#include "cli/console.h"
#include "cli/filecommands.h"
#include "cli/linkcommands.h"
#include "core/cfgformat.h"
#include "core/config.h"
#include "core/wholefile.h"
#include "orvctlrun.h"
#include "orvemu/decoderemulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/resource.h>

using namespace orv;
using emu::DecoderEmulator;
using namespace orv::bench;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::vector<std::unique_ptr<DecoderEmulator>> decoders;
    for (int i = 0; i < 8; ++i) {
        decoders.push_back(
            std::make_unique<DecoderEmulator>(i % 2 ? emu::Kind::Bar : emu::Kind::Mag));
        if (!decoders.back()->start()) {
            std::fprintf(stderr, "bench_orvctl_link: no emulator\n");
            return 1;
        }
    }
    CfgContents contents;
    contents.data = Config::BuiltInDefaults();
    contents.data[16] ^= 0x04;
    contents.data[30] ^= 0x01;
    const QString file = dir.filePath(QStringLiteral("shop.cfg"));
    QString why;
    if (!WriteWholeFile(file, *WriteCfgFile(contents), &why))
        return 1;
    auto ports = [&decoders](int n) {
        QStringList args;
        for (int i = 0; i < n; ++i)
            args << QStringLiteral("--port") << decoders[i]->devicePath();
        return args;
    };

    // BENCH_PART=2 runs only the second part (for profiling it).
    const bool onlyOverhead = qEnvironmentVariable("BENCH_PART") == QLatin1String("2");

    // 1. Provisioning with line-rate pacing.
    for (auto& d : decoders)
        d->paceLine = true;
    // The frames on the line at 9600 baud, 10 bits a byte: the download (90 bytes) and its
    // answer (1), the upload request (4) and its block (84).
    const double lineMs = (90 + 1 + 4 + 84) * 10 * 1000.0 / 9600;
    std::vector<double> one, eight;
    for (int round = 0; round < (onlyOverhead ? 0 : 7); ++round) {
        const Timed a = RunOrvctl(QStringList{"download", file, "--verify"} + ports(1));
        const Timed b = RunOrvctl(QStringList{"download", file, "--verify"} + ports(8));
        if (a.exit != 0 || b.exit != 0) {
            std::fprintf(stderr, "bench_orvctl_link: provisioning failed (%d, %d)\n", a.exit,
                         b.exit);
            return 1;
        }
        one.push_back(a.ms);
        eight.push_back(b.ms);
    }
    const double m1 = onlyOverhead ? 0 : Median(one);
    const double m8 = onlyOverhead ? 0 : Median(eight);
    std::printf("download --verify, paced at 9600 baud (line time %.0f ms), whole orvctl process, "
                "median of 7:\n  1 decoder: %.1f ms\n  8 decoders at once: %.1f ms\n  ratio "
                "%.2f (goal at most 1.3)\n",
                lineMs, m1, m8, m8 / m1);

    // 2. Host overhead per exchange, in this process, without pacing.
    for (auto& d : decoders)
        d->paceLine = false;
    CommandSet commands(QStringLiteral("orvctl"), QStringLiteral("bench"), QString());
    AddFileCommands(commands);
    AddLinkCommands(commands);
    // Wall time and CPU time of this process per exchange.
    auto perExchange = [&](const QStringList& args, int exchanges, int runs) {
        QElapsedTimer t;
        const double cpu = CpuMs(RUSAGE_SELF);
        t.start();
        for (int i = 0; i < runs; ++i) {
            BufferConsole console;
            if (commands.run(args, console) != 0) {
                std::fprintf(stderr, "bench_orvctl_link: %s\n", console.err.constData());
                return std::pair{-1.0, -1.0};
            }
        }
        const double n = double(runs) * exchanges;
        return std::pair{t.nsecsElapsed() / 1e6 / n, (CpuMs(RUSAGE_SELF) - cpu) / n};
    };
    const auto version1 = perExchange(QStringList{"version"} + ports(1), 1, 200);
    const auto download1 = perExchange(QStringList{"download", file} + ports(1), 1, 200);
    const auto version8 = perExchange(QStringList{"version"} + ports(8), 8, 50);
    std::printf("host overhead per exchange (in-process, unpaced, emulator included; goal under "
                "5 ms), wall / CPU:\n  version on 1 port: %.2f / %.2f ms\n  download on 1 port: "
                "%.2f / %.2f ms\n  version on 8 ports at once: %.2f / %.2f ms per port\n",
                version1.first, version1.second, download1.first, download1.second, version8.first,
                version8.second);

    if (onlyOverhead)
        return 0;

    // 3. CPU while 8 exchanges wait for silent decoders (the real 7 s upload time-out).
    for (auto& d : decoders)
        d->core().fault = emu::Fault::Silent;
    const Timed idle = RunOrvctl(QStringList{"upload", "-o", dir.filePath("u-%p.cfg")} + ports(8));
    const Timed start = RunOrvctl({QStringLiteral("--version")});
    std::printf("CPU while waiting: upload on 8 silent decoders, %.0f ms wall, %.1f ms CPU "
                "(start-up alone %.1f ms): %.3f %% of a core over the run, %.3f %% without the "
                "start-up (goal under 1 %%)\n",
                idle.ms, idle.cpuMs, start.cpuMs, idle.cpuMs * 100 / idle.ms,
                std::max(0.0, idle.cpuMs - start.cpuMs) * 100 / idle.ms);
    return idle.exit == 1 ? 0 : 1;
}
