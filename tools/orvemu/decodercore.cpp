// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "decodercore.h"

#include "core/config.h"

namespace orv::emu {

namespace {

constexpr quint8 Etx = 0x03;
constexpr quint8 CmdDownloadSave = 0x01;
constexpr quint8 CmdDownloadNoSave = 0x02;
constexpr quint8 CmdUpload = 0x80;
constexpr quint8 CmdReadMemory = 0x82;
constexpr quint8 CmdClearMemory = 0x83;
constexpr quint8 CmdLoaderAccess = 0x84;

struct FaultNameRow {
    Fault fault;
    const char* name;
};
const FaultNameRow FaultNames[] = {
    {Fault::None, "none"},
    {Fault::Silent, "silent"},
    {Fault::Refuse, "refuse"},
    {Fault::WrongCheck, "wrong-check"},
    {Fault::Late, "late"},
    {Fault::Split, "split"},
    {Fault::Short, "short"},
    {Fault::BadBlock, "bad-block"},
    {Fault::WrongVersion, "wrong-version"},
    {Fault::RejectPage, "reject-page"},
};

QByteArray Hex(quint8 b) {
    static const char Digits[] = "0123456789ABCDEF";
    QByteArray hex;
    hex.append(Digits[b >> 4]).append(Digits[b & 0x0F]);
    return hex;
}

} // namespace

QString FaultName(Fault fault) {
    for (const FaultNameRow& row : FaultNames) {
        if (row.fault == fault)
            return QString::fromLatin1(row.name);
    }
    return {};
}

bool ParseFault(const QString& name, Fault* fault) {
    for (const FaultNameRow& row : FaultNames) {
        if (name == QLatin1String(row.name)) {
            *fault = row.fault;
            return true;
        }
    }
    return false;
}

quint8 DecoderCore::XorOf(QByteArrayView bytes) {
    quint8 x = 0;
    for (char c : bytes)
        x ^= static_cast<quint8>(c);
    return x;
}

QByteArray DecoderCore::DefaultSettings(Kind kind) {
    const Image image = Config::BuiltInDefaults();
    const QByteArray all(reinterpret_cast<const char*>(image.data()), ImageSize);
    return kind == Kind::Bar ? all.left(25) : all.mid(25, 60);
}

DecoderCore::DecoderCore(Kind kind) : settings(DefaultSettings(kind)), kind_(kind) {
    auto download = [this](const Frame& f) {
        return downloadAnswer(f);
    };
    addCommand(CmdDownloadSave, true, download);
    addCommand(CmdDownloadNoSave, true, download);
    addCommand(CmdUpload, false,
               [this](const Frame& f) { return f.wellFormed ? uploadBlock() : QByteArray(); });
    addCommand(CmdReadMemory, false, [this](const Frame& f) { return startMemoryRead(f); });
    addCommand(CmdClearMemory, false, [this](const Frame& f) { return clearMemory(f); });
    addCommand(CmdLoaderAccess, false, [this](const Frame& f) { return grantLoaderAccess(f); });
}

void DecoderCore::note(const QString& line) const {
    if (onEvent)
        onEvent(line);
}

void DecoderCore::setKind(Kind kind) {
    kind_ = kind;
    settings = DefaultSettings(kind);
}

void DecoderCore::addCommand(quint8 command, bool hasData, Handler handler) {
    commands_[command] = Command{hasData, std::move(handler)};
}

bool DecoderCore::takeFrame(Frame* frame) {
    // pending_ starts with STX here.
    if (pending_.size() < 2)
        return false;
    const auto command = static_cast<quint8>(pending_[1]);
    const auto it = commands_.find(command);
    const bool hasData = it != commands_.end() && it->second.hasData;
    qsizetype size = 4; // STX, command, ETX, check
    if (hasData) {
        if (pending_.size() < 3)
            return false;
        size = 3 + (static_cast<quint8>(pending_[2]) + 1) + 2;
    }
    if (pending_.size() < size)
        return false;
    frame->command = command;
    frame->raw = pending_.left(size);
    frame->data = hasData ? frame->raw.mid(3, size - 5) : QByteArray();
    frame->wellFormed = static_cast<quint8>(frame->raw[size - 2]) == Etx && XorOf(frame->raw) == 0;
    pending_.remove(0, size);
    return true;
}

QList<QByteArray> DecoderCore::feed(const QByteArray& bytes) {
    pending_.append(bytes);
    QList<QByteArray> replies;
    for (;;) {
        if (rawReader_) {
            const RawReader reader = rawReader_; // it may end itself
            const qsizetype used = reader(pending_, replies);
            if (used > 0) {
                pending_.remove(0, used);
                continue;
            }
            if (rawReader_)
                break; // it needs more bytes
            continue;  // it handed the bytes back to the frame reader
        }
        // Bytes before a frame's STX are not part of any frame.
        const qsizetype stx = pending_.indexOf(static_cast<char>(Stx));
        if (stx != 0) {
            strayBytes.append(stx < 0 ? pending_ : pending_.left(stx));
            pending_.remove(0, stx < 0 ? pending_.size() : stx);
        }
        Frame frame;
        if (pending_.isEmpty() || !takeFrame(&frame))
            break;
        frames.append(frame);
        const auto it = commands_.find(frame.command);
        if (it == commands_.end() || fault == Fault::Silent)
            continue;
        const QByteArray reply = it->second.handler(frame);
        if (!reply.isEmpty())
            replies.append(reply);
    }
    return replies;
}

QByteArray DecoderCore::downloadAnswer(const Frame& frame) {
    const bool fits = frame.wellFormed && frame.data.size() == ImageSize;
    if (!fits || fault == Fault::Refuse)
        return QByteArray(1, static_cast<char>(Nak));
    lastDownload = frame.data;
    lastDownloadSaved = frame.command == CmdDownloadSave;
    settings = kind_ == Kind::Bar ? frame.data.left(25) : frame.data.mid(25, 60);
    return QByteArray(1, static_cast<char>(Ack));
}

QByteArray DecoderCore::uploadBlock() const {
    if (fault == Fault::Refuse) {
        QByteArray refusal(UploadReplySize, '\0');
        refusal[0] = static_cast<char>(Nak);
        return refusal;
    }
    // n, the settings, the version text, and the check byte that makes the XOR of all 0.
    QByteArray block;
    block.append(static_cast<char>(settings.size()));
    block.append(settings);
    block.append(versionFirst.leftJustified(12, ' ', true));
    block.append(versionLast.leftJustified(10, ' ', true));
    block.append(static_cast<char>(XorOf(block)));
    if (fault == Fault::WrongCheck)
        block[block.size() - 1] = static_cast<char>(block.back() ^ 0x5A);
    // The program reads a block once 84 bytes have arrived: a bar decoder's shorter block
    // (49 bytes) is followed by zeros up to that size.
    if (block.size() < UploadReplySize)
        block.append(QByteArray(UploadReplySize - block.size(), '\0'));
    if (fault == Fault::Short) {
        // Announce a block of 124 bytes, send 84.
        block[0] = static_cast<char>(100);
        block.truncate(UploadReplySize);
    }
    return block;
}

QString KeyboardUploadReply(Kind kind, const QByteArray& settings, const QByteArray& versionFirst,
                            const QByteArray& versionLast) {
    QByteArray text(1, kind == Kind::Bar ? '1' : '0');
    for (char c : settings)
        text.append(Hex(static_cast<quint8>(c)));
    text.append(Hex(DecoderCore::XorOf(settings)));
    const QByteArray version =
        versionFirst.leftJustified(12, ' ', true) + versionLast.leftJustified(10, ' ', true);
    text.append(QByteArray(145 - 22 - text.size(), '-'));
    text.append(version);
    return QString::fromLatin1(text);
}

} // namespace orv::emu
