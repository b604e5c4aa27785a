// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/serial/qtserialport.h"
#include "link/services.h"
#include "link/windows/linkwindow.h"
#include "orvemu/decoderemulator.h"
#include "support/fakedialogs.h"
#include "support/fakelauncher.h"
#include "support/fakeshell.h"
#include "support/recordingportaccess.h"
#include "support/waiting.h"

#include "app/windowregistry.h"
#include "core/config.h"

#include <QAbstractButton>
#include <QDate>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace orv::test {

// The window tests run the link at a tenth of its real timing (the exchange tests measure the
// real figures); Scaled() gives a time of the real link in that timing. A rig has no reply
// time-outs unless its test, waiting for one to run out, gives it TestTiming().
constexpr double TimingScale = 0.1;
inline LinkTiming TestTiming() {
    return LinkTiming{}.scaled(TimingScale);
}
inline int Scaled(int msecs) {
    return static_cast<int>(msecs * TimingScale);
}
// The timing of a rig whose exchange is to end by a time-out, or otherwise (without time-outs).
inline LinkTiming TimingFor(bool timesOut) {
    return timesOut ? TestTiming() : WithoutTimeOuts(TestTiming());
}

// Calls `f` each time `widget` becomes enabled (e.g. the buttons at the end of an exchange).
inline void WhenEnabled(QWidget* widget, std::function<void()> f) {
    struct Filter : QObject {
        QWidget* widget = nullptr;
        std::function<void()> f;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::EnabledChange && widget->isEnabled())
                f();
            return false;
        }
    };
    auto* filter = new Filter;
    filter->widget = widget;
    filter->f = std::move(f);
    filter->setParent(widget);
    widget->installEventFilter(filter);
}

// A link window on its own, with the recording port access, scripted dialogs, and the decoder
// emulator on "Com 1" (a link in a temporary configuration folder; no other port exists).
template <typename Window> struct LinkRig {
    QTemporaryDir dir;
    Config config;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    RecordingPortAccess port;
    emu::DecoderEmulator emulator;
    QtSerialPortFactory serialPorts{dir.path(), [] {
                                        return QList<SerialDevice>{};
                                    }};
    QPointer<Window> window;
    LinkTiming timing;

    LinkRig(const WindowInfo& info, emu::Kind kind, qint16 linkMode,
            const LinkTiming& linkTiming = TimingFor(false))
        : emulator(kind), timing(linkTiming) {
        emulator.chunkGapMsecs = 2;
        config.InitStartState(QDate(2026, 12, 8));
        config.BuildBarDefaults();
        config.BuildMagDefaults();
        config.CfgData = config.CfgDefault;
        config.CfgSaved = config.CfgDefault;
        config.LinkMode = linkMode;
        if (!emulator.start() || !emulator.createLink(ComLinkPath(dir.path(), 1)))
            qFatal("no emulator: %s", qPrintable(emulator.errorString()));
        window = new Window(config, info, services());
        window->setHost(&shell);
        window->load();
        window->show();
    }
    ~LinkRig() { delete window.data(); }

    Services services() { return Services{dialogs, launcher, port, serialPorts, timing}; }

    template <typename T = QWidget> T* control(const char* name) const {
        T* w = window->template findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QAbstractButton* option(const char* group, int index) const {
        return control<QAbstractButton>(qPrintable(QStringLiteral("%1(%2)").arg(group).arg(index)));
    }
    // Clicks a button and waits until the exchange it started has ended (its message shown,
    // the buttons enabled again), or the window has gone, or the test gives up. Returns the
    // milliseconds it took.
    qint64 click(const char* name) {
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(button(name), Qt::LeftButton);
        waitForExchange();
        return t.elapsed();
    }
    // In an event loop of its own (QTest::qWaitFor would sleep 10 ms between its turns, far
    // coarser than the link's scaled timing).
    bool waitForExchange(int timeoutMsecs = GiveUpMsecs) {
        auto done = [this] {
            return !window || !window->isExchangeRunning();
        };
        if (done())
            return true;
        QEventLoop loop;
        QObject::connect(window, &LinkWindow::exchangeEnded, &loop, &QEventLoop::quit);
        QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeoutMsecs, &loop, &QEventLoop::quit);
        loop.exec();
        return done();
    }
    bool allEnabled(std::initializer_list<const char*> buttons) const {
        for (const char* b : buttons) {
            if (!button(b)->isEnabled())
                return false;
        }
        return true;
    }
};

} // namespace orv::test
