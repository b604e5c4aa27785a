// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkrig.h"

#include "link/windows/frmisp.h"
#include "link/windows/linkoptions.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace orv::test {

// frmISP with the emulator's firmware loader on "Com 1"; the loader writes what it received to
// received.bin in the rig's folder.
struct IspRig : LinkRig<FrmIsp> {
    // What the status line showed when the loader noted an event (a packet taken or refused).
    QList<std::pair<QString, QString>> statusAtEvent;

    explicit IspRig(const LinkTiming& timing = TimingFor(false))
        : LinkRig(FirmwareWindowInfo(), emu::Kind::Mag, 1, timing) {
        emulator.core().loader.imageFile = receivedPath();
        emulator.core().onEvent = [this](const QString& event) {
            statusAtEvent.append({event, status()});
        };
    }

    QString receivedPath() const { return dir.filePath(QStringLiteral("received.bin")); }
    QString status() const { return control<QLabel>("lblStatus")->text(); }
    QProgressBar* progress() const { return control<QProgressBar>("ProgressBar1"); }
    bool buttonsEnabled() const { return allEnabled({"cmdTransmit", "cmdClose"}); }

    // An image of `size` bytes that differ from page to page, written as the file to send.
    static QByteArray Image(int size) {
        QByteArray image(size, '\0');
        for (int i = 0; i < size; ++i)
            image[i] = static_cast<char>((i * 31 + i / 184 * 7 + 1) & 0xFF);
        return image;
    }
    QString writeImage(const QByteArray& image, const QString& name = QStringLiteral("fw.bin")) {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void chooseFile(const QString& path) { control<QLineEdit>("TxtBinFile")->setText(path); }
    QByteArray received() const {
        QFile f(receivedPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A data page worked out here on its own: type, start high/low, end low/high, the bytes
    // and zeros, the XOR of bytes 1..188, 55h, AAh.
    static QByteArray Page(int start, const QByteArray& image) {
        QByteArray p(192, '\0');
        const int end = (start + 183) % 65536;
        p[0] = 1;
        p[1] = static_cast<char>(start / 256);
        p[2] = static_cast<char>(start % 256);
        p[3] = static_cast<char>(end % 256);
        p[4] = static_cast<char>(end / 256);
        const QByteArray bytes = image.mid(start, 184);
        for (int i = 0; i < bytes.size(); ++i)
            p[5 + i] = bytes[i];
        quint8 check = 0;
        for (int i = 1; i <= 188; ++i)
            check ^= static_cast<quint8>(p[i]);
        p[189] = static_cast<char>(check);
        p[190] = '\x55';
        p[191] = '\xAA';
        return p;
    }
    // Everything a transfer of the image sends, in order.
    static QByteArray Transfer(const QByteArray& image) {
        QByteArray all = QByteArray::fromHex("02840385") + QByteArray(192, '\0');
        for (int start = 0; start < image.size(); start += 184)
            all += Page(start, image);
        QByteArray end(192, '\0');
        end[0] = 5;
        return all + end;
    }
};

} // namespace orv::test
