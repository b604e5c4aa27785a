// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of orvctl (not run by ctest; ./dev.sh bench runs them), each run as a new process
// of the real program, timed from its start to its end:
//   1. "orvctl show FILE" of one configuration file (goal: at most 30 ms);
//   2. "orvctl set FILE KEY=VALUE..." over 1,000 files, one process per file.

#include "core/cfgformat.h"
#include "core/wholefile.h"

#include <QElapsedTimer>
#include <QList>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace orv;

namespace {

// Runs orvctl and returns its wall time in milliseconds, or a negative number on failure.
double TimedRun(const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(ORVCTL_PATH), arguments);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    const double ms = t.nsecsElapsed() / 1e6;
    p.readAllStandardOutput();
    return ms;
}

CfgContents RandomContents(QRandomGenerator& rng) {
    CfgContents c;
    c.DeviceName = QStringLiteral("Reader %1").arg(rng.bounded(1000));
    c.UserName = QStringLiteral("Technician");
    c.SetupDate = QStringLiteral("2026-12-08");
    c.Description = QStringLiteral("Bench configuration");
    for (quint8& b : c.data)
        b = static_cast<quint8>(rng.bounded(256));
    return c;
}

bool Write(const QString& path, const CfgContents& c) {
    QString why;
    return WriteWholeFile(path, *WriteCfgFile(c), &why);
}

double Median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main() {
    QTemporaryDir dir;
    QRandomGenerator rng(11);
    bool ok = dir.isValid();

    // 1. show of one file: the median of 50 runs, after 3 runs that warm the file cache.
    const QString one = dir.filePath(QStringLiteral("one.cfg"));
    ok = ok && Write(one, RandomContents(rng));
    QList<double> shows;
    for (int i = 0; ok && i < 53; ++i) {
        const double ms = TimedRun({QStringLiteral("show"), one});
        ok = ms >= 0;
        if (i >= 3)
            shows << ms;
    }
    if (!ok) {
        std::fprintf(stderr, "bench_orvctl: orvctl show failed\n");
        return 1;
    }
    std::sort(shows.begin(), shows.end());
    std::printf("orvctl show of one file (whole process, median of %lld): %.1f ms (min %.1f, "
                "max %.1f); goal at most 30 ms\n",
                static_cast<long long>(shows.size()), Median(shows), shows.front(), shows.back());

    // 2. set over 1,000 files, one process each.
    constexpr int Files = 1000;
    QStringList paths;
    for (int i = 0; ok && i < Files; ++i) {
        paths << dir.filePath(QStringLiteral("f%1.cfg").arg(i));
        ok = Write(paths.last(), RandomContents(rng));
    }
    QElapsedTimer total;
    total.start();
    QList<double> sets;
    for (int i = 0; ok && i < Files; ++i) {
        const double ms = TimedRun(
            {QStringLiteral("set"), paths[i], QStringLiteral("bar.comm.baud_rate=19200"),
             QStringLiteral("mag.comm.parity=even"), QStringLiteral("bar.misc.prefix={STX}")});
        ok = ms >= 0;
        sets << ms;
    }
    const double seconds = total.nsecsElapsed() / 1e9;
    // Every file now holds the new values.
    for (int i = 0; ok && i < Files; ++i) {
        const ReadResult file = ReadWholeFile(paths[i], MaxConfigFileSize);
        const CfgParseResult parsed = ParseCfgFile(file.bytes);
        ok = file.status == ReadStatus::Ok && parsed.status == CfgParseStatus::Ok &&
             (parsed.contents.data[16] & 0x0C) == 0x0C &&
             (parsed.contents.data[27] & 0xE0) == 0x40 && parsed.contents.data[8] == 2;
    }
    if (!ok) {
        std::fprintf(stderr, "bench_orvctl: orvctl set failed\n");
        return 1;
    }
    std::printf("orvctl set over %d files (one process each, three settings): %.2f s in all, "
                "%.1f ms per file (median %.1f ms)\n",
                Files, seconds, seconds * 1000 / Files, Median(sets));
    return 0;
}
