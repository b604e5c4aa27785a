#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <map>

namespace orv::emu {

// Which decoder is played: the bar decoder owns image bytes 0..24, the magnetic reader 25..84.
enum class Kind { Bar, Mag };

// How the decoder misbehaves. The content faults are made here; Late and Split are timing
// faults that the transport (DecoderEmulator) applies to every reply.
enum class Fault {
    None,
    Silent,     // no reply at all
    Refuse,     // a download is answered 0x15; an upload with a block of 0x15 and zeros
    WrongCheck, // the check byte of an upload block is wrong
    Late,       // every reply goes out after a delay
    Split,      // every reply goes out in small pieces with gaps between them
    Short,      // an upload block announces more bytes than it carries
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

// The decoder's side of the RS232 protocol, without any I/O: bytes from the program go in,
// replies come out. Commands are kept in a table, so further protocols (memory read and clear,
// the firmware loader) are added with addCommand(), or with a raw reader for byte streams that
// are not command frames.
class DecoderCore {
public:
    static constexpr int ImageSize = 85;
    static constexpr int UploadReplySize = 84; // the program reads an upload block at 84 bytes
    static constexpr quint8 Ack = 0x07;
    static constexpr quint8 Nak = 0x15;

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

    // A command's handler returns the reply (empty: none).
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

private:
    struct Command {
        bool hasData;
        Handler handler;
    };
    // Takes one frame from the front of pending_; false when it is not complete yet.
    bool takeFrame(Frame* frame);

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
