// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serialsettings.h"
#include "wholefile.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

class QDate;
class QLocale;

namespace orv {

// The configuration image: 85 bytes, bar decoder bytes 0..24, magnetic reader bytes 25..84.
constexpr int ImageSize = 85;
constexpr int BarFirst = 0;
constexpr int BarLast = 24;
constexpr int MagFirst = 25;
constexpr int MagLast = 84;
using Image = std::array<quint8, ImageSize>;

// Numbers that ActivePanel takes while a window is open.
enum PanelNumber : qint16 {
    NoPanel = 0,
    PanelCfg3 = 1,       // bar decoder interface
    PanelCfg4 = 2,       // bar decoder communication
    PanelCfg5 = 3,       // bar codes
    PanelCfg6 = 4,       // bar decoder miscellaneous
    PanelTransmit = 5,   // download and upload
    PanelMagCfg4 = 6,    // magnetic reader communication
    PanelMagCfg6 = 7,    // magnetic reader miscellaneous
    PanelMagCfg3 = 8,    // magnetic reader interface
    PanelReadMemory = 9, // decoder memory
};

// The serial ports the link windows offer: "Com 1" to "Com 6".
constexpr int MaxComPort = 6;
// The baud rates the link windows offer, in their order. (The firmware window adds 600, for
// its loader only.)
inline const QStringList LinkBaudRates = {QStringLiteral("1200"), QStringLiteral("2400"),
                                          QStringLiteral("4800"), QStringLiteral("9600"),
                                          QStringLiteral("19200")};

// All state the program's windows share, with the operations on it. main() creates one; every
// window receives it by reference. Member names follow the decoder documentation's names.
class Config {
public:
    Image CfgData{};    // working image: what panels edit, files store and the decoder receives
    Image CfgSaved{};   // the image as last loaded, created or saved
    Image CfgDefault{}; // default image, from the defaults file or the built-in table

    // Header strings of a configuration.
    QString DeviceName;
    QString UserName;
    QString SetupDate;
    QString Description;
    QString CfgFileName;    // full path, or NewFileName while the configuration has no file
    FileStamp CfgFileStamp; // the file as it was opened or last saved, so that Save sees
                            // whether another program has changed it since

    // Serial and keyboard link settings.
    qint16 LinkMode = 1;         // 0 keyboard, 1 RS232
    qint16 ComPort = 1;          // 1..MaxComPort
    SerialSettings LineSettings; // baud rate, parity, data bits, stop bits (9600,N,8,1)

    bool SaveOption = true; // download option "Save" (true) or "Not Save"
    bool MagMode = false;   // magnetic reader command set is current
    qint16 ActivePanel = NoPanel;

    static const QString NewFileName; // "New File"

    // Bit-field access. The value is already shifted into the field's position and is not
    // masked; index must be 0..84.
    void SetCfgBits(int index, int mask, int value);
    int GetCfgBits(int index, int mask) const;
    int GetDefaultBits(int index, int mask) const;

    // Built-in defaults into CfgDefault.
    void BuildBarDefaults();
    void BuildMagDefaults();
    static Image BuiltInDefaults();

    // CfgDefault -> CfgData for one region; CfgSaved is not touched.
    void RestoreBarDefaults();
    void RestoreMagDefaults();

    bool HasUnsavedChanges() const;
    void MarkSaved();

    // Start values of the module state and the images (the first steps of start-up): everything
    // but CfgDefault, which the caller loads afterwards.
    void InitStartState(const QDate& today);

    // Header strings as New sets them.
    void SetNewFileHeaders(const QDate& today);

    // The date in the locale's short format; where that needs characters the configuration file
    // cannot store (digits of other scripts, direction marks), the ISO form 2026-12-08.
    static QString DateText(const QDate& date, const QLocale& locale);
    static QString DateText(const QDate& date);
};

} // namespace orv
