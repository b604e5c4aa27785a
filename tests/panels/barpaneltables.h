// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The bar decoder panels' fields, written down independently of the panels' own tables.

#include "paneldriver.h"

namespace orv::test {

// clang-format off
inline const QList<OptionField>& OptionFields() {
    static const QList<OptionField> fields = [] {
        const QStringList de{"Disable", "Enable"};
        const QStringList ntt{"Not Transmit", "Transmit"};
        const QStringList cd{"Do Not Calculate Check Digit",
                             "Calculate Check Digit and Not Transmit",
                             "Calculate Check Digit and Transmit"};
        const QStringList terminators{"CR", "LF", "CR+LF", "HT(TAB)", "Space",
                                      "STX-ETX (RS232 Mode Only)", "None"};
        const QStringList languages{"US English", "UK English", "Italian", "Spanish",
                                    "French", "German", "Swedish", "Switzerland",
                                    "Hungarian", "Japanese", "Belgium", "Portuguese",
                                    "Denmark", "Netherlands", "Reserved 1", "Reserved 2"};
        return QList<OptionField>{
            {"cfg3", "optCFG3_1", 22, 0x03, {0, 1, 2}, {"Keyboard Mode", "USB Mode", "RS232 Mode"},
             {"Keyboard Mode", "RS232 Mode", "USB Mode"}, "cmdDefault31_2"},
            {"cfg4", "optCfg41A", 16, 0x0C, {0, 1, 2, 3}, {"2400", "4800", "9600", "19200"},
             {"2400", "4800", "9600", "19200"}, "cmdDefault41"},
            {"cfg4", "optCfg41B", 19, 0x08, {0, 1}, {"7 Data Bits", "8 Data Bits"},
             {"7 Data Bits", "8 Data Bits"}, "cmdDefault41"},
            {"cfg4", "optCfg41C", 19, 0x80, {0, 1}, {"2 Bits", "1 Bit"}, {"1 Bit", "2 Bits"},
             "cmdDefault41"},
            {"cfg4", "optCfg41D", 19, 0x70, {0, 1, 2, 3, 7}, {"Space", "Mark", "Even", "Odd", "None"},
             {"Space", "Odd", "Mark", "None", "Even"}, "cmdDefault41"},
            {"cfg4", "optRTSCTS", 20, 0x08, {0, 1}, de, de, "cmdDefault41"},
            {"cfg4", "optACKNCK", 20, 0x10, {0, 1}, de, de, "cmdDefault41"},
            {"cfg4", "optXONXOFF", 20, 0x20, {0, 1}, de, de, "cmdDefault41"},
            {"cfg4", "optCfg42A", 16, 0x03, {0, 1, 2, 3},
             {"IBM PC/AT,PS/2", "IBM PC/XT", "Apple Desktop Bus(ADB)", "NEC 9800"},
             {"IBM PC/AT,PS/2", "IBM PC/XT", "Apple Desktop Bus(ADB)", "NEC 9800"}, "cmdDefault42"},
            {"cfg4", "Optcfg42b", 19, 0x04, {0, 1}, {"Lower Case", "Upper Case"},
             {"Upper Case", "Lower Case"}, "cmdDefault42"},
            {"cfg4", "optCfg42C", 20, 0x40, {0, 1}, de, de, "cmdDefault42"},
            {"cfg4", "optCfg42D", 20, 0x80, {0, 1}, {"OFF", "ON"}, {"OFF", "ON"}, "cmdDefault42"},
            {"cfg4", "optCfg43A", 20, 0x07, {0, 1, 2, 3, 4, 5, 6}, terminators, terminators,
             "cmdDefault43"},
            {"cfg4", "optCfg43B", 19, 0x02, {0, 1}, {"0 ms", "15 ms"}, {"0 ms", "15 ms"},
             "cmdDefault43"},
            {"cfg5", "optCfg52B", 22, 0x40, {0, 1}, ntt, ntt, "cmdDefault52C"},
            {"cfg5", "Optcheck", 22, 0x20, {0, 1}, ntt, {"Transmit", "Not Transmit"},
             "cmdDefault52C"},
            {"cfg5", "Optcode39", 23, 0x02, {0, 1}, {"Full ASCII", "Standard"},
             {"Standard", "Full ASCII"}, "cmdDefault53"},
            {"cfg5", "OptStart_stop", 23, 0x01, {0, 1}, {"Not Optput ", "Output "},
             {"Not Optput ", "Output "}, "cmdDefault53"},
            {"cfg5", "opt53B", 23, 0xC0, {1, 2, 3}, cd, cd, "cmdDefault53"},
            {"cfg5", "opt54A", 23, 0x30, {1, 2, 3}, cd, cd, "cmdDefault54"},
            {"cfg5", "opt55A", 23, 0x0C, {1, 2, 3}, cd, cd, "cmdDefault55"},
            {"cfg6", "opt61", 16, 0xF0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
             languages, languages, "cmdDefault61"},
        };
    }();
    return fields;
}

inline const QList<CheckField>& CheckFields() {
    static const QList<CheckField> fields = [] {
        QList<CheckField> f{
            {"cfg3", "ChkRead", "Read Memory Enable", 24, 0x01, "cmdDefault31_2", Access::Shown}};
        const char* symbologies[8] = {"CodaBar/NW7", "Interleave 25", "Code 128", "Code 39",
                                      "EAN-8/JAN-8", "EAN-13/JAN-13", "UPC-E", "UPC-A"};
        for (int i = 0; i < 8; ++i)
            f << CheckField{"cfg5", QStringLiteral("chk51(%1)").arg(i), symbologies[i], 21, 1 << i,
                            "cmdSetAll"};
        f << CheckField{"cfg5", "chkUpcAEan13", "UPC-A=EAN-13", 22, 0x80, "cmdDefault52C"}
          << CheckField{"cfg5", "chkIsbn", "Enable ISBN/ISSN", 22, 0x10, "cmdDefault52C"}
          << CheckField{"cfg5", "ChkBrazil", "Brazil 25", 19, 0x01, "cmdDefault55"};
        for (int i = 0; i < 8; ++i)
            f << CheckField{"cfg5", QStringLiteral("ChkStart(%1)").arg(i),
                            QString(QChar(char16_t(u'A' + i % 4))), 18, 1 << i, "cmdDefault58"};
        f << CheckField{"cfg5", "chk58A", "Set Up Start/Stop Characters Upon Transmission", 22,
                        0x08, "cmdDefault58"}
          << CheckField{"cfg6", "chk62", "Enable Code ID", 22, 0x04, "cmdDefault62"};
        return f;
    }();
    return fields;
}
// clang-format on

// A random image whose every bar decoder field holds a code that the panels write.
inline Image WritableImage(QRandomGenerator& rng) {
    Image img = RandomImage(rng, {8, 12}, 4);
    PickCodes(img, OptionFields(), rng);
    for (int i = 0; i < 8; ++i) // identifier characters: none, or a printable character
        img[i] = rng.bounded(4) == 0 ? 0 : static_cast<quint8>(32 + rng.bounded(224));
    return img;
}

inline PanelTables BarTables() {
    QList<QPair<const char*, int>> restored;
    for (int i = 0; i < 8; ++i) // the identifier characters
        restored << qMakePair("cmdDefault62", i);
    return {OptionFields(), CheckFields(), restored, &WritableImage};
}

} // namespace orv::test
