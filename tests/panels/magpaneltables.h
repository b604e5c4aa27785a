// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The magnetic reader panels' fields, written down independently of the panels' own tables.

#include "paneldriver.h"

namespace orv::test {

// clang-format off
inline const QList<OptionField>& MagOptionFields() {
    static const QList<OptionField> fields = [] {
        const QStringList de{"Disable", "Enable"};
        const QStringList languages{"US English", "UK English", "Italian", "Spanish",
                                    "French", "German", "Swedish", "Switzerland",
                                    "Hungarian", "Japanese", "Belgium", "Portuguese",
                                    "Denmark", "Netherlands", "Reserved 1", "Reserved 2"};
        return QList<OptionField>{
            {"magcfg3", "OptCfg3_1", 26, 0xC0, {0, 1, 2}, {"Keyboard Mode", "USB Mode", "RS232 Mode"},
             {"Keyboard Mode", "RS232 Mode", "USB Mode"}, "cmdDefault31_2"},
            {"magcfg4", "optCfg41A", 28, 0x07, {0, 1, 2, 3, 4, 7},
             {"600", "1200", "2400", "4800", "19200", "9600"},
             {"600", "4800", "1200", "9600", "2400", "19200"}, "cmdDefault41"},
            {"magcfg4", "optCfg41B", 26, 0x20, {0, 1}, {"7 Data Bits", "8 Data Bits"},
             {"7 Data Bits", "8 Data Bits"}, "cmdDefault41"},
            {"magcfg4", "optCfg41C", 26, 0x10, {0, 1}, {"2 Bits", "1 Bit"}, {"1 Bit", "2 Bits"},
             "cmdDefault41"},
            {"magcfg4", "optCfg41D", 27, 0xE0, {0, 1, 2, 3, 7},
             {"Space", "Mark", "Even", "Odd", "None"}, {"Space", "Odd", "Mark", "None", "Even"},
             "cmdDefault41"},
            {"magcfg4", "optRTSCTS", 27, 0x10, {0, 1}, de, de, "cmdDefault41"},
            {"magcfg4", "optACKNCK", 27, 0x08, {0, 1}, de, de, "cmdDefault41"},
            {"magcfg4", "optXONXOFF", 26, 0x08, {0, 1}, de, de, "cmdDefault41"},
            {"magcfg4", "optCfg42A", 26, 0x03, {0, 1, 2, 3},
             {"IBM PC/AT,PS/2", "IBM PC/XT", "Apple Desktop Bus(ADB)", "NEC 9800"},
             {"IBM PC/AT,PS/2", "IBM PC/XT", "Apple Desktop Bus(ADB)", "NEC 9800"}, "cmdDefault42"},
            {"magcfg4", "Optcfg42b", 28, 0x80, {0, 1}, {"Upper Case", "Lower Case"},
             {"Upper Case", "Lower Case"}, "cmdDefault42"},
            {"magcfg4", "optCfg42C", 28, 0x20, {0, 1}, de, de, "cmdDefault42"},
            {"magcfg4", "optCfg42D", 28, 0x40, {0, 1}, {"OFF", "ON"}, {"OFF", "ON"}, "cmdDefault42"},
            {"magcfg4", "optCfg43A", 27, 0x07, {0, 1, 2, 3, 4, 5, 6},
             {"CR", "LF", "CR+LF", "HT(TAB)", "Space", "STX-ETX (RS232 Only)", "None"},
             {"CR", "Space", "LF", "HT(TAB)", "CR+LF", "None", "STX-ETX (RS232 Only)"},
             "cmdDefault43"},
            {"magcfg4", "optCfg43B", 26, 0x04, {0, 1}, {"0 ms", "15 ms"}, {"0 ms", "15 ms"},
             "cmdDefault43"},
            {"magcfg4", "optCfg45A", 83, 0x0F,
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
             {"Single Track", "Track 1 Only", "Track 2 Only", "Track 3 Only",
              "Track 1-2", "Track 2-1", "Track 1-2-3", "Track1-3-2",
              "Track 2-1-3", "Track 2-3-1", "Track 3-1-2", "Track 3-2-1",
              "Auto", "Track 2-3", "Track 3-2", "Any"},
             {"Single Track", "Track 1 Only", "Track 2 Only", "Track 3 Only",
              "Track 1-2", "Track 2-1", "Track 2-3", "Track 3-2",
              "Track 1-2-3", "Track1-3-2", "Track 2-1-3", "Track 2-3-1",
              "Track 3-1-2", "Track 3-2-1", "Auto", "Any"},
             "cmdDefault45", Access::IsoOnly},
            {"magcfg4", "OptISO", 25, 0x01, {0, 1}, {"ISO", "JIS2"}, {"ISO", "JIS2"},
             "cmdDefault45"},
            {"magcfg6", "opt61", 83, 0xF0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
             languages, languages, "cmdDefault61"},
        };
    }();
    return fields;
}

inline const QList<CheckField>& MagCheckFields() {
    static const QList<CheckField> fields{
        {"magcfg3", "ChkMSRMem", "Read Memory Enable", 25, 0x02, "cmdDefault31_2", Access::Shown},
        {"magcfg3", "ChkNotebook", "Disable  External Keyboard", 25, 0x08, "cmdDefault31_2",
         Access::Hidden},
        {"magcfg4", "chkCfg45B", "ON", 28, 0x10, "cmdDefault45"},
        {"magcfg4", "chkCfg45C", "ON", 28, 0x08, "cmdDefault45", Access::IsoOnly},
    };
    return fields;
}
// clang-format on

// The first byte of each of the six insertion groups, prefix of track t at 29 + 16t, suffix at
// 37 + 16t.
constexpr int PrefixGroup(int t) {
    return 29 + 16 * t;
}
constexpr int SuffixGroup(int t) {
    return 37 + 16 * t;
}

// A random image whose every magnetic reader field holds a code that the panels write. The track
// start and end characters and the separator may hold any byte.
inline Image WritableMagImage(QRandomGenerator& rng) {
    Image img = RandomImage(rng,
                            {PrefixGroup(0), SuffixGroup(0), PrefixGroup(1), SuffixGroup(1),
                             PrefixGroup(2), SuffixGroup(2)},
                            8);
    PickCodes(img, MagOptionFields(), rng);
    return img;
}

inline PanelTables MagTables() {
    QList<QPair<const char*, int>> restored{{"cmdDefault45", 84}};
    for (int i = 77; i <= 82; ++i) // the track start and end characters
        restored << qMakePair("CmdDefault", i);
    return {MagOptionFields(), MagCheckFields(), restored, &WritableMagImage};
}

} // namespace orv::test
