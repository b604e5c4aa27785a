// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "orvctlrun.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>

#include <sys/resource.h>

namespace orv::bench {

double CpuMs(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

Timed RunOrvctl(const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    const double cpuBefore = CpuMs(RUSAGE_CHILDREN);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(ORVCTL_PATH), arguments);
    if (!p.waitForStarted())
        return {};
    loop.exec();
    Timed r;
    r.ms = t.nsecsElapsed() / 1e6;
    r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.cpuMs = CpuMs(RUSAGE_CHILDREN) - cpuBefore;
    p.readAllStandardOutput();
    return r;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace orv::bench
