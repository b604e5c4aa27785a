// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filecommands.h"
#include "linksession.h"

#include <optional>

namespace orv {

// How apply tells of a decoder (the JSON "status" and the record's "result").
inline const QString Unchanged = QStringLiteral("unchanged");
inline const QString Changed = QStringLiteral("changed");
inline const QString WouldChange = QStringLiteral("would-change");
inline const QString ApplyFailed = QStringLiteral("failed");

// apply --check: at least one decoder would change (beside ExitOk, ExitLinkFailed, ExitTrouble).
constexpr int ExitWouldChange = 3;

// One decoder brought to a configuration file, touched only when it differs: its region is
// uploaded and compared with the same region of the file; only when they differ is the file
// downloaded, and the region uploaded again to verify. With `check` nothing is sent: the
// outcome tells what would change.
class ApplyJob : public PortJob {
    Q_OBJECT
public:
    enum class Step { Reading, Sending, Verifying };

    ApplyJob(PortName name, std::unique_ptr<SerialPort> port, SerialSettings settings,
             LinkTiming timing, ConfigFile file, QString fileName, bool save, bool check);

    Step step() const { return step_; }
    // "reading the settings", "sending FILE", "verifying".
    QString stepText() const;

signals:
    void stepChanged();

protected:
    void begin() override;
    void finished(const ExchangeResult& result) override;

private:
    // Starts the next exchange once the one before has let go of the port.
    void next(Step step);
    PortOutcome makeOutcome(const QString& key, PortStatus status, const QString& what,
                            const std::vector<SettingChange>& changes) const;
    // "bar decoder DECODER V3.4 2024-05-17"; empty before the first upload.
    QString decoderWords() const;

    ConfigFile file_;
    QString fileName_;
    bool save_;
    bool check_;
    Step step_ = Step::Reading;
    std::optional<UploadBlock> before_; // the decoder's settings as found
};

} // namespace orv
