// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkcommands.h"

#include "commandset.h"
#include "linksetup.h"

namespace orv {

namespace {

// ----- Options -----

const QString PortWords = QStringLiteral(
    "The decoder's port: a device path (/dev/ttyUSB0), a device name (ttyUSB0, which is a file "
    "of that name in the current folder if there is one, else /dev/ttyUSB0), or \"com 1\" to "
    "\"com 6\" as orvcfg maps them.");
const QCommandLineOption PortOption({QStringLiteral("p"), QStringLiteral("port")},
                                    PortWords +
                                        QStringLiteral(" Repeat it to run on several ports at "
                                                       "once (each device once)."),
                                    QStringLiteral("P"));
// The monitor watches one port.
const QCommandLineOption MonitorPortOption({QStringLiteral("p"), QStringLiteral("port")}, PortWords,
                                           QStringLiteral("P"));
const QCommandLineOption SettingsOption(
    QStringLiteral("settings"),
    QStringLiteral("Line settings as the window writes them: baud rate, parity letter (N, E, O, "
                   "M, S), data bits, stop bits (\"9600,N,8,1\", the default)."),
    QStringLiteral("TEXT"));
const QCommandLineOption
    BaudOption(QStringLiteral("baud"),
               QStringLiteral("Baud rate, one the window offers: 1200, 2400, 4800, 9600 or 19200."),
               QStringLiteral("N"));
const QCommandLineOption ParityOption(QStringLiteral("parity"),
                                      QStringLiteral("Parity: none, even, odd, mark or space."),
                                      QStringLiteral("P"));
const QCommandLineOption DataBitsOption(QStringLiteral("data-bits"),
                                        QStringLiteral("Data bits: 7 or 8."), QStringLiteral("N"));
const QCommandLineOption StopBitsOption(QStringLiteral("stop-bits"),
                                        QStringLiteral("Stop bits: 1 or 2."), QStringLiteral("N"));
const QCommandLineOption JsonOption(
    QStringLiteral("json"),
    QStringLiteral("Print the result of every port as JSON, once every port has finished."));
const QCommandLineOption LogOption(
    QStringLiteral("log"),
    QStringLiteral("Write every open and close of a port and every chunk of bytes sent and "
                   "received, in hex with times, to FILE (a regular file). A log that cannot be "
                   "written ends the command with status 2."),
    QStringLiteral("FILE"));
const QCommandLineOption
    NotSaveOption(QStringLiteral("not-save"),
                  QStringLiteral("The decoder uses the image without keeping it (\"Not Save\")."));
const QCommandLineOption VerifyOption(
    QStringLiteral("verify"),
    QStringLiteral("Upload the decoder's settings afterwards and compare them with FILE."));
const QCommandLineOption UploadOutputOption(
    {QStringLiteral("o"), QStringLiteral("output")},
    QStringLiteral("The configuration file to write; with several ports, %p in it stands for "
                   "the port."),
    QStringLiteral("OUT"));
const QCommandLineOption BaseOption(
    QStringLiteral("base"),
    QStringLiteral("The configuration or defaults file that gives the other region and the "
                   "header (default: the built-in defaults)."),
    QStringLiteral("FILE"));
const QCommandLineOption MemoryOutputOption(
    {QStringLiteral("o"), QStringLiteral("output")},
    QStringLiteral("read: write the memory data file FILE instead of printing the text; with "
                   "several ports, %p in it stands for the port."),
    QStringLiteral("FILE"));
const QCommandLineOption MemoryRawOption(
    QStringLiteral("raw"),
    QStringLiteral("read: print the decoder's bytes as they are (ISO 8859-1, lines ended by CR "
                   "LF, control bytes and all) instead of the text with control bytes by name."));
const QCommandLineOption MonitorRawOption(
    QStringLiteral("raw"),
    QStringLiteral("Print the bytes as they arrive, unchanged, instead of a line per datum with "
                   "control bytes by name."));

const QList<QCommandLineOption> LineOptions = {SettingsOption, BaudOption, ParityOption,
                                               DataBitsOption, StopBitsOption};

QList<QCommandLineOption> With(QList<QCommandLineOption> a, const QList<QCommandLineOption>& b) {
    a += b;
    return a;
}

} // namespace

bool IsLinkCommand(const QString& name) {
    static const QStringList Names = {QStringLiteral("download"), QStringLiteral("upload"),
                                      QStringLiteral("version"),  QStringLiteral("flash"),
                                      QStringLiteral("memory"),   QStringLiteral("monitor")};
    return Names.contains(name);
}

void AddLinkCommands(CommandSet& commands) {
    const QString rs232 = QStringLiteral(
        " RS232 only: the keyboard link needs orvcfg's window, which receives the decoder's "
        "typed answers.");
    const QString ports = QStringLiteral(
        "\nWith several --port the command runs on all of them at once; each port gets its own "
        "result line, then a summary follows.");
    const QString status = QStringLiteral(
        "\nExit status: 0 when every port succeeded, 1 when a decoder or port failed, 2 on usage "
        "or file trouble (the log included), 130, 143 or 129 when ended by SIGINT, SIGTERM or "
        "SIGHUP, which close every port cleanly.");
    const QList<QCommandLineOption> common = {PortOption, JsonOption, LogOption};
    commands.add(
        {QStringLiteral("download"),
         QStringLiteral("download FILE [--port P...] [--not-save] [--verify]"),
         QStringLiteral("Send a file's configuration to decoders."),
         QStringLiteral("Sends the 85-byte image of FILE (a configuration or defaults file) to "
                        "the decoder on each port, as \"Download to Decoder\" does; the decoder "
                        "keeps it unless --not-save is given. --verify then uploads the "
                        "decoder's region and compares it with FILE. Without --port, the port "
                        "is the \"com N\" that a configuration file records.") +
             rs232 + ports + status,
         With(With(common, LineOptions), {NotSaveOption, VerifyOption}), 1, 1, Download});
    commands.add(
        {QStringLiteral("upload"), QStringLiteral("upload [--port P...] -o OUT [--base FILE]"),
         QStringLiteral("Save a decoder's configuration in a configuration file."),
         QStringLiteral("Asks the decoder for its settings, as \"Upload To PC\" does, and writes "
                        "OUT, a configuration file byte for byte as orvcfg saves it: the region "
                        "the decoder owns comes from the decoder, the other region and the "
                        "header records from --base (or the built-in defaults and a new file's "
                        "header). The file records the RS232 link, and the port when it is "
                        "\"com N\". Nothing is written when the upload fails. Without --port, "
                        "the port is the \"com N\" that the --base configuration file records.") +
             rs232 + ports + status,
         With(With(common, LineOptions), {UploadOutputOption, BaseOption}), 0, 0, Upload});
    commands.add({QStringLiteral("version"), QStringLiteral("version --port P..."),
                  QStringLiteral("Print the firmware version of decoders."),
                  QStringLiteral("Asks the decoder for its firmware version, as \"Get Firmware "
                                 "Version\" does, and prints it; control bytes in it are shown "
                                 "by name (<ESC>, <9B>), --json gives it as sent.") +
                      rs232 + ports + status,
                  With(common, LineOptions), 0, 0, Version});
    commands.add(
        {QStringLiteral("flash"), QStringLiteral("flash FIRMWARE --port P..."),
         QStringLiteral("Send a firmware image to the decoder's loader."),
         QStringLiteral("Sends FIRMWARE (a regular file of at most 65,535 bytes) to the firmware "
                        "loader of the decoder on each port, page by page, always at "
                        "19200,N,8,1. The progress shows as a bar on a terminal and as plain "
                        "lines otherwise.") +
             ports +
             QStringLiteral(
                 "\nA transfer cannot be interrupted, as the decoder would be left without "
                 "firmware: SIGINT (Ctrl+C), SIGTERM and SIGHUP are held until every transfer "
                 "has ended, with a word on how long that takes, and then end orvctl with "
                 "status 130, 143 or 129. A closed output loses the lines, nothing else.\nExit "
                 "status: 0 when every port succeeded, 1 when a decoder or port failed, 2 on "
                 "usage or file trouble (the log included)."),
         common, 1, 1, Flash, false});
    commands.add(
        {QStringLiteral("memory"),
         QStringLiteral("memory read|clear --port P... [-o FILE] [--raw]"),
         QStringLiteral("Read or clear the decoder's data memory."),
         QStringLiteral("read: reads the decoder's memory records and prints them, a line for "
                        "each, control bytes by name (<ESC>, <7F>); --raw prints the bytes as "
                        "they are, and -o writes them as a memory data file (the lines ended by "
                        "CR LF, then one more CR LF). Nothing is written when the read fails. "
                        "clear: empties the memory.") +
             rs232 + ports + status,
         With(With(common, LineOptions), {MemoryOutputOption, MemoryRawOption}), 1, 1, Memory});
    commands.add(
        {QStringLiteral("monitor"), QStringLiteral("monitor --port P [--raw]"),
         QStringLiteral("Print what a decoder sends, until Ctrl+C."),
         QStringLiteral("Opens one port and prints what the decoder sends, as the KR Test window "
                        "shows it: a line for each datum, control bytes by name (<STX>, <CR>), "
                        "and DEL and the C1 controls as <7F>, <9B>, which a terminal would take "
                        "as commands. --raw prints the bytes unchanged.\nExit status: 0 when "
                        "ended by SIGINT (Ctrl+C), SIGTERM or SIGHUP, 1 when the port cannot be "
                        "opened or is lost, 2 on usage trouble or when the log cannot be "
                        "written."),
         With({MonitorPortOption}, With(LineOptions, {LogOption, MonitorRawOption})), 0, 0,
         Monitor});
}

} // namespace orv
