// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>

namespace orv::emu {

// Which decoder is played: the bar decoder owns image bytes 0..24, the magnetic reader 25..84.
enum class Kind { Bar, Mag };

// How the decoder misbehaves. The content faults are made here; Late and Split are timing
// faults that the transport (DecoderEmulator) applies to every reply.
enum class Fault {
    None,
    Silent,       // no reply at all
    Refuse,       // a download is answered 0x15; an upload with a block of 0x15 and zeros
    WrongCheck,   // the check byte of an upload block is wrong
    Late,         // every reply goes out after a delay
    Split,        // every reply goes out in small pieces with gaps between them
    Short,        // an upload block announces more bytes than it carries
    BadBlock,     // one block of a memory read (memory.badBlock) has a wrong check byte
    WrongVersion, // the firmware loader answers its access command with 1Bh (another version)
    RejectPage,   // the firmware loader refuses one data page (loader.rejectPage) a few times
};

// The names the orvemu program takes on its command line, and back.
QString FaultName(Fault fault);
bool ParseFault(const QString& name, Fault* fault);

// One command frame received from the program: STX, command, [length, data], ETX, check.
struct Frame {
    quint8 command = 0;
    QByteArray data;         // empty for commands without data
    QByteArray raw;          // every byte of the frame as received
    bool wellFormed = false; // ETX in place and the XOR of all bytes is 0
};

// One packet the firmware loader received.
struct LoaderPacket {
    quint8 type = 0; // 00h erase, 01h data page, 05h end of image
    int start = -1;  // a data page's start address
    QByteArray raw;  // its 192 bytes
    bool accepted = false;
    qint64 nsecs = 0; // when it was complete, by DecoderCore::clock
};

// The decoder's side of the RS232 protocol, without any I/O: bytes from the program go in,
// replies come out. Commands are kept in a table; byte streams that are not command frames (the
// answers to memory blocks, the firmware loader's packets) go to a raw reader while one is set.
class DecoderCore {
public:
    static constexpr int ImageSize = 85;
    static constexpr int UploadReplySize = 84; // the program reads an upload block at 84 bytes
    static constexpr quint8 Ack = 0x07;
    static constexpr quint8 Nak = 0x15;
    static constexpr quint8 Stx = 0x02; // starts every command frame

    explicit DecoderCore(Kind kind = Kind::Mag);

    Kind kind() const { return kind_; }
    void setKind(Kind kind);
    Fault fault = Fault::None;
    QByteArray versionFirst = "DECODER V3.4"; // 12 characters
    QByteArray versionLast = "2024-05-17";    // 10 characters

    // The decoder's settings: the bytes of its own region (25 or 60), what an upload returns
    // and a download stores. They start as the program's built-in defaults.
    QByteArray settings;
    // The whole image of the last download, and whether it was to be kept ("Save").
    QByteArray lastDownload;
    bool lastDownloadSaved = false;

    // A command's handler returns the reply (empty: none). Fault::Silent is checked by the
    // raw readers too, so a fault set during a memory read or a firmware transfer silences the
    // rest of it.
    using Handler = std::function<QByteArray(const Frame&)>;
    void addCommand(quint8 command, bool hasData, Handler handler);

    // While a raw reader is set, received bytes go to it instead of the frame reader. It is
    // given everything not yet consumed, returns how many bytes it consumed (0: it needs more)
    // and appends any replies to `replies`.
    using RawReader = std::function<qsizetype(QByteArrayView pending, QList<QByteArray>& replies)>;
    void setRawReader(RawReader reader) { rawReader_ = std::move(reader); }

    // Takes received bytes; returns the replies due, in order.
    QList<QByteArray> feed(const QByteArray& bytes);

    // Every frame received so far, and bytes that arrived outside any frame.
    QList<Frame> frames;
    QByteArray strayBytes;

    // The reply blocks this decoder sends (fault applied), public for tests and tools.
    QByteArray uploadBlock() const;
    QByteArray downloadAnswer(const Frame& frame);

    // The default settings of a region (the program's built-in defaults).
    static QByteArray DefaultSettings(Kind kind);
    static quint8 XorOf(QByteArrayView bytes);

    // ----- Memory: read (82h) and clear (83h) -----
    // A read sends block 0 of the memory; each "S" from the program brings the next block, "P"
    // or "E" ends the read. A block is 64 bytes of the stream (zeros past its end) and their
    // XOR. A clear empties the memory and answers 07h (15h with Fault::Refuse).
    struct Memory {
        QByteArray stream;  // the payload stream: records, then the end mark 0
        int badBlock = 0;   // with Fault::BadBlock: the block (from 0) whose check byte is wrong
        QByteArray answers; // the program's answers to the blocks, in order
        int blocksSent = 0;
        int clears = 0;
        bool reading = false;
    } memory;
    // A record of the memory: length byte (text + 2), the text, the XOR of the text.
    static QByteArray MemoryRecord(QByteArrayView text);
    // Records of these texts followed by the end mark.
    static QByteArray MemoryStream(const QList<QByteArray>& texts);
    QByteArray memoryBlock(int index) const;

    // ----- Firmware loader: access (84h), then 192-byte packets -----
    // The access command is answered 07h (1Bh with Fault::WrongVersion) and the loader takes
    // over the line: the erase packet, data pages and the end-of-image packet, each answered
    // AAh when it is right (no answer to the end packet). A page with a fault of the program in
    // it is answered 15h and the fault noted in `errors`; with Fault::RejectPage the page
    // `rejectPage` is answered 1Bh `rejections` times before it is taken.
    struct Loader {
        QString imageFile; // the received image is written here at the end packet
        int rejectPage = 0;
        int rejections = 1;
        QList<LoaderPacket> packets;
        QByteArray image; // the pages taken, 184 bytes each, at their addresses
        int accesses = 0;
        bool active = false; // packets are awaited
        bool erased = false;
        bool finished = false; // the end packet came (after an erase)
        QStringList errors;
        QString fileError; // why the image file could not be written
    } loader;

    // Time stamps of loader packets (nanoseconds); none: 0.
    std::function<qint64()> clock;
    // A line for every memory block, answer and loader packet, for a log.
    std::function<void(const QString&)> onEvent;

private:
    struct Command {
        bool hasData;
        Handler handler;
    };
    // Takes one frame from the front of pending_; false when it is not complete yet.
    bool takeFrame(Frame* frame);
    void note(const QString& line) const;

    QByteArray startMemoryRead(const Frame& frame);
    QByteArray clearMemory(const Frame& frame);
    qsizetype takeMemoryAnswer(QByteArrayView pending, QList<QByteArray>& replies);
    QByteArray grantLoaderAccess(const Frame& frame);
    qsizetype takeLoaderPacket(QByteArrayView pending, QList<QByteArray>& replies);
    // The answer to a data page; the page is taken when it is AAh.
    quint8 takeDataPage(LoaderPacket& packet);
    void finishImage();
    int pageRejections_ = 0;

    Kind kind_;
    std::map<quint8, Command> commands_;
    RawReader rawReader_;
    QByteArray pending_;
};

// The 145 characters a decoder types as its keyboard-link upload reply: "1" (bar decoder) or
// "0" (magnetic reader), the settings and their check byte as hex pairs, filler up to the
// version text, and the 22 version characters.
QString KeyboardUploadReply(Kind kind, const QByteArray& settings, const QByteArray& versionFirst,
                            const QByteArray& versionLast);

} // namespace orv::emu
