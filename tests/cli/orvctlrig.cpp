// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "orvctlrig.h"

#include "core/cfgformat.h"
#include "support/waiting.h"

#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace orv::test {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Shown(QProcess& p, QProcess::ProcessChannel channel) {
    p.setReadChannel(channel);
    return p.peek(p.bytesAvailable());
}

void OrvctlRig::startRig() {
    timingScale_ = 1;
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void OrvctlRig::endRig() {
    decoders_.clear();
    dir_.reset();
}

emu::DecoderEmulator& OrvctlRig::decoder(emu::Kind kind, emu::Fault fault) {
    auto d = std::make_unique<emu::DecoderEmulator>(kind);
    if (!d->start())
        qFatal("no emulator: %s", qPrintable(d->errorString()));
    d->core().fault = fault;
    d->chunkGapMsecs = 2; // split replies: in pieces, well within the scaled time-outs
    decoders_.push_back(std::move(d));
    return *decoders_.back();
}

Run OrvctlRig::orvctl(const QStringList& arguments, const std::function<void(QProcess&)>& started,
                      const std::function<void()>& child) {
    QProcess p;
    if (child)
        p.setChildProcessModifier(child);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVCTL_TIMING_SCALE"), QString::number(timingScale_));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_->path());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir_->path());
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(GiveUpMsecs, &loop, &QEventLoop::quit);
    p.start(QStringLiteral(ORVCTL_PATH), arguments);
    if (!p.waitForStarted(GiveUpMsecs))
        qFatal("orvctl did not start");
    if (started)
        started(p);
    if (p.state() != QProcess::NotRunning)
        loop.exec();
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        qWarning("orvctl did not finish: %s", qPrintable(arguments.join(QLatin1Char(' '))));
    }
    Run r{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
    if (qEnvironmentVariableIsSet("ORVCTL_TEST_VERBOSE"))
        qDebug("exit %d\n%s%s", r.exit, r.out.constData(), r.err.constData());
    return r;
}

QString OrvctlRig::writeConfig(const QString& name, quint8 seed, int comPort) {
    CfgContents c;
    c.DeviceName = QStringLiteral("Reader %1").arg(seed);
    c.UserName = QStringLiteral("Ann");
    c.SetupDate = QStringLiteral("2026-12-08");
    c.Description = QStringLiteral("Line 3, \"front\"");
    c.ComPort = static_cast<qint16>(comPort);
    c.LinkMode = 0;
    for (int i = 0; i < ImageSize; ++i)
        c.data[i] = static_cast<quint8>(seed * 7 + i * 13);
    WriteAll(path(name), *WriteCfgFile(c));
    return path(name);
}

Image OrvctlRig::imageOf(const QString& file) const {
    return ParseCfgFile(ReadAll(file)).contents.data;
}
} // namespace orv::test
