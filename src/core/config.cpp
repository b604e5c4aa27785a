// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config.h"

#include "codepage.h"

#include <QDate>
#include <QLocale>

namespace orv {

const QString Config::NewFileName = QStringLiteral("New File");

void Config::SetCfgBits(int index, int mask, int value) {
    Q_ASSERT(index >= 0 && index < ImageSize);
    const int result = (CfgData[index] & ~mask) | value;
    Q_ASSERT(result >= 0 && result <= 255);
    CfgData[index] = static_cast<quint8>(result);
}

int Config::GetCfgBits(int index, int mask) const {
    Q_ASSERT(index >= 0 && index < ImageSize);
    return CfgData[index] & mask;
}

int Config::GetDefaultBits(int index, int mask) const {
    Q_ASSERT(index >= 0 && index < ImageSize);
    return CfgDefault[index] & mask;
}

Image Config::BuiltInDefaults() {
    Image d{};
    for (int i = 0; i <= 7; ++i)
        d[i] = static_cast<quint8>(0x41 + i); // identifier characters "A".."H"
    for (int i = 8; i <= 15; ++i)
        d[i] = 0xFF; // empty prefix and suffix
    d[16] = 0x08;
    d[17] = 0x00;
    d[18] = 0xFF;
    d[19] = 0xFC;
    d[20] = 0x02;
    d[21] = 0xFF;
    d[22] = 0x22;
    d[23] = 0x66;
    d[24] = 0x00;
    d[25] = 0x00;
    d[26] = 0x30;
    d[27] = 0xE2;
    d[28] = 0x17;
    for (int i = 29; i <= 76; ++i)
        d[i] = 0xFF; // six empty track insertion groups
    d[77] = '%';
    d[78] = '?';
    d[79] = ';';
    d[80] = '?';
    d[81] = '+';
    d[82] = '?';
    d[83] = 0x0C;
    d[84] = 0x0D;
    return d;
}

void Config::BuildBarDefaults() {
    const Image d = BuiltInDefaults();
    for (int i = BarFirst; i <= BarLast; ++i)
        CfgDefault[i] = d[i];
}

void Config::BuildMagDefaults() {
    const Image d = BuiltInDefaults();
    for (int i = MagFirst; i <= MagLast; ++i)
        CfgDefault[i] = d[i];
}

void Config::RestoreBarDefaults() {
    for (int i = BarFirst; i <= BarLast; ++i)
        CfgData[i] = CfgDefault[i];
}

void Config::RestoreMagDefaults() {
    for (int i = MagFirst; i <= MagLast; ++i)
        CfgData[i] = CfgDefault[i];
}

bool Config::HasUnsavedChanges() const {
    for (int i = 0; i < ImageSize; ++i) {
        if (CfgData[i] != CfgSaved[i])
            return true;
    }
    return false;
}

void Config::MarkSaved() {
    CfgSaved = CfgData;
}

QString Config::DateText(const QDate& date, const QLocale& locale) {
    const QString text = locale.toString(date, QLocale::ShortFormat);
    if (BytesOfText(text))
        return text;
    return date.toString(Qt::ISODate);
}

QString Config::DateText(const QDate& date) {
    return DateText(date, QLocale::system());
}

void Config::InitStartState(const QDate& today) {
    ActivePanel = NoPanel;
    SaveOption = true;
    MagMode = false;
    RestoreBarDefaults();
    RestoreMagDefaults();
    DeviceName = QStringLiteral("Device Name");
    UserName = QStringLiteral("User's Name");
    SetupDate = DateText(today);
    Description = QStringLiteral("Your description about this configuration file");
    CfgFileName = NewFileName;
    CfgFileStamp = {};
    ComPort = 1;
    LinkMode = 1;
    LineSettings = SerialSettings();
}

void Config::SetNewFileHeaders(const QDate& today) {
    DeviceName = QStringLiteral("Device Name");
    UserName = QStringLiteral("User's Name");
    SetupDate = DateText(today);
    Description = QStringLiteral("Your Description about this Setup");
    CfgFileName = NewFileName;
    CfgFileStamp = {};
}

} // namespace orv
