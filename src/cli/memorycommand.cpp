// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksetup.h"

#include "commandset.h"
#include "console.h"

#include "core/wholefile.h"
#include "link/exchange/memoryexchanges.h"
#include "link/protocol/text.h"

namespace orv {

namespace {

// How a memory read prints the text: not at all (a file or JSON takes it), for a person (control
// bytes by name, in UTF-8), or as the decoder's bytes.
enum class MemoryPrint { None, Visible, Raw };

// The memory text for a person: a line for each record, control bytes by name, so that no byte
// of the decoder reaches a terminal as a command.
QString VisibleMemoryText(QByteArrayView text) {
    QString out;
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf(QByteArrayView("\r\n"));
        out += VisibleText(end < 0 ? text : text.first(end), VisibleStyle::Terminal) +
               QLatin1Char('\n');
        text = end < 0 ? QByteArrayView() : text.sliced(end + 2);
    }
    return out;
}

class MemoryJob : public PortJob {
public:
    // out: the memory data file to write; empty: the text is printed as `print` says, under a
    // heading with the port when `heading` says so.
    MemoryJob(PortName name, std::unique_ptr<SerialPort> port, SerialSettings settings,
              LinkTiming timing, bool read, QString out, Console& console, MemoryPrint print,
              bool heading)
        : PortJob(std::move(name), std::move(port), std::move(settings), timing),
          readsMemory_(read), outputPath_(std::move(out)), console_(console), textPrint_(print),
          headedByPort_(heading) {}

protected:
    void begin() override {
        if (readsMemory_)
            run(std::make_unique<ReadMemoryExchange>(target(), timing()));
        else
            run(std::make_unique<ClearMemoryExchange>(target(), timing()));
    }

    void finished(const ExchangeResult& result) override {
        if (!result.ok()) {
            complete(FailureOutcome(result));
            return;
        }
        if (!readsMemory_) {
            complete(OkOutcome(result));
            return;
        }
        const int lines = static_cast<int>(result.memoryText.count("\r\n"));
        if (outputPath_.isEmpty()) {
            PortOutcome o = OkOutcome(result);
            o.extra.insert(QStringLiteral("lines"), lines);
            o.extra.insert(QStringLiteral("text"),
                           QString::fromLatin1(result.memoryText)
                               .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            if (textPrint_ != MemoryPrint::None) {
                // With several ports each text is headed by its port.
                const QString heading =
                    headedByPort_ ? QStringLiteral("==> %1 <==\n")
                                        .arg(VisibleText(name().label, VisibleStyle::Terminal))
                                  : QString();
                // The records' bytes are ISO 8859-1; a person's terminal gets them in UTF-8.
                if (textPrint_ == MemoryPrint::Raw)
                    console_.writeOut(heading.toUtf8() + result.memoryText);
                else
                    console_.print(heading + VisibleMemoryText(result.memoryText));
                console_.flush();
            }
            complete(o);
            return;
        }
        // The memory data file: the lines, each ended by CR LF, then one more CR LF.
        QString why;
        if (!WriteWholeFile(outputPath_, result.memoryText + "\r\n", &why)) {
            PortOutcome o;
            o.status = PortStatus::Trouble;
            o.key = QStringLiteral("file_error");
            o.text = result.message.text.simplified() +
                     QStringLiteral(" But %1 could not be written: %2").arg(outputPath_, why);
            complete(o);
            return;
        }
        PortOutcome o =
            OkOutcome(result, QStringLiteral("%1 line%2 in %3.")
                                  .arg(lines)
                                  .arg(lines == 1 ? QString() : QStringLiteral("s"), outputPath_));
        o.extra.insert(QStringLiteral("lines"), lines);
        o.extra.insert(QStringLiteral("output"), outputPath_);
        complete(o);
    }

private:
    bool readsMemory_;
    QString outputPath_;
    Console& console_;
    MemoryPrint textPrint_;
    bool headedByPort_;
};

int Memory(const CommandCall& call) {
    Console& console = call.console();
    const QString action = call.operands().at(0);
    if (action != QLatin1String("read") && action != QLatin1String("clear"))
        return call.usageError(QStringLiteral("unknown action '%1': read or clear").arg(action));
    const bool read = action == QLatin1String("read");
    if (!read && call.isSet(QStringLiteral("output")))
        return call.usageError(QStringLiteral("memory clear writes no file"));
    const bool raw = call.isSet(QStringLiteral("raw"));
    if (raw && !read)
        return call.usageError(QStringLiteral("memory clear prints no text"));
    if (raw && (call.isSet(QStringLiteral("output")) || call.isSet(QStringLiteral("json"))))
        return call.usageError(
            QStringLiteral("--raw prints the text; it does not go with -o or --json"));
    auto setup = ReadSetup(call, true);
    if (!setup)
        return ExitTrouble;
    QStringList outs;
    if (read && call.isSet(QStringLiteral("output"))) {
        const auto paths = OutputPaths(call.value(QStringLiteral("output")), *setup, call);
        if (!paths)
            return ExitTrouble;
        outs = *paths;
    }
    LinkSession::Options options = setup->sessionOptions(QStringLiteral("memory ") + action);
    // The memory text itself is the output of a read without -o.
    const bool printText = read && outs.isEmpty() && !setup->json;
    options.resultsToErr = printText;
    const MemoryPrint print = !printText ? MemoryPrint::None
                              : raw      ? MemoryPrint::Raw
                                         : MemoryPrint::Visible;
    LinkSession session(console, options);
    for (size_t i = 0; i < setup->ports.size(); ++i) {
        const PortName& name = setup->ports[i];
        session.add(std::make_unique<MemoryJob>(name, setup->makePort(name), setup->settings,
                                                setup->timing, read, outs.value(int(i)), console,
                                                print, setup->ports.size() > 1));
    }
    return session.exec();
}

} // namespace

Command MemoryCommand() {
    return {QStringLiteral("memory"),
            QStringLiteral("memory read|clear --port P... [-o FILE] [--raw]"),
            QStringLiteral("Read or clear the decoder's data memory."),
            LinkDescription(QStringLiteral(
                "read: reads the decoder's memory records and prints them, a line for each, "
                "control bytes by name (<ESC>, <7F>); --raw prints the bytes as they are, and -o "
                "writes them as a memory data file (the lines ended by CR LF, then one more CR "
                "LF). Nothing is written when the read fails. clear: empties the memory.")),
            LinkOptions({{{QStringLiteral("o"), QStringLiteral("output")},
                          QStringLiteral("read: write the memory data file FILE instead of "
                                         "printing the text; with several ports, %p in it stands "
                                         "for the port."),
                          QStringLiteral("FILE")},
                         {QStringLiteral("raw"),
                          QStringLiteral("read: print the decoder's bytes as they are (ISO "
                                         "8859-1, lines ended by CR LF, control bytes and all) "
                                         "instead of the text with control bytes by name.")}}),
            1,
            1,
            Memory};
}

} // namespace orv
