// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"

#include <QCoreApplication>
#include <QHash>

#include <bit>

namespace orv {

namespace {

// Captions of the windows.
const char* const BarInterface = "Interface";
const char* const BarComm = "Communication Parameters";
const char* const BarCodes = "Bar Codes and Others";
const char* const BarMisc = "Miscellaneous Parameters";
const char* const MagInterface = "Interface";
const char* const MagComm = "Communication Parameters";
const char* const MagMisc = "Miscellaneous Parameters";
const char* const Transmit = "Transmit";

constexpr BitField Bits(int byte, int mask) {
    return {byte, mask, std::countr_zero(static_cast<unsigned>(mask))};
}
constexpr BitField WholeByte(int byte) {
    return {byte, 0xFF, 0};
}

// ----- The values of the choices -----

using Values = std::vector<SettingValue>;

const Values DisableEnable{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Disable"), "disable"},
                           {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Enable"), "enable"}};
const Values OffOn{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "OFF"), "off"},
                   {1, QT_TRANSLATE_NOOP("orv::Catalogue", "ON"), "on"}};
const Values NotTransmitTransmit{
    {0, QT_TRANSLATE_NOOP("orv::Catalogue", "Not Transmit"), "not_transmit"},
    {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Transmit"), "transmit"}};
// A check box: unticked 0, ticked 1.
const Values Unticked{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Off"), "off"},
                      {1, QT_TRANSLATE_NOOP("orv::Catalogue", "On"), "on"}};
const Values LinkModes{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Keyboard"), "keyboard"},
                       {1, QT_TRANSLATE_NOOP("orv::Catalogue", "RS232"), "rs232"}};
const Values ComPorts{{1, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 1"), "1"},
                      {2, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 2"), "2"},
                      {3, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 3"), "3"},
                      {4, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 4"), "4"},
                      {5, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 5"), "5"},
                      {6, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 6"), "6"}};
const Values Modes{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Keyboard Mode"), "keyboard"},
                   {1, QT_TRANSLATE_NOOP("orv::Catalogue", "USB Mode"), "usb"},
                   {2, QT_TRANSLATE_NOOP("orv::Catalogue", "RS232 Mode"), "rs232"}};
const Values BarBaudRates{
    {0, "2400", "2400"}, {1, "4800", "4800"}, {2, "9600", "9600"}, {3, "19200", "19200"}};
// Baud rate "9600" is stored as 7.
const Values MagBaudRates{{0, "600", "600"},   {1, "1200", "1200"},   {2, "2400", "2400"},
                          {3, "4800", "4800"}, {4, "19200", "19200"}, {7, "9600", "9600"}};
const Values DataBits{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "7 Data Bits"), "7"},
                      {1, QT_TRANSLATE_NOOP("orv::Catalogue", "8 Data Bits"), "8"}};
const Values StopBits{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "2 Bits"), "2"},
                      {1, QT_TRANSLATE_NOOP("orv::Catalogue", "1 Bit"), "1"}};
// Parity "None" is stored as 7; a stored 4 shows as "None" and is kept until the user chooses.
const Values Parity{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Space"), "space"},
                    {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Mark"), "mark"},
                    {2, QT_TRANSLATE_NOOP("orv::Catalogue", "Even"), "even"},
                    {3, QT_TRANSLATE_NOOP("orv::Catalogue", "Odd"), "odd"},
                    {7, QT_TRANSLATE_NOOP("orv::Catalogue", "None"), "none"}};
const std::vector<ShownCode> ParityShown{{4, 7, true}};
const Values TerminalTypes{
    {0, QT_TRANSLATE_NOOP("orv::Catalogue", "IBM PC/AT,PS/2"), "pc_at"},
    {1, QT_TRANSLATE_NOOP("orv::Catalogue", "IBM PC/XT"), "pc_xt"},
    {2, QT_TRANSLATE_NOOP("orv::Catalogue", "Apple Desktop Bus(ADB)"), "adb"},
    {3, QT_TRANSLATE_NOOP("orv::Catalogue", "NEC 9800"), "nec_9800"}};
const Values BarLetterCase{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Lower Case"), "lower"},
                           {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Upper Case"), "upper"}};
// Coded the other way round from the bar decoder's: 0 is upper case.
const Values MagLetterCase{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Upper Case"), "upper"},
                           {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Lower Case"), "lower"}};
const Values BarTerminators{
    {0, QT_TRANSLATE_NOOP("orv::Catalogue", "CR"), "cr"},
    {1, QT_TRANSLATE_NOOP("orv::Catalogue", "LF"), "lf"},
    {2, QT_TRANSLATE_NOOP("orv::Catalogue", "CR+LF"), "crlf"},
    {3, QT_TRANSLATE_NOOP("orv::Catalogue", "HT(TAB)"), "tab"},
    {4, QT_TRANSLATE_NOOP("orv::Catalogue", "Space"), "space"},
    {5, QT_TRANSLATE_NOOP("orv::Catalogue", "STX-ETX (RS232 Mode Only)"), "stx_etx"},
    {6, QT_TRANSLATE_NOOP("orv::Catalogue", "None"), "none"}};
const Values MagTerminators{
    {0, QT_TRANSLATE_NOOP("orv::Catalogue", "CR"), "cr"},
    {1, QT_TRANSLATE_NOOP("orv::Catalogue", "LF"), "lf"},
    {2, QT_TRANSLATE_NOOP("orv::Catalogue", "CR+LF"), "crlf"},
    {3, QT_TRANSLATE_NOOP("orv::Catalogue", "HT(TAB)"), "tab"},
    {4, QT_TRANSLATE_NOOP("orv::Catalogue", "Space"), "space"},
    {5, QT_TRANSLATE_NOOP("orv::Catalogue", "STX-ETX (RS232 Only)"), "stx_etx"},
    {6, QT_TRANSLATE_NOOP("orv::Catalogue", "None"), "none"}};
const Values Timeouts{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "0 ms"), "0ms"},
                      {1, QT_TRANSLATE_NOOP("orv::Catalogue", "15 ms"), "15ms"}};
const Values Code39OutputAs{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Full ASCII"), "full_ascii"},
                            {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Standard"), "standard"}};
const Values Code39StartStop{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Not Optput "), "not_output"},
                             {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Output "), "output"}};
// The three check-digit fields store the option's index + 1. A stored 0 shows as "Do Not
// Calculate Check Digit" and is kept until the user chooses.
const Values CheckDigits{
    {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Do Not Calculate Check Digit"), "no_calculate"},
    {2, QT_TRANSLATE_NOOP("orv::Catalogue", "Calculate Check Digit and Not Transmit"), "calculate"},
    {3, QT_TRANSLATE_NOOP("orv::Catalogue", "Calculate Check Digit and Transmit"),
     "calculate_transmit"}};
const std::vector<ShownCode> CheckDigitShown{{0, 1, true}};
const Values Languages{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "US English"), "us_english"},
                       {1, QT_TRANSLATE_NOOP("orv::Catalogue", "UK English"), "uk_english"},
                       {2, QT_TRANSLATE_NOOP("orv::Catalogue", "Italian"), "italian"},
                       {3, QT_TRANSLATE_NOOP("orv::Catalogue", "Spanish"), "spanish"},
                       {4, QT_TRANSLATE_NOOP("orv::Catalogue", "French"), "french"},
                       {5, QT_TRANSLATE_NOOP("orv::Catalogue", "German"), "german"},
                       {6, QT_TRANSLATE_NOOP("orv::Catalogue", "Swedish"), "swedish"},
                       {7, QT_TRANSLATE_NOOP("orv::Catalogue", "Switzerland"), "switzerland"},
                       {8, QT_TRANSLATE_NOOP("orv::Catalogue", "Hungarian"), "hungarian"},
                       {9, QT_TRANSLATE_NOOP("orv::Catalogue", "Japanese"), "japanese"},
                       {10, QT_TRANSLATE_NOOP("orv::Catalogue", "Belgium"), "belgium"},
                       {11, QT_TRANSLATE_NOOP("orv::Catalogue", "Portuguese"), "portuguese"},
                       {12, QT_TRANSLATE_NOOP("orv::Catalogue", "Denmark"), "denmark"},
                       {13, QT_TRANSLATE_NOOP("orv::Catalogue", "Netherlands"), "netherlands"},
                       {14, QT_TRANSLATE_NOOP("orv::Catalogue", "Reserved 1"), "reserved_1"},
                       {15, QT_TRANSLATE_NOOP("orv::Catalogue", "Reserved 2"), "reserved_2"}};
const Values Counts{{0, "0", "0"},    {1, "1", "1"},    {2, "2", "2"},    {3, "3", "3"},
                    {4, "4", "4"},    {5, "5", "5"},    {6, "6", "6"},    {7, "7", "7"},
                    {8, "8", "8"},    {9, "9", "9"},    {10, "10", "10"}, {11, "11", "11"},
                    {12, "12", "12"}, {13, "13", "13"}, {14, "14", "14"}, {15, "15", "15"}};
const Values CardStandards{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "ISO"), "iso"},
                           {1, QT_TRANSLATE_NOOP("orv::Catalogue", "JIS2"), "jis2"}};
const Values Tracks{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Single Track"), "single"},
                    {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1 Only"), "1_only"},
                    {2, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2 Only"), "2_only"},
                    {3, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3 Only"), "3_only"},
                    {4, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1-2"), "1-2"},
                    {5, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2-1"), "2-1"},
                    {6, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1-2-3"), "1-2-3"},
                    {7, QT_TRANSLATE_NOOP("orv::Catalogue", "Track1-3-2"), "1-3-2"},
                    {8, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2-1-3"), "2-1-3"},
                    {9, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2-3-1"), "2-3-1"},
                    {10, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3-1-2"), "3-1-2"},
                    {11, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3-2-1"), "3-2-1"},
                    {12, QT_TRANSLATE_NOOP("orv::Catalogue", "Auto"), "auto"},
                    {13, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2-3"), "2-3"},
                    {14, QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3-2"), "3-2"},
                    {15, QT_TRANSLATE_NOOP("orv::Catalogue", "Any"), "any"}};

// ----- The kinds of rows -----
// The tables below give every setting but its panel, which the table it is in gives (Build).

SettingRegion RegionOf(int byte) {
    return byte <= BarLast ? SettingRegion::Bar : SettingRegion::Mag;
}

// An option group, named by its frame's caption.
Setting Choice(const char* key, const char* frame, BitField field, Values values,
               std::vector<ShownCode> shown = {}) {
    return {key,
            RegionOf(field.byte),
            "",
            frame,
            frame,
            SettingKind::Choice,
            field,
            1,
            std::move(values),
            std::move(shown)};
}

// An option group without a frame, named by the label beside it.
Setting LabelledChoice(const char* key, const char* label, BitField field, Values values) {
    return {key, RegionOf(field.byte), "", "", label, SettingKind::Choice, field,
            1,   std::move(values)};
}

Setting Flag(const char* key, const char* frame, const char* label, BitField field) {
    return {key, RegionOf(field.byte), "", frame, label, SettingKind::Flag, field, 1, Unticked};
}

Setting Count(const char* key, const char* frame, const char* label, BitField field) {
    return {key, RegionOf(field.byte), "", frame, label, SettingKind::Count, field, 1, Counts};
}

Setting Character(const char* key, const char* frame, const char* label, int byte, CharRule rule) {
    return {
        key, RegionOf(byte), "", frame, label, SettingKind::Character, WholeByte(byte), 1, {}, {},
        rule};
}

Setting Insertion(const char* key, const char* frame, const char* label, int first, int length) {
    return {key,   RegionOf(first), "", frame, label, SettingKind::InsertionText, WholeByte(first),
            length};
}

// Bits that no panel sets: no window shows them, and they are kept as they are.
Setting Reserved(const char* key, const char* label, BitField field) {
    return {key, RegionOf(field.byte), "", "", label, SettingKind::Reserved, field};
}

Setting HeaderText(const char* key, const char* label, HeaderItem item) {
    return {key, SettingRegion::Header, "",  "", label, SettingKind::HeaderText, {-1, 0, 0}, 0, {},
            {},  CharRule::None,        item};
}

// A header record the Transmit window chooses with an option group.
Setting HeaderChoice(const char* key, const char* frame, Values values, HeaderItem item) {
    return {key, SettingRegion::Header, "", frame,          frame, SettingKind::Choice, {-1, 0, 0},
            0,   std::move(values),     {}, CharRule::None, item};
}

// ----- The tables, a row per setting -----

// The four header strings, edited in both interface panels.
std::vector<Setting> HeaderStrings() {
    return {HeaderText("header.device_name", QT_TRANSLATE_NOOP("orv::Catalogue", "Device Name: "),
                       HeaderItem::DeviceName),
            HeaderText("header.user_name", QT_TRANSLATE_NOOP("orv::Catalogue", "User's Name: "),
                       HeaderItem::UserName),
            HeaderText("header.building_date",
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Building Date:"),
                       HeaderItem::SetupDate),
            HeaderText("header.description", QT_TRANSLATE_NOOP("orv::Catalogue", "Description:"),
                       HeaderItem::Description)};
}

// The link settings the Transmit window chooses.
std::vector<Setting> LinkRecords() {
    return {HeaderChoice("header.link_mode", QT_TRANSLATE_NOOP("orv::Catalogue", "Interface"),
                         LinkModes, HeaderItem::LinkMode),
            HeaderChoice("header.com_port", "Port", ComPorts, HeaderItem::ComPort)};
}

// An interface code 3 is shown by no option and kept.
std::vector<Setting> BarInterfaceSettings() {
    return {Choice("bar.interface.mode", QT_TRANSLATE_NOOP("orv::Catalogue", "Interface"),
                   Bits(22, 0x03), Modes),
            Flag("bar.interface.read_memory", "",
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Read Memory Enable"), Bits(24, 0x01))};
}

// Parity 5 and 6 and terminator 7 are shown by no option and kept.
std::vector<Setting> BarCommSettings() {
    return {
        Choice("bar.comm.baud_rate", QT_TRANSLATE_NOOP("orv::Catalogue", "Baud Rate"),
               Bits(16, 0x0C), BarBaudRates),
        Choice("bar.comm.data_bits", QT_TRANSLATE_NOOP("orv::Catalogue", "Data Bits"),
               Bits(19, 0x08), DataBits),
        Choice("bar.comm.stop_bits", QT_TRANSLATE_NOOP("orv::Catalogue", "Stop Bits"),
               Bits(19, 0x80), StopBits),
        Choice("bar.comm.parity", QT_TRANSLATE_NOOP("orv::Catalogue", "Parity"), Bits(19, 0x70),
               Parity, ParityShown),
        Choice("bar.comm.rts_cts", QT_TRANSLATE_NOOP("orv::Catalogue", "RTS/CTS"), Bits(20, 0x08),
               DisableEnable),
        Choice("bar.comm.ack_nak", QT_TRANSLATE_NOOP("orv::Catalogue", "ACK/NAK"), Bits(20, 0x10),
               DisableEnable),
        Choice("bar.comm.xon_xoff", QT_TRANSLATE_NOOP("orv::Catalogue", "XON/XOFF"), Bits(20, 0x20),
               DisableEnable),
        Choice("bar.comm.terminal_type", QT_TRANSLATE_NOOP("orv::Catalogue", "Terminal Type"),
               Bits(16, 0x03), TerminalTypes),
        Choice("bar.comm.letter_case", QT_TRANSLATE_NOOP("orv::Catalogue", "Upper/Lower Case"),
               Bits(19, 0x04), BarLetterCase),
        Choice("bar.comm.alt_method",
               QT_TRANSLATE_NOOP("orv::Catalogue", "Send Characters by ALT Method"), Bits(20, 0x40),
               DisableEnable),
        Choice("bar.comm.numeric_pad", QT_TRANSLATE_NOOP("orv::Catalogue", "Select Numerical Pad"),
               Bits(20, 0x80), OffOn),
        Choice("bar.comm.terminator", QT_TRANSLATE_NOOP("orv::Catalogue", "Select Terminator"),
               Bits(20, 0x07), BarTerminators),
        Choice("bar.comm.char_timeout",
               QT_TRANSLATE_NOOP("orv::Catalogue", "Time-out Between Characters"), Bits(19, 0x02),
               Timeouts),
    };
}

// The symbologies in the order the window shows them (byte 21, bit i enables the symbology of
// chk51(i)), then each symbology's tab. Codabar: bit 4 + n of byte 18 sends start character
// A + n, bit n the stop character.
std::vector<Setting> BarCodesSettings() {
    const char* const symbologies = QT_TRANSLATE_NOOP("orv::Catalogue", "Symboligies Selection");
    const char* const start = QT_TRANSLATE_NOOP("orv::Catalogue", "Transmission Type of Start");
    const char* const stop = QT_TRANSLATE_NOOP("orv::Catalogue", "Transmission Type of Stop");
    return {
        Flag("bar.codes.upc_a.enabled", symbologies, "UPC-A", Bits(21, 0x80)),
        Flag("bar.codes.upc_e.enabled", symbologies, "UPC-E", Bits(21, 0x40)),
        Flag("bar.codes.ean_13.enabled", symbologies, "EAN-13/JAN-13", Bits(21, 0x20)),
        Flag("bar.codes.ean_8.enabled", symbologies, "EAN-8/JAN-8", Bits(21, 0x10)),
        Flag("bar.codes.code_39.enabled", symbologies, "Code 39", Bits(21, 0x08)),
        Flag("bar.codes.code_128.enabled", symbologies, "Code 128", Bits(21, 0x04)),
        Flag("bar.codes.interleave_25.enabled", symbologies, "Interleave 25", Bits(21, 0x02)),
        Flag("bar.codes.codabar.enabled", symbologies, "CodaBar/NW7", Bits(21, 0x01)),
        Flag("bar.codes.upc_ean.upc_a_ean_13", QT_TRANSLATE_NOOP("orv::Catalogue", "Reading Type"),
             QT_TRANSLATE_NOOP("orv::Catalogue", "UPC-A=EAN-13"), Bits(22, 0x80)),
        Flag("bar.codes.upc_ean.isbn_issn", QT_TRANSLATE_NOOP("orv::Catalogue", "Reading Type"),
             QT_TRANSLATE_NOOP("orv::Catalogue", "Enable ISBN/ISSN"), Bits(22, 0x10)),
        Choice("bar.codes.upc_ean.supplemental",
               QT_TRANSLATE_NOOP("orv::Catalogue", "Supplemental Code Setup"), Bits(22, 0x40),
               NotTransmitTransmit),
        Choice("bar.codes.upc_ean.check_digit", QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"),
               Bits(22, 0x20), NotTransmitTransmit),
        Choice("bar.codes.code_39.output_as", QT_TRANSLATE_NOOP("orv::Catalogue", "Output As"),
               Bits(23, 0x02), Code39OutputAs),
        Choice("bar.codes.code_39.start_stop",
               QT_TRANSLATE_NOOP("orv::Catalogue", "Start/Stop Character"), Bits(23, 0x01),
               Code39StartStop),
        Choice("bar.codes.code_39.check_digit", QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"),
               Bits(23, 0xC0), CheckDigits, CheckDigitShown),
        Choice("bar.codes.code_128.check_digit", QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"),
               Bits(23, 0x30), CheckDigits, CheckDigitShown),
        Choice("bar.codes.interleave_25.check_digit",
               QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"), Bits(23, 0x0C), CheckDigits,
               CheckDigitShown),
        Flag("bar.codes.interleave_25.brazil_25",
             QT_TRANSLATE_NOOP("orv::Catalogue", "Interleave 25 Parameters"), "Brazil 25",
             Bits(19, 0x01)),
        Flag("bar.codes.codabar.start_a", start, "A", Bits(18, 0x10)),
        Flag("bar.codes.codabar.start_b", start, "B", Bits(18, 0x20)),
        Flag("bar.codes.codabar.start_c", start, "C", Bits(18, 0x40)),
        Flag("bar.codes.codabar.start_d", start, "D", Bits(18, 0x80)),
        Flag("bar.codes.codabar.stop_a", stop, "A", Bits(18, 0x01)),
        Flag("bar.codes.codabar.stop_b", stop, "B", Bits(18, 0x02)),
        Flag("bar.codes.codabar.stop_c", stop, "C", Bits(18, 0x04)),
        Flag("bar.codes.codabar.stop_d", stop, "D", Bits(18, 0x08)),
        Flag("bar.codes.codabar.set_up_start_stop",
             QT_TRANSLATE_NOOP("orv::Catalogue", "Codabar Parameters"),
             QT_TRANSLATE_NOOP("orv::Catalogue", "Set Up Start/Stop Characters Upon Transmission"),
             Bits(22, 0x08)),
    };
}

// The code ID characters of the symbologies are bytes 0..7.
std::vector<Setting> BarMiscSettings() {
    const CharRule id = CharRule::Identifier;
    return {
        Choice("bar.misc.language", QT_TRANSLATE_NOOP("orv::Catalogue", "Language Selection"),
               Bits(16, 0xF0), Languages),
        Flag("bar.misc.code_id.enabled", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
             QT_TRANSLATE_NOOP("orv::Catalogue", "Enable Code ID"), Bits(22, 0x04)),
        Character("bar.misc.code_id.upc_a", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"), "UPC-A",
                  0, id),
        Character("bar.misc.code_id.upc_e", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"), "UPC-E",
                  1, id),
        Character("bar.misc.code_id.ean_13", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
                  "EAN-13", 2, id),
        Character("bar.misc.code_id.ean_8", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"), "EAN-8",
                  3, id),
        Character("bar.misc.code_id.code_39", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
                  "Code 39", 4, id),
        Character("bar.misc.code_id.code_128", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
                  "Code 128", 5, id),
        Character("bar.misc.code_id.interleave_25", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
                  "Interleave 25", 6, id),
        Character("bar.misc.code_id.codabar", QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
                  "CodaBar/NW7", 7, id),
        Count("bar.misc.truncate_front", QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate"),
              QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate Front Characters"), Bits(17, 0xF0)),
        Count("bar.misc.truncate_end", QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate"),
              QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate End Characters"), Bits(17, 0x0F)),
        Insertion("bar.misc.prefix", QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"), 8, 4),
        Insertion("bar.misc.suffix", QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"), 12, 4),
    };
}

// The interface is stored in bits 6..7; a stored 3 shows as "USB Mode" and is kept.
std::vector<Setting> MagInterfaceSettings() {
    return {Choice("mag.interface.mode", QT_TRANSLATE_NOOP("orv::Catalogue", "Interface "),
                   Bits(26, 0xC0), Modes, {{3, 1, true}}),
            Flag("mag.interface.read_memory", "",
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Read Memory Enable"), Bits(25, 0x02)),
            Flag("mag.interface.disable_external_keyboard", "",
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Disable  External Keyboard"),
                 Bits(25, 0x08))};
}

// A stored baud rate 5 shows as "9600" and parity 4 as "None", both kept; baud rate 6 and parity
// 5 and 6 are shown by no option and kept. A stored terminator 7 shows as "None", and opening
// the panel stores 6.
std::vector<Setting> MagCommSettings() {
    return {
        Choice("mag.comm.baud_rate", QT_TRANSLATE_NOOP("orv::Catalogue", "Baud Rate"),
               Bits(28, 0x07), MagBaudRates, {{5, 7, true}}),
        Choice("mag.comm.data_bits", QT_TRANSLATE_NOOP("orv::Catalogue", "Data Bits"),
               Bits(26, 0x20), DataBits),
        Choice("mag.comm.stop_bits", QT_TRANSLATE_NOOP("orv::Catalogue", "Stop Bit"),
               Bits(26, 0x10), StopBits),
        Choice("mag.comm.parity", QT_TRANSLATE_NOOP("orv::Catalogue", "Parity"), Bits(27, 0xE0),
               Parity, ParityShown),
        Choice("mag.comm.rts_cts", QT_TRANSLATE_NOOP("orv::Catalogue", "RTS/CTS"), Bits(27, 0x10),
               DisableEnable),
        Choice("mag.comm.ack_nak", QT_TRANSLATE_NOOP("orv::Catalogue", "ACK/NAK"), Bits(27, 0x08),
               DisableEnable),
        Choice("mag.comm.xon_xoff", QT_TRANSLATE_NOOP("orv::Catalogue", "XON/XOFF"), Bits(26, 0x08),
               DisableEnable),
        Choice("mag.comm.terminal_type", QT_TRANSLATE_NOOP("orv::Catalogue", "Terminal Type"),
               Bits(26, 0x03), TerminalTypes),
        Choice("mag.comm.letter_case", QT_TRANSLATE_NOOP("orv::Catalogue", "Upper/Lower Case"),
               Bits(28, 0x80), MagLetterCase),
        Choice("mag.comm.alt_method",
               QT_TRANSLATE_NOOP("orv::Catalogue", "Send Characters by ALT Method"), Bits(28, 0x20),
               DisableEnable),
        Choice("mag.comm.numeric_pad", QT_TRANSLATE_NOOP("orv::Catalogue", "Select Numerical Pad"),
               Bits(28, 0x40), OffOn),
        Choice("mag.comm.terminator", QT_TRANSLATE_NOOP("orv::Catalogue", "Select Terminator"),
               Bits(27, 0x07), MagTerminators, {{7, 6, false}}),
        Choice("mag.comm.char_timeout",
               QT_TRANSLATE_NOOP("orv::Catalogue", "Time-out Between Characters"), Bits(26, 0x04),
               Timeouts),
        LabelledChoice("mag.comm.card_standard",
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Select Magnetic Card Standard :"),
                       Bits(25, 0x01), CardStandards),
        Choice("mag.comm.tracks", QT_TRANSLATE_NOOP("orv::Catalogue", "Track Selection"),
               Bits(83, 0x0F), Tracks),
        Flag("mag.comm.send_start_stop", "",
             QT_TRANSLATE_NOOP("orv::Catalogue", "Send Start/Stop Character"), Bits(28, 0x10)),
        Flag("mag.comm.track2_account_only", "",
             QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2 Account Number Only"), Bits(28, 0x08)),
        Character(
            "mag.comm.separator", "",
            QT_TRANSLATE_NOOP("orv::Catalogue", "Separator Character (For Dual Or Triple Tracks)"),
            84, CharRule::Any),
    };
}

// The prefix of track t is at 29 + 16 (t - 1), its suffix 8 bytes on; the start and end
// characters of the tracks are bytes 77..82.
std::vector<Setting> MagMiscSettings() {
    const char* const chars = QT_TRANSLATE_NOOP("orv::Catalogue", "Edit Start and End Characters");
    const CharRule any = CharRule::Any;
    return {
        Choice("mag.misc.language", QT_TRANSLATE_NOOP("orv::Catalogue", "Language Selection"),
               Bits(83, 0xF0), Languages),
        Insertion("mag.misc.track1.prefix", QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1"), 29, 8),
        Insertion("mag.misc.track2.prefix", QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2"), 45, 8),
        Insertion("mag.misc.track3.prefix", QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3"), 61, 8),
        Insertion("mag.misc.track1.suffix", QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1"), 37, 8),
        Insertion("mag.misc.track2.suffix", QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2"), 53, 8),
        Insertion("mag.misc.track3.suffix", QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"),
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3"), 69, 8),
        Character("mag.misc.track1.start_char", chars,
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1 Start Char:"), 77, any),
        Character("mag.misc.track1.end_char", chars,
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1 End Char:"), 78, any),
        Character("mag.misc.track2.start_char", chars,
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2 Start Char:"), 79, any),
        Character("mag.misc.track2.end_char", chars,
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2 End Char:"), 80, any),
        Character("mag.misc.track3.start_char", chars,
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3 Start Char:"), 81, any),
        Character("mag.misc.track3.end_char", chars,
                  QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3 End Char:"), 82, any),
    };
}

// Every setting, table by table, each with the panel it is on.
std::vector<Setting> Build() {
    const struct {
        const char* panel;
        std::vector<Setting> settings;
    } tables[] = {
        {BarInterface, HeaderStrings()},
        {Transmit, LinkRecords()},
        {BarInterface, BarInterfaceSettings()},
        {BarComm, BarCommSettings()},
        {BarCodes, BarCodesSettings()},
        {BarMisc, BarMiscSettings()},
        {"", {Reserved("bar.reserved.byte_24", "Byte 24, bits 1..7", Bits(24, 0xFE))}},
        {MagInterface, MagInterfaceSettings()},
        {MagComm, MagCommSettings()},
        {MagMisc, MagMiscSettings()},
        {"", {Reserved("mag.reserved.byte_25", "Byte 25, bits 2 and 4..7", Bits(25, 0xF4))}},
    };
    std::vector<Setting> catalogue;
    for (const auto& table : tables) {
        for (Setting s : table.settings) {
            s.panel = table.panel;
            catalogue.push_back(std::move(s));
        }
    }
    return catalogue;
}

} // namespace

const SettingValue* Setting::valueOf(int code) const {
    const int i = indexOf(code);
    return i < 0 ? nullptr : &values[i];
}

int Setting::indexOf(int code) const {
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i].code == code)
            return static_cast<int>(i);
    }
    return -1;
}

const SettingValue* Setting::shownValue(int code) const {
    if (const SettingValue* v = valueOf(code))
        return v;
    for (const ShownCode& s : shown) {
        if (s.code == code)
            return valueOf(s.shownAs);
    }
    return nullptr;
}

const SettingValue* Setting::valueNamed(QStringView text) const {
    const QStringView t = text.trimmed();
    for (const SettingValue& v : values) {
        if (t.compare(QLatin1String(v.token), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String(v.caption).trimmed(), Qt::CaseInsensitive) == 0)
            return &v;
    }
    return nullptr;
}

namespace {

// A caption without surrounding blanks and a trailing colon.
QString Cleaned(const char* text) {
    QString s = QString::fromLatin1(text).trimmed();
    while (s.endsWith(QLatin1Char(':')))
        s = s.chopped(1).trimmed();
    return s;
}

} // namespace

QString Setting::displayLabel() const {
    const QString l = Cleaned(label);
    const QString f = Cleaned(frame);
    if (f.isEmpty() || f == l)
        return l;
    // The frame's caption goes first where the label alone is not unique in its window (the
    // letters of the Codabar start and stop characters, the tracks of the prefix and suffix).
    for (const Setting& s : Catalogue()) {
        if (&s != this && s.region == region && qstrcmp(s.panel, panel) == 0 &&
            Cleaned(s.label) == l)
            return f + QStringLiteral(": ") + l;
    }
    return l;
}

const std::vector<Setting>& Catalogue() {
    static const std::vector<Setting> catalogue = Build();
    return catalogue;
}

const Setting* FindSetting(QStringView key) {
    static const QHash<QString, const Setting*> index = [] {
        QHash<QString, const Setting*> h;
        for (const Setting& s : Catalogue())
            h.insert(QString::fromLatin1(s.key), &s);
        return h;
    }();
    return index.value(key.toString(), nullptr);
}

const Setting& SettingOf(const char* key) {
    const Setting* s = FindSetting(QString::fromLatin1(key));
    if (!s)
        qFatal("no setting %s in the catalogue", key);
    return *s;
}

QString CaptionText(const char* caption) {
    return QCoreApplication::translate("orv::Catalogue", caption);
}

QString RegionName(SettingRegion region) {
    switch (region) {
    case SettingRegion::Bar:
        return QStringLiteral("bar");
    case SettingRegion::Mag:
        return QStringLiteral("mag");
    case SettingRegion::Header:
        break;
    }
    return QStringLiteral("header");
}

QString KindName(SettingKind kind) {
    switch (kind) {
    case SettingKind::Choice:
        return QStringLiteral("choice");
    case SettingKind::Flag:
        return QStringLiteral("flag");
    case SettingKind::Count:
        return QStringLiteral("count");
    case SettingKind::Character:
        return QStringLiteral("single_character");
    case SettingKind::InsertionText:
        return QStringLiteral("insertion_text");
    case SettingKind::HeaderText:
        return QStringLiteral("header_text");
    case SettingKind::Reserved:
        break;
    }
    return QStringLiteral("reserved");
}

} // namespace orv
