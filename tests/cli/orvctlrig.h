// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rig of the tests that run orvctl's link commands as the real program (QProcess) against
// decoder emulators on pseudo-terminals in the test's own process.

#include "core/config.h"
#include "orvemu/decoderemulator.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace orv::test {

// The link timing of a run whose every exchange ends by its time-out, which then passes
// quickly. Any other run has the real timing, whose time-outs no stall of a busy machine lets come
// before a decoder's answer.
constexpr double TimingScale = 0.1;

struct Run {
    int exit = -1;
    QByteArray out;
    QByteArray err;
};

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);
// What a running orvctl has written to `channel` so far (left for the end of the run to read).
QByteArray Shown(QProcess& p, QProcess::ProcessChannel channel);

class OrvctlRig {
protected:
    // A fresh folder for every test function (its init), and everything gone at its cleanup.
    void startRig();
    void endRig();

    emu::DecoderEmulator& decoder(emu::Kind kind = emu::Kind::Mag,
                                  emu::Fault fault = emu::Fault::None);
    QString path(const QString& name) const { return dir_->filePath(name); }
    // Runs orvctl to its end while the emulators answer; `started` runs once the process is up;
    // `child` runs in the child process before orvctl starts.
    Run orvctl(const QStringList& arguments,
               const std::function<void(QProcess&)>& started = nullptr,
               const std::function<void()>& child = nullptr);
    // A configuration file with a recognisable image.
    QString writeConfig(const QString& name, quint8 seed, int comPort = 1);
    Image imageOf(const QString& file) const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::vector<std::unique_ptr<emu::DecoderEmulator>> decoders_;
    double timingScale_ = 1; // of the link timing orvctl runs with (ORVCTL_TIMING_SCALE)
};

} // namespace orv::test
