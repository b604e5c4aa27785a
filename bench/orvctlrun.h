// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks of orvctl's link commands share: running orvctl as a program while the
// benchmark's event loop serves its emulated decoders, timed.

#include <QStringList>

#include <vector>

namespace orv::bench {

struct Timed {
    int exit = -1;
    double ms = 0;
    double cpuMs = 0; // user + system time of the process
};

// The CPU time (user + system) of RUSAGE_SELF or RUSAGE_CHILDREN so far, in milliseconds.
double CpuMs(int who);
// Runs orvctl (ORVCTL_PATH) to its end while this process's event loop serves the emulators.
Timed RunOrvctl(const QStringList& arguments);
double Median(std::vector<double> v);

} // namespace orv::bench
