// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder's firmware loader: the access command, then erase, data pages and the end of the
// image in 192-byte packets.

#include "decodercore.h"

#include <QSaveFile>

namespace orv::emu {

namespace {

constexpr int PacketSize = 192;
constexpr int PageSize = 184;
constexpr int DataOffset = 5;
constexpr int CheckOffset = 189;
constexpr quint8 Erase = 0x00;
constexpr quint8 DataPage = 0x01;
constexpr quint8 EndOfImage = 0x05;
constexpr quint8 Granted = 0x07;
constexpr quint8 WrongVersionAnswer = 0x1B;
constexpr quint8 Accepted = 0xAA;

bool AllZero(QByteArrayView bytes) {
    for (char c : bytes) {
        if (c != 0)
            return false;
    }
    return true;
}

} // namespace

QByteArray DecoderCore::grantLoaderAccess(const Frame& frame) {
    if (!frame.wellFormed)
        return {};
    ++loader.accesses;
    if (fault == Fault::Refuse)
        return QByteArray(1, static_cast<char>(Nak));
    if (fault == Fault::WrongVersion) {
        note(QStringLiteral("loader: access refused, another version"));
        return QByteArray(1, static_cast<char>(WrongVersionAnswer));
    }
    // A new transfer starts from nothing.
    loader.active = true;
    loader.erased = false;
    loader.finished = false;
    loader.image.clear();
    pageRejections_ = 0;
    setRawReader([this](QByteArrayView pending, QList<QByteArray>& replies) {
        return takeLoaderPacket(pending, replies);
    });
    note(QStringLiteral("loader: access granted"));
    return QByteArray(1, static_cast<char>(Granted));
}

qsizetype DecoderCore::takeLoaderPacket(QByteArrayView pending, QList<QByteArray>& replies) {
    if (!pending.isEmpty() && static_cast<quint8>(pending[0]) == Stx) {
        // No packet starts with 02h: the program sends a command frame again.
        loader.active = false;
        setRawReader(nullptr);
        return 0;
    }
    if (pending.size() < PacketSize)
        return 0;
    LoaderPacket packet;
    packet.raw = pending.first(PacketSize).toByteArray();
    packet.type = static_cast<quint8>(packet.raw[0]);
    packet.nsecs = clock ? clock() : 0;
    quint8 answer = Nak;
    switch (packet.type) {
    case Erase:
        if (!AllZero(packet.raw))
            loader.errors << QStringLiteral("erase packet with bytes other than 0");
        loader.erased = true;
        loader.image.clear();
        packet.accepted = true;
        answer = Accepted;
        note(QStringLiteral("loader: erased"));
        break;
    case DataPage:
        answer = takeDataPage(packet);
        break;
    case EndOfImage:
        if (!AllZero(packet.raw.mid(1)))
            loader.errors << QStringLiteral("end packet with bytes other than 0");
        if (!loader.erased)
            loader.errors << QStringLiteral("end packet without an erase");
        packet.accepted = true;
        loader.packets.append(packet);
        finishImage();
        return PacketSize; // the end packet is not answered
    default:
        loader.errors << QStringLiteral("packet of unknown type %1").arg(packet.type);
        break;
    }
    loader.packets.append(packet);
    if (fault != Fault::Silent)
        replies.append(QByteArray(1, static_cast<char>(answer)));
    return PacketSize;
}

quint8 DecoderCore::takeDataPage(LoaderPacket& packet) {
    const QByteArray& p = packet.raw;
    const auto byte = [&p](int i) {
        return static_cast<quint8>(p[i]);
    };
    const int start = byte(1) << 8 | byte(2);
    const int end = byte(3) | byte(4) << 8;
    packet.start = start;
    QStringList faults;
    if (!loader.erased)
        faults << QStringLiteral("no erase before the page");
    if (start % PageSize != 0)
        faults << QStringLiteral("start address %1 is not a page start").arg(start);
    if (end != ((start + PageSize - 1) & 0xFFFF))
        faults << QStringLiteral("end address %1 for start %2").arg(end).arg(start);
    if (XorOf(QByteArrayView(p).sliced(1, CheckOffset - 1)) != byte(CheckOffset))
        faults << QStringLiteral("wrong checksum");
    if (byte(190) != 0x55 || byte(191) != 0xAA)
        faults << QStringLiteral("no 55h AAh at the end");
    // Pages come in address order; a page may come again after a refusal or a lost answer.
    const int expected = loader.image.size();
    if (start != expected && start != expected - PageSize)
        faults << QStringLiteral("page %1 out of order (expected %2)").arg(start).arg(expected);
    if (!faults.isEmpty()) {
        for (const QString& f : faults)
            loader.errors << QStringLiteral("data page %1: %2").arg(start).arg(f);
        note(QStringLiteral("loader: data page %1 refused: %2")
                 .arg(start)
                 .arg(faults.join(QStringLiteral("; "))));
        return Nak;
    }
    if (fault == Fault::RejectPage && start == loader.rejectPage * PageSize &&
        pageRejections_ < loader.rejections) {
        ++pageRejections_;
        note(QStringLiteral("loader: data page %1 rejected (%2 of %3)")
                 .arg(start)
                 .arg(pageRejections_)
                 .arg(loader.rejections));
        return WrongVersionAnswer; // the code the loader refuses a page with
    }
    if (loader.image.size() < start + PageSize)
        loader.image.resize(start + PageSize, '\0');
    loader.image.replace(start, PageSize, p.constData() + DataOffset, PageSize);
    packet.accepted = true;
    note(QStringLiteral("loader: data page %1..%2 taken").arg(start).arg(start + PageSize - 1));
    return Accepted;
}

void DecoderCore::finishImage() {
    loader.active = false;
    loader.finished = loader.erased;
    setRawReader(nullptr);
    note(QStringLiteral("loader: end of image, %1 bytes").arg(loader.image.size()));
    if (loader.imageFile.isEmpty())
        return;
    QSaveFile file(loader.imageFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(loader.image) != loader.image.size() ||
        !file.commit()) {
        loader.fileError = file.errorString();
        note(QStringLiteral("loader: the image could not be written to %1: %2")
                 .arg(loader.imageFile, loader.fileError));
        return;
    }
    note(QStringLiteral("loader: image written to %1").arg(loader.imageFile));
}

} // namespace orv::emu
