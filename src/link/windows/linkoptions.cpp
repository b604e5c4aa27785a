// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkoptions.h"

#include "link/serial/serialport.h"

#include "core/config.h"
#include "core/dialogs.h"
#include "ui/controls.h"
#include "ui/names.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace orv {

namespace {

const QString Baud600 = QStringLiteral("600");
// The parities of the parity options, in their order.
const Parity Parities[] = {Parity::None, Parity::Even, Parity::Odd, Parity::Mark, Parity::Space};

} // namespace

LinkOptions::LinkOptions(Config& config, SerialPortFactory& serialPorts,
                         const LinkOptionsLayout& layout, QWidget* parent)
    : QWidget(parent), config_(config), serialPorts_(serialPorts), layout_(layout) {
    setObjectName(QStringLiteral("LinkOptions"));
    // Interface, port, baud rate, data bits above stop bits, parity: side by side.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    if (!layout_.modeCaptions.isEmpty()) {
        modeOptions_ = addGroup(row, "Frame1", QT_TR_NOOP("Interface"), "OptMode",
                                layout_.modeCaptions, &LinkOptions::OptMode_Click);
    }
    QStringList ports;
    for (int i = 1; i <= layout_.ports; ++i)
        ports << tr("Com %1").arg(i);
    portOptions_ =
        addGroup(row, "FraPort", QT_TR_NOOP("Port"), "OptPort", ports, &LinkOptions::OptPort_Click);
    QStringList bauds = LinkBaudRates;
    if (layout_.baud600)
        bauds << Baud600;
    baudOptions_ = addGroup(row, "Frame4", QT_TR_NOOP("Baud Rate"), "optBaud", bauds,
                            &LinkOptions::optBaud_Click);
    auto* framing = new QVBoxLayout;
    row->addLayout(framing);
    dataBitsOptions_ =
        addGroup(framing, "Frame2", QT_TR_NOOP("Data Bits"), "optDatabits",
                 {tr("7 Data Bits"), tr("8 Data Bits")}, &LinkOptions::optDatabits_Click);
    stopBitsOptions_ =
        addGroup(framing, "Frame3", QT_TR_NOOP("Stop Bits"), "optStopbits",
                 {tr("1 Stop Bit"), tr("2 Stop Bit")}, &LinkOptions::optStopbits_Click);
    if (layout_.parity) {
        parityOptions_ = addGroup(row, "Frame6", QT_TR_NOOP("Parity"), "Option2",
                                  {tr("None"), tr("Even"), tr("Odd"), tr("Mark"), tr("Space")},
                                  &LinkOptions::Option2_Click);
    }
    if (layout_.framingHidden) {
        for (const char* name : {"Frame2", "Frame3", "Frame4"})
            frame(QString::fromLatin1(name))->hide();
    }
    showPortDevices();
}

QButtonGroup* LinkOptions::addGroup(QBoxLayout* into, const char* frameName, const char* frameTitle,
                                    const char* groupName, const QStringList& captions,
                                    void (LinkOptions::*handler)(int)) {
    QGroupBox* box = TitledFrame(QString::fromLatin1(frameName), tr(frameTitle), this);
    auto* boxLayout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(this);
    group->setObjectName(QString::fromLatin1(groupName));
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], box);
        button->setObjectName(ArrayName(QString::fromLatin1(groupName), i));
        group->addButton(button, i);
        boxLayout->addWidget(button);
    }
    boxLayout->addStretch();
    // A click, a choice made with the arrow keys or by an accessibility client runs the group's
    // handler.
    OnOptionChosen(group, this, [this, handler](int id) { (this->*handler)(id); });
    into->addWidget(box);
    return group;
}

QGroupBox* LinkOptions::frame(const QString& objectName) const {
    return findChild<QGroupBox*>(objectName);
}

QAbstractButton* LinkOptions::option(const QString& group, int index) const {
    return findChild<QAbstractButton*>(ArrayName(group, index));
}

void LinkOptions::showPortDevices() {
    for (QAbstractButton* b : portOptions_->buttons()) {
        const QString device = serialPorts_.deviceFor(portOptions_->id(b) + 1);
        b->setToolTip(device.isEmpty() ? tr("No serial device") : device);
    }
}

void LinkOptions::select(QButtonGroup* group, int index, void (LinkOptions::*handler)(int)) {
    if (!group)
        return;
    if (QAbstractButton* b = group->button(index)) {
        if (b->isChecked())
            (this->*handler)(index);
        else
            b->setChecked(true); // the change runs the handler
        return;
    }
    // No option stands for the value (a port number this window does not offer): none shows.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

void LinkOptions::showValues() {
    select(portOptions_, config_.ComPort - 1, &LinkOptions::OptPort_Click);
    // A port this window has no option for (Com 5 or 6, chosen in the Transmit window or read
    // from a configuration file) stays in use; no option shows selected, and the frame's
    // tooltip names the port.
    frame(QStringLiteral("FraPort"))
        ->setToolTip(portOptions_->button(config_.ComPort - 1)
                         ? QString()
                         : tr("Com %1 is in use; this window offers Com 1 to Com %2 only")
                               .arg(config_.ComPort)
                               .arg(layout_.ports));
    if (modeOptions_) {
        select(modeOptions_, config_.LinkMode == 1 ? 1 : 0, &LinkOptions::OptMode_Click);
    } else {
        setSerialFramesEnabled(true);
    }
    const SerialSettings& line = config_.LineSettings;
    const qsizetype baud = LinkBaudRates.indexOf(QString::number(line.baudRate));
    select(baudOptions_, baud < 0 ? 0 : static_cast<int>(baud), &LinkOptions::optBaud_Click);
    select(dataBitsOptions_, line.dataBits == 7 ? 0 : 1, &LinkOptions::optDatabits_Click);
    select(stopBitsOptions_, line.stopBits == 1 ? 0 : 1, &LinkOptions::optStopbits_Click);
    select(parityOptions_, 0, &LinkOptions::Option2_Click);
}

void LinkOptions::setSerialFramesEnabled(bool enabled) {
    for (const char* name : {"FraPort", "Frame2", "Frame3", "Frame4"})
        frame(QString::fromLatin1(name))->setEnabled(enabled);
}

void LinkOptions::OptMode_Click(int index) {
    config_.LinkMode = static_cast<qint16>(index);
    setSerialFramesEnabled(index == 1);
}

void LinkOptions::OptPort_Click(int index) {
    config_.ComPort = static_cast<qint16>(index + 1);
}

void LinkOptions::optBaud_Click(int index) {
    qint32& baud = config_.LineSettings.baudRate;
    switch (index) {
    case 0:
    case 1:
    case 2:
    case 4:
        baud = LinkBaudRates[index].toInt();
        break;
    case 5:
        baud = Baud600.toInt();
        break;
    default:
        baud = 9600;
        break;
    }
}

void LinkOptions::optDatabits_Click(int index) {
    // The parity goes back to none; the stop bits stay.
    config_.LineSettings.parity = Parity::None;
    config_.LineSettings.dataBits = index == 0 ? 7 : 8;
}

void LinkOptions::optStopbits_Click(int index) {
    config_.LineSettings.stopBits = index == 0 ? 1 : 2;
}

void LinkOptions::Option2_Click(int index) {
    if (index < 0 || index >= int(std::size(Parities)))
        return;
    config_.LineSettings.parity = Parities[index];
    emit parityChosen(index);
}

} // namespace orv
