// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QBoxLayout;

namespace orv {

class Config;
class SerialPort;
class SerialPortFactory;

// Which link option groups a window carries.
struct LinkOptionsLayout {
    QStringList modeCaptions;   // captions of OptMode(0) and OptMode(1); empty: no interface group
    int ports = 6;              // OptPort(0) "Com 1" .. OptPort(ports - 1)
    bool baud600 = false;       // optBaud(5) "600"
    bool parity = false;        // Option2 "None" .. "Space"
    bool framingHidden = false; // Frame2, Frame3 and Frame4 hidden (only the port shows)
};

// The option groups of the link windows: interface, port, baud rate, data bits, stop bits and
// parity. Every window's groups edit the shared LinkMode, ComPort and LineSettings, so a
// choice made in one window holds in the others.
class LinkOptions : public QWidget {
    Q_OBJECT
public:
    LinkOptions(Config& config, SerialPortFactory& serialPorts, const LinkOptionsLayout& layout,
                QWidget* parent = nullptr);

    // Selects the options that show the shared values, as the windows do when they open.
    // Selecting an option runs its handler, as a click would, so the values shown and the
    // values used agree (the data bits handler thereby sets the parity letter to "N", which
    // the parity group shows as "None").
    void showValues();
    // Puts the device each "Com N" stands for into the port options' tooltips.
    void showPortDevices();

    QGroupBox* frame(const QString& objectName) const;
    QAbstractButton* option(const QString& group, int index) const;

    // The click handlers of the groups.
    void OptMode_Click(int index);
    void OptPort_Click(int index);
    void optBaud_Click(int index);
    void optDatabits_Click(int index);
    void optStopbits_Click(int index);
    void Option2_Click(int index);

signals:
    // A parity option was chosen (Option2 index).
    void parityChosen(int index);

private:
    QButtonGroup* addGroup(QBoxLayout* into, const char* frameName, const char* frameTitle,
                           const char* groupName, const QStringList& captions,
                           void (LinkOptions::*handler)(int));
    void select(QButtonGroup* group, int index, void (LinkOptions::*handler)(int));
    void setSerialFramesEnabled(bool enabled);

    Config& config_;
    SerialPortFactory& serialPorts_;
    LinkOptionsLayout layout_;
    QButtonGroup* modeOptions_ = nullptr;     // OptMode (no group: no interface choice)
    QButtonGroup* portOptions_ = nullptr;     // OptPort
    QButtonGroup* baudOptions_ = nullptr;     // optBaud
    QButtonGroup* dataBitsOptions_ = nullptr; // optDatabits
    QButtonGroup* stopBitsOptions_ = nullptr; // optStopbits
    QButtonGroup* parityOptions_ = nullptr;   // Option2 (no group: no parity choice)
};

} // namespace orv
