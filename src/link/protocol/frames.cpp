// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frames.h"

namespace orv {

quint8 XorOf(const QByteArray& bytes) {
    quint8 x = 0;
    for (char c : bytes)
        x ^= static_cast<quint8>(c);
    return x;
}

namespace {

QByteArray Finish(QByteArray frame) {
    frame.append(static_cast<char>(Etx));
    frame.append(static_cast<char>(XorOf(frame)));
    return frame;
}

} // namespace

QByteArray CommandFrame(quint8 command) {
    QByteArray frame;
    frame.append(static_cast<char>(Stx));
    frame.append(static_cast<char>(command));
    return Finish(frame);
}

QByteArray CommandFrame(quint8 command, const QByteArray& data) {
    Q_ASSERT(!data.isEmpty() && data.size() <= 256);
    QByteArray frame;
    frame.append(static_cast<char>(Stx));
    frame.append(static_cast<char>(command));
    frame.append(static_cast<char>(data.size() - 1));
    frame.append(data);
    return Finish(frame);
}

QByteArray DownloadFrame(const Image& image, bool save) {
    const QByteArray data(reinterpret_cast<const char*>(image.data()), ImageSize);
    return CommandFrame(save ? CmdDownloadSave : CmdDownloadNoSave, data);
}

QByteArray UploadRequestFrame() {
    return CommandFrame(CmdUpload);
}

} // namespace orv
