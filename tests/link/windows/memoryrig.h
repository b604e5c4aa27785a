// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkrig.h"

#include "link/windows/frmreadmemory.h"
#include "link/windows/linkoptions.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace orv::test {

// frmReadMemory with the emulator's memory on "Com 1".
struct MemoryRig : LinkRig<FrmReadMemory> {
    explicit MemoryRig(qint16 linkMode = 1, const LinkTiming& timing = TimingFor(false))
        : LinkRig(*FindWindowInfo(PanelReadMemory), emu::Kind::Mag, linkMode, timing) {}

    QPlainTextEdit* memoryBox() const { return control<QPlainTextEdit>("TxtMemory"); }
    QString text() const { return memoryBox()->toPlainText(); }
    QLineEdit* text1() const { return control<QLineEdit>("Text1"); }
    bool buttonsEnabled() const {
        return allEnabled(
            {"CmdRead", "cmdClear", "CmdDisplay", "cmdSave", "cmdSaveAs", "CmdClose"});
    }
    static QByteArray ReadFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace orv::test
