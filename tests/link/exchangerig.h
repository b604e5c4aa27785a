// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/exchange/exchange.h"
#include "link/exchange/serialexchange.h"
#include "link/serial/qtserialport.h"
#include "orvemu/decoderemulator.h"
#include "support/waiting.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace orv::test {

// The timing the exchange tests run with: a twentieth of the real figures.
inline LinkTiming TestTiming() {
    return LinkTiming{}.scaled(0.05);
}
// The timing of an exchange that is to end by a time-out, or otherwise (without time-outs).
inline LinkTiming TimingFor(bool timesOut) {
    return timesOut ? TestTiming() : WithoutTimeOuts(TestTiming());
}

// Decoder emulators on "Com 1", "Com 2", ... (links in a temporary folder), a serial port for
// each, and what the exchanges on them reported.
struct ExchangeRig {
    QTemporaryDir dir;
    QtSerialPortFactory factory{dir.path(), [] {
                                    return QList<SerialDevice>{};
                                }};
    std::vector<std::unique_ptr<emu::DecoderEmulator>> emulators;
    std::vector<std::unique_ptr<SerialPort>> ports;

    explicit ExchangeRig(int lines = 1, emu::Kind kind = emu::Kind::Mag) {
        for (int i = 1; i <= lines; ++i) {
            auto e = std::make_unique<emu::DecoderEmulator>(kind);
            if (!e->start() || !e->createLink(ComLinkPath(dir.path(), i)))
                qFatal("no emulator: %s", qPrintable(e->errorString()));
            e->chunkGapMsecs = 2;
            emulators.push_back(std::move(e));
            ports.push_back(factory.createPort());
        }
    }
    emu::DecoderEmulator& emulator(int com = 1) { return *emulators[com - 1]; }
    SerialPort& port(int com = 1) { return *ports[com - 1]; }
    SerialTarget target(int com = 1, const SerialSettings& settings = SerialSettings()) {
        // Com N beyond the emulators has no device; its port is the first one's.
        return SerialTarget{*ports[qMin<int>(com, int(ports.size())) - 1], settings, com};
    }
};

// Watches one exchange: its outcome, when it came, and the progress and status it told.
struct Outcome {
    int count = 0;
    ExchangeResult result;
    qint64 msecs = -1; // from watch() to `finished`
    QStringList statuses;
    QList<std::pair<int, int>> progress;
    QElapsedTimer clock;

    void watch(Exchange& e) {
        watched = &e;
        clock.start();
        QObject::connect(&e, &Exchange::finished, &e, [this](const ExchangeResult& r) {
            ++count;
            result = r;
            msecs = clock.elapsed();
        });
        QObject::connect(&e, &Exchange::statusText, &e,
                         [this](const QString& t) { statuses << t; });
        QObject::connect(&e, &Exchange::progress, &e, [this](int v, int m) {
            progress.append({v, m});
        });
    }
    // In an event loop of its own (QTest::qWaitFor sleeps 10 ms between its turns), until the
    // exchange has finished or the test gives up.
    bool wait(int msecs = GiveUpMsecs) {
        if (count > 0)
            return true;
        QEventLoop loop;
        QObject::connect(watched, &Exchange::finished, &loop, &QEventLoop::quit,
                         Qt::QueuedConnection);
        QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
        loop.exec();
        return count > 0;
    }
    QPointer<Exchange> watched;
};

} // namespace orv::test
