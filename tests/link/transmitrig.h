#pragma once

#include "link/frmtransmit.h"
#include "link/linkoptions.h"
#include "link/serial/qtserialport.h"
#include "support/emulator/decoderemulator.h"
#include "support/fakedialogs.h"
#include "support/fakeshell.h"
#include "support/recordingportaccess.h"

#include "core/config.h"
#include "ui/windowspec.h"

#include <QAbstractButton>
#include <QDate>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace orv::test {

// An frmTransmit on its own, with the recording port access, scripted dialogs, and the decoder
// emulator on "Com 1" (a link in a temporary configuration folder; no other port exists).
struct TransmitRig {
    QTemporaryDir dir;
    Config config;
    FakeShell shell;
    FakeDialogs dialogs;
    RecordingPortAccess port;
    emu::DecoderEmulator emulator;
    QtSerialPortFactory serialPorts{dir.path(), [] {
                                        return QList<SerialDevice>{};
                                    }};
    QPointer<FrmTransmit> window;

    explicit TransmitRig(emu::Kind kind = emu::Kind::Mag, qint16 linkMode = 1) : emulator(kind) {
        config.InitStartState(QDate(2026, 12, 8));
        config.BuildBarDefaults();
        config.BuildMagDefaults();
        config.CfgData = config.CfgDefault;
        config.CfgSaved = config.CfgDefault;
        config.LinkMode = linkMode;
        config.setShell(&shell);
        if (!emulator.start() || !emulator.createLink(ComLinkPath(dir.path(), 1)))
            qFatal("no emulator: %s", qPrintable(emulator.errorString()));
        window = new FrmTransmit(config, *FindWindowSpec(PanelTransmit),
                                 LinkServices{dialogs, port, serialPorts});
        window->load();
        window->show();
    }
    ~TransmitRig() { delete window.data(); }

    template <typename T = QWidget> T* control(const char* name) const {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QLineEdit* text1() const { return control<QLineEdit>("Text1"); }
    QProgressBar* progress() const { return control<QProgressBar>("ProgressBar1"); }
    QAbstractButton* option(const char* group, int index) const {
        return control<QAbstractButton>(qPrintable(QStringLiteral("%1(%2)").arg(group).arg(index)));
    }
    // Clicks a button; the exchange runs to its end inside the click. Returns the milliseconds
    // it took.
    qint64 click(const char* name) {
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(button(name), Qt::LeftButton);
        return t.elapsed();
    }
    bool buttonsEnabled() const {
        for (const char* b : {"cmdTransmit", "cmdReceive", "CmdVersion", "cmdClose"}) {
            if (!button(b)->isEnabled())
                return false;
        }
        return true;
    }
    // The image as the program sends it in a download frame.
    QByteArray image() const {
        return QByteArray(reinterpret_cast<const char*>(config.CfgData.data()), ImageSize);
    }
};

} // namespace orv::test
