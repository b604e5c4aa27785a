// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serialexchange.h"

#include "core/config.h"

namespace orv {

// The download of the configuration image over RS232: the 90-byte frame (command 01h "Save"
// or 02h "Not Save"), then the decoder's one-byte answer within downloadReplyMsecs. Outcomes:
// LinkOutcome::DownloadOk (07h), DownloadRefused (any other byte), DownloadTimedOut.
class DownloadExchange : public SerialExchange {
    Q_OBJECT
public:
    DownloadExchange(SerialTarget target, const Image& image, bool save, const LinkTiming& timing,
                     QObject* parent = nullptr);

protected:
    void opened() override;
    void replied(const QByteArray& bytes) override;
    void timedOut() override;

private:
    Image image_;
    bool save_;
};

// The upload of the answering decoder's settings, or only its firmware version (the same
// request 02h 80h 03h 81h; the reply block is taken at 84 bytes, within uploadReplyMsecs).
// A good block comes back in the result (`upload`, `versionText`); the caller applies it to
// the image for a Configuration request. Outcomes: LinkOutcome::UploadOk or VersionOk,
// UploadRefused, UploadTimedOut.
class UploadExchange : public SerialExchange {
    Q_OBJECT
public:
    UploadExchange(SerialTarget target, UploadRequest request, const LinkTiming& timing,
                   QObject* parent = nullptr);

    UploadRequest request() const { return request_; }

protected:
    void opened() override;
    void replied(const QByteArray& bytes) override;
    void timedOut() override;

private:
    UploadRequest request_;
};

} // namespace orv
