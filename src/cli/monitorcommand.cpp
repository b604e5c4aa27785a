// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksetup.h"

#include "commandset.h"
#include "console.h"
#include "interrupts.h"

#include "link/exchange/linkmessages.h"
#include "link/exchange/receptiongatherer.h"
#include "link/protocol/text.h"

#include <QEventLoop>

namespace orv {

namespace {

// Opens the port the monitor watches, and says so; nothing, with the message out, when it cannot
// be opened.
std::unique_ptr<SerialPort> OpenWatchedPort(const LinkSetup& setup, Console& console) {
    const PortName& name = setup.ports.front();
    std::unique_ptr<SerialPort> port = setup.makePort(name);
    port->setSettings(setup.settings);
    port->setCommPort(name.isComPort() ? name.comPort : 1);
    if (!port->open()) {
        console.error(
            QStringLiteral("%1: %2: %3")
                .arg(name.label, LinkStatusLine(LinkStatus::PortUnavailable), port->errorString()));
        return nullptr;
    }
    port->discardInput();
    port->setReceiveThreshold(1);
    console.printError(QStringLiteral("%1: watching at %2; Ctrl+C ends.\n")
                           .arg(name.label, SerialSettingsText(setup.settings).trimmed()));
    console.flush();
    return port;
}

// Shows what arrives on the open port until a signal ends the monitor, the port is lost or the
// log cannot be written; closes the port and returns the exit code.
int Watch(SerialPort& port, const LinkSetup& setup, bool raw, Console& console) {
    const PortName& name = setup.ports.front();
    // As the test window does: the first bytes of a datum start a short wait, and what has
    // arrived by its end is shown as one line, control bytes by name (DEL and the C1 controls
    // too, which the window shows as characters: a terminal would act on them). --raw passes
    // the bytes on as they come.
    QEventLoop loop;
    InterruptWatcher interrupts;
    ReceptionGatherer reception(setup.timing.receptionWaitMsecs, VisibleStyle::Terminal);
    int code = ExitOk;
    QObject::connect(&reception, &ReceptionGatherer::gathered, &loop, [&](const QString& text) {
        console.print(text + QLatin1Char('\n'));
        console.flush();
    });
    QObject::connect(&port, &SerialPort::received, &loop, [&](const QByteArray& bytes) {
        if (raw) {
            console.writeOut(bytes);
            console.flush();
            return;
        }
        reception.add(bytes);
    });
    bool logTold = false;
    auto logFailed = [&] {
        if (std::exchange(logTold, true))
            return;
        reception.flush();
        console.error(setup.log->errorMessage());
        code = ExitTrouble;
        loop.quit();
    };
    if (setup.log)
        QObject::connect(setup.log.get(), &FrameLog::failed, &loop, logFailed);
    QObject::connect(&port, &SerialPort::lost, &loop, [&](const QString& reason) {
        reception.flush();
        console.error(QStringLiteral("%1: %2: %3")
                          .arg(name.label, LinkStatusLine(LinkStatus::PortLost), reason));
        code = ExitLinkFailed;
        loop.quit();
    });
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &loop, [&] {
        reception.flush();
        loop.quit();
    });
    loop.exec();
    port.close();
    if (setup.log && !setup.log->error().isEmpty())
        logFailed();
    return code;
}

int Monitor(const CommandCall& call) {
    auto setup = ReadSetup(call, true);
    if (!setup)
        return ExitTrouble;
    if (setup->ports.size() != 1 || setup->json)
        return call.usageError(QStringLiteral("monitor watches one port"));
    const std::unique_ptr<SerialPort> port = OpenWatchedPort(*setup, call.console());
    if (!port)
        return ExitLinkFailed;
    return Watch(*port, *setup, call.isSet(QStringLiteral("raw")), call.console());
}

} // namespace

Command MonitorCommand() {
    return {
        QStringLiteral("monitor"),
        QStringLiteral("monitor --port P [--raw]"),
        QStringLiteral("Print what a decoder sends, until Ctrl+C."),
        QStringLiteral("Opens one port and prints what the decoder sends, as the KR Test window "
                       "shows it: a line for each datum, control bytes by name (<STX>, <CR>), "
                       "and DEL and the C1 controls as <7F>, <9B>, which a terminal would take "
                       "as commands. --raw prints the bytes unchanged.\nExit status: 0 when "
                       "ended by SIGINT (Ctrl+C), SIGTERM or SIGHUP, 1 when the port cannot be "
                       "opened or is lost, 2 on usage trouble or when the log cannot be "
                       "written."),
        QList<QCommandLineOption>{PortOption(false)} + LineOptions() +
            QList<QCommandLineOption>{
                LogOption(),
                {QStringLiteral("raw"),
                 QStringLiteral("Print the bytes as they arrive, unchanged, instead of a line "
                                "per datum with control bytes by name.")}},
        0,
        0,
        Monitor};
}

} // namespace orv
