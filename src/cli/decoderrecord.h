// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filecommands.h"

#include "link/protocol/replies.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace orv {

class PortJob;

// The configuration a decoder holds: `file` with the settings of an upload block in the block's
// region.
ConfigFile WithBlock(ConfigFile file, const UploadBlock& block);
// The settings of the catalogue that differ between two blocks of one region.
std::vector<SettingChange> BlockChanges(const UploadBlock& before, const UploadBlock& after);
// The firmware version of a block as one line: "DECODER V3.4 2024-05-17".
QString VersionLine(const UploadBlock& block);

// What the system knows of a serial device's USB side; empty where it is no USB device.
struct UsbIdentity {
    QString serialNumber;
    QString vendorId;  // four hex digits, "0403"
    QString productId; // "6001"
};
// Read from sysfs, links followed (/dev/serial/by-id/... or a folder of links to devices).
UsbIdentity UsbIdentityOf(const QString& device);

// The decoder record of --record: one JSON line for every decoder a command served, appended
// to a regular file that several runs of orvctl may share. Each line goes out in one write()
// on a file opened with O_APPEND, so lines of runs side by side never mix. The first line that
// cannot be written (whole) ends the record; `failed` tells it on the event loop.
class DecoderRecord : public QObject {
    Q_OBJECT
public:
    // Nothing, with the reason, when `path` is not a regular file or cannot be written.
    // `command` and `file` (the FILE operand, if any) go into every line.
    static std::shared_ptr<DecoderRecord> open(const QString& path, const QString& command,
                                               const QString& file, QString* why);
    ~DecoderRecord() override;

    // Writes a line for the job once it is done: the device as it was when the job started,
    // and what its exchanges brought back. The decoder's region before is the last upload
    // before anything was sent to it, after is the last upload after that (one upload and
    // nothing sent: both are that one).
    void watch(PortJob& job);
    // Writes one line; false when it could not be written.
    bool write(const QJsonObject& line);

    const QString& error() const { return error_; }
    // "the record FILE could not be written: REASON".
    QString errorMessage() const;

signals:
    void failed();

private:
    DecoderRecord(QString path, QString command, QString file, int fd);

    QString path_;
    QString command_;
    QString file_;
    int fd_ = -1;
    QString error_;
};

} // namespace orv
