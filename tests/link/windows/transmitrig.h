// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkrig.h"

#include "link/windows/frmtransmit.h"
#include "link/windows/linkoptions.h"

#include <QLineEdit>
#include <QProgressBar>

namespace orv::test {

// frmTransmit with the emulator on "Com 1".
struct TransmitRig : LinkRig<FrmTransmit> {
    explicit TransmitRig(emu::Kind kind = emu::Kind::Mag, qint16 linkMode = 1,
                         const LinkTiming& timing = TimingFor(false))
        : LinkRig(*FindWindowInfo(PanelTransmit), kind, linkMode, timing) {}

    QLineEdit* text1() const { return control<QLineEdit>("Text1"); }
    QProgressBar* progress() const { return control<QProgressBar>("ProgressBar1"); }
    bool buttonsEnabled() const {
        return allEnabled({"cmdTransmit", "cmdReceive", "CmdVersion", "cmdClose"});
    }
    // The image as the program sends it in a download frame.
    QByteArray image() const {
        return QByteArray(reinterpret_cast<const char*>(config.CfgData.data()), ImageSize);
    }
};

} // namespace orv::test
