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
const Values Modes{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Keyboard Mode"), "keyboard"},
                   {1, QT_TRANSLATE_NOOP("orv::Catalogue", "USB Mode"), "usb"},
                   {2, QT_TRANSLATE_NOOP("orv::Catalogue", "RS232 Mode"), "rs232"}};
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
const Values Timeouts{{0, QT_TRANSLATE_NOOP("orv::Catalogue", "0 ms"), "0ms"},
                      {1, QT_TRANSLATE_NOOP("orv::Catalogue", "15 ms"), "15ms"}};
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

Setting Choice(const char* key, const char* panel, const char* frame, BitField field, Values values,
               std::vector<ShownCode> shown = {}) {
    const SettingRegion region = field.byte <= BarLast ? SettingRegion::Bar : SettingRegion::Mag;
    return {key,
            region,
            panel,
            frame,
            frame,
            SettingKind::Choice,
            field,
            1,
            std::move(values),
            std::move(shown)};
}

Setting Flag(const char* key, const char* panel, const char* frame, const char* label,
             BitField field) {
    const SettingRegion region = field.byte <= BarLast ? SettingRegion::Bar : SettingRegion::Mag;
    return {key, region, panel, frame, label, SettingKind::Flag, field, 1, Unticked};
}

Setting Character(const char* key, const char* panel, const char* frame, const char* label,
                  int byte, CharRule rule) {
    const SettingRegion region = byte <= BarLast ? SettingRegion::Bar : SettingRegion::Mag;
    return {key, region, panel, frame, label, SettingKind::Character, WholeByte(byte),
            1,   {},     {},    rule};
}

Setting Insertion(const char* key, const char* panel, const char* frame, const char* label,
                  int first, int length) {
    const SettingRegion region = first <= BarLast ? SettingRegion::Bar : SettingRegion::Mag;
    return {key, region, panel, frame, label, SettingKind::InsertionText, WholeByte(first), length};
}

// Bits that no panel sets: no window shows them, and they are kept as they are.
Setting Reserved(const char* key, const char* label, BitField field) {
    const SettingRegion region = field.byte <= BarLast ? SettingRegion::Bar : SettingRegion::Mag;
    return {key, region, "", "", label, SettingKind::Reserved, field};
}

Setting Header(const char* key, const char* label, HeaderItem item) {
    return {key,
            SettingRegion::Header,
            BarInterface,
            "",
            label,
            SettingKind::HeaderText,
            {-1, 0, 0},
            0,
            {},
            {},
            CharRule::None,
            item};
}

std::vector<Setting> Build() {
    std::vector<Setting> c;
    // Header records: the four strings (edited in both interface panels) and the link settings
    // the Transmit window chooses.
    c.push_back(Header("header.device_name", QT_TRANSLATE_NOOP("orv::Catalogue", "Device Name: "),
                       HeaderItem::DeviceName));
    c.push_back(Header("header.user_name", QT_TRANSLATE_NOOP("orv::Catalogue", "User's Name: "),
                       HeaderItem::UserName));
    c.push_back(Header("header.building_date",
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Building Date:"),
                       HeaderItem::SetupDate));
    c.push_back(Header("header.description", QT_TRANSLATE_NOOP("orv::Catalogue", "Description:"),
                       HeaderItem::Description));
    c.push_back({"header.link_mode",
                 SettingRegion::Header,
                 Transmit,
                 "Interface",
                 "Interface",
                 SettingKind::Choice,
                 {-1, 0, 0},
                 0,
                 {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Keyboard"), "keyboard"},
                  {1, QT_TRANSLATE_NOOP("orv::Catalogue", "RS232"), "rs232"}},
                 {},
                 CharRule::None,
                 HeaderItem::LinkMode});
    c.push_back({"header.com_port",
                 SettingRegion::Header,
                 Transmit,
                 "Port",
                 "Port",
                 SettingKind::Choice,
                 {-1, 0, 0},
                 0,
                 {{1, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 1"), "1"},
                  {2, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 2"), "2"},
                  {3, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 3"), "3"},
                  {4, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 4"), "4"},
                  {5, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 5"), "5"},
                  {6, QT_TRANSLATE_NOOP("orv::Catalogue", "Com 6"), "6"}},
                 {},
                 CharRule::None,
                 HeaderItem::ComPort});

    // Bar decoder interface. An interface code 3 is shown by no option and kept.
    c.push_back(Choice("bar.interface.mode", BarInterface,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Interface"), Bits(22, 0x03), Modes));
    c.push_back(Flag("bar.interface.read_memory", BarInterface, "",
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Read Memory Enable"), Bits(24, 0x01)));

    // Bar decoder communication. Parity 5 and 6 and terminator 7 are shown by no option and
    // kept.
    c.push_back(Choice(
        "bar.comm.baud_rate", BarComm, QT_TRANSLATE_NOOP("orv::Catalogue", "Baud Rate"),
        Bits(16, 0x0C),
        {{0, "2400", "2400"}, {1, "4800", "4800"}, {2, "9600", "9600"}, {3, "19200", "19200"}}));
    c.push_back(Choice("bar.comm.data_bits", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Data Bits"), Bits(19, 0x08), DataBits));
    c.push_back(Choice("bar.comm.stop_bits", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Stop Bits"), Bits(19, 0x80), StopBits));
    c.push_back(Choice("bar.comm.parity", BarComm, QT_TRANSLATE_NOOP("orv::Catalogue", "Parity"),
                       Bits(19, 0x70), Parity, ParityShown));
    c.push_back(Choice("bar.comm.rts_cts", BarComm, QT_TRANSLATE_NOOP("orv::Catalogue", "RTS/CTS"),
                       Bits(20, 0x08), DisableEnable));
    c.push_back(Choice("bar.comm.ack_nak", BarComm, QT_TRANSLATE_NOOP("orv::Catalogue", "ACK/NAK"),
                       Bits(20, 0x10), DisableEnable));
    c.push_back(Choice("bar.comm.xon_xoff", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "XON/XOFF"), Bits(20, 0x20),
                       DisableEnable));
    c.push_back(Choice("bar.comm.terminal_type", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Terminal Type"), Bits(16, 0x03),
                       TerminalTypes));
    c.push_back(Choice("bar.comm.letter_case", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Upper/Lower Case"), Bits(19, 0x04),
                       {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Lower Case"), "lower"},
                        {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Upper Case"), "upper"}}));
    c.push_back(Choice("bar.comm.alt_method", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Send Characters by ALT Method"),
                       Bits(20, 0x40), DisableEnable));
    c.push_back(Choice("bar.comm.numeric_pad", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Select Numerical Pad"), Bits(20, 0x80),
                       OffOn));
    c.push_back(
        Choice("bar.comm.terminator", BarComm,
               QT_TRANSLATE_NOOP("orv::Catalogue", "Select Terminator"), Bits(20, 0x07),
               {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "CR"), "cr"},
                {1, QT_TRANSLATE_NOOP("orv::Catalogue", "LF"), "lf"},
                {2, QT_TRANSLATE_NOOP("orv::Catalogue", "CR+LF"), "crlf"},
                {3, QT_TRANSLATE_NOOP("orv::Catalogue", "HT(TAB)"), "tab"},
                {4, QT_TRANSLATE_NOOP("orv::Catalogue", "Space"), "space"},
                {5, QT_TRANSLATE_NOOP("orv::Catalogue", "STX-ETX (RS232 Mode Only)"), "stx_etx"},
                {6, QT_TRANSLATE_NOOP("orv::Catalogue", "None"), "none"}}));
    c.push_back(Choice("bar.comm.char_timeout", BarComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Time-out Between Characters"),
                       Bits(19, 0x02), Timeouts));

    // Bar codes: the symbologies in the order the window shows them (byte 21, bit i enables
    // the symbology of chk51(i)), then each symbology's tab.
    const struct {
        const char* key;
        const char* caption;
        int bit;
    } symbologies[] = {
        {"bar.codes.upc_a.enabled", "UPC-A", 7},
        {"bar.codes.upc_e.enabled", "UPC-E", 6},
        {"bar.codes.ean_13.enabled", "EAN-13/JAN-13", 5},
        {"bar.codes.ean_8.enabled", "EAN-8/JAN-8", 4},
        {"bar.codes.code_39.enabled", "Code 39", 3},
        {"bar.codes.code_128.enabled", "Code 128", 2},
        {"bar.codes.interleave_25.enabled", "Interleave 25", 1},
        {"bar.codes.codabar.enabled", "CodaBar/NW7", 0},
    };
    for (const auto& s : symbologies)
        c.push_back(Flag(s.key, BarCodes,
                         QT_TRANSLATE_NOOP("orv::Catalogue", "Symboligies Selection"), s.caption,
                         Bits(21, 1 << s.bit)));
    c.push_back(Flag("bar.codes.upc_ean.upc_a_ean_13", BarCodes,
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Reading Type"),
                     QT_TRANSLATE_NOOP("orv::Catalogue", "UPC-A=EAN-13"), Bits(22, 0x80)));
    c.push_back(Flag("bar.codes.upc_ean.isbn_issn", BarCodes,
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Reading Type"),
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Enable ISBN/ISSN"), Bits(22, 0x10)));
    c.push_back(Choice("bar.codes.upc_ean.supplemental", BarCodes,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Supplemental Code Setup"),
                       Bits(22, 0x40), NotTransmitTransmit));
    c.push_back(Choice("bar.codes.upc_ean.check_digit", BarCodes,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"), Bits(22, 0x20),
                       NotTransmitTransmit));
    c.push_back(Choice("bar.codes.code_39.output_as", BarCodes,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Output As"), Bits(23, 0x02),
                       {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Full ASCII"), "full_ascii"},
                        {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Standard"), "standard"}}));
    c.push_back(Choice("bar.codes.code_39.start_stop", BarCodes,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Start/Stop Character"), Bits(23, 0x01),
                       {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Not Optput "), "not_output"},
                        {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Output "), "output"}}));
    c.push_back(Choice("bar.codes.code_39.check_digit", BarCodes,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"), Bits(23, 0xC0),
                       CheckDigits, CheckDigitShown));
    c.push_back(Choice("bar.codes.code_128.check_digit", BarCodes,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"), Bits(23, 0x30),
                       CheckDigits, CheckDigitShown));
    c.push_back(Choice("bar.codes.interleave_25.check_digit", BarCodes,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Check Digit"), Bits(23, 0x0C),
                       CheckDigits, CheckDigitShown));
    c.push_back(Flag("bar.codes.interleave_25.brazil_25", BarCodes,
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Interleave 25 Parameters"), "Brazil 25",
                     Bits(19, 0x01)));
    // Codabar: bit 4 + n of byte 18 sends start character A + n, bit n the stop character.
    const char* const start[4] = {"bar.codes.codabar.start_a", "bar.codes.codabar.start_b",
                                  "bar.codes.codabar.start_c", "bar.codes.codabar.start_d"};
    const char* const stop[4] = {"bar.codes.codabar.stop_a", "bar.codes.codabar.stop_b",
                                 "bar.codes.codabar.stop_c", "bar.codes.codabar.stop_d"};
    const char* const letters[4] = {"A", "B", "C", "D"};
    for (int n = 0; n < 4; ++n)
        c.push_back(Flag(start[n], BarCodes,
                         QT_TRANSLATE_NOOP("orv::Catalogue", "Transmission Type of Start"),
                         letters[n], Bits(18, 0x10 << n)));
    for (int n = 0; n < 4; ++n)
        c.push_back(Flag(stop[n], BarCodes,
                         QT_TRANSLATE_NOOP("orv::Catalogue", "Transmission Type of Stop"),
                         letters[n], Bits(18, 0x01 << n)));
    c.push_back(
        Flag("bar.codes.codabar.set_up_start_stop", BarCodes,
             QT_TRANSLATE_NOOP("orv::Catalogue", "Codabar Parameters"),
             QT_TRANSLATE_NOOP("orv::Catalogue", "Set Up Start/Stop Characters Upon Transmission"),
             Bits(22, 0x08)));

    // Bar decoder miscellaneous.
    c.push_back(Choice("bar.misc.language", BarMisc,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Language Selection"), Bits(16, 0xF0),
                       Languages));
    c.push_back(Flag("bar.misc.code_id.enabled", BarMisc,
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Enable Code ID"), Bits(22, 0x04)));
    const struct {
        const char* key;
        const char* label;
    } ids[8] = {{"bar.misc.code_id.upc_a", "UPC-A"},
                {"bar.misc.code_id.upc_e", "UPC-E"},
                {"bar.misc.code_id.ean_13", "EAN-13"},
                {"bar.misc.code_id.ean_8", "EAN-8"},
                {"bar.misc.code_id.code_39", "Code 39"},
                {"bar.misc.code_id.code_128", "Code 128"},
                {"bar.misc.code_id.interleave_25", "Interleave 25"},
                {"bar.misc.code_id.codabar", "CodaBar/NW7"}};
    for (int i = 0; i < 8; ++i)
        c.push_back(Character(ids[i].key, BarMisc, QT_TRANSLATE_NOOP("orv::Catalogue", "Code ID"),
                              ids[i].label, i, CharRule::Identifier));
    c.push_back({"bar.misc.truncate_front", SettingRegion::Bar, BarMisc,
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate"),
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate Front Characters"),
                 SettingKind::Count, Bits(17, 0xF0), 1, Counts});
    c.push_back({"bar.misc.truncate_end", SettingRegion::Bar, BarMisc,
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate"),
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Truncate End Characters"), SettingKind::Count,
                 Bits(17, 0x0F), 1, Counts});
    c.push_back(Insertion("bar.misc.prefix", BarMisc, QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"),
                          QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"), 8, 4));
    c.push_back(Insertion("bar.misc.suffix", BarMisc, QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"),
                          QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"), 12, 4));
    c.push_back(Reserved("bar.reserved.byte_24", "Byte 24, bits 1..7", Bits(24, 0xFE)));

    // Magnetic reader interface. The interface is stored in bits 6..7; a stored 3 shows as
    // "USB Mode" and is kept.
    c.push_back(Choice("mag.interface.mode", MagInterface,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Interface "), Bits(26, 0xC0), Modes,
                       {{3, 1, true}}));
    c.push_back(Flag("mag.interface.read_memory", MagInterface, "",
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Read Memory Enable"), Bits(25, 0x02)));
    c.push_back(Flag("mag.interface.disable_external_keyboard", MagInterface, "",
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Disable  External Keyboard"),
                     Bits(25, 0x08)));

    // Magnetic reader communication. Baud rate "9600" and parity "None" are stored as 7; a
    // stored baud rate 5 shows as "9600" and parity 4 as "None", both kept; baud rate 6 and
    // parity 5 and 6 are shown by no option and kept. A stored terminator 7 shows as "None",
    // and opening the panel stores 6.
    c.push_back(Choice("mag.comm.baud_rate", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Baud Rate"), Bits(28, 0x07),
                       {{0, "600", "600"},
                        {1, "1200", "1200"},
                        {2, "2400", "2400"},
                        {3, "4800", "4800"},
                        {4, "19200", "19200"},
                        {7, "9600", "9600"}},
                       {{5, 7, true}}));
    c.push_back(Choice("mag.comm.data_bits", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Data Bits"), Bits(26, 0x20), DataBits));
    c.push_back(Choice("mag.comm.stop_bits", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Stop Bit"), Bits(26, 0x10), StopBits));
    c.push_back(Choice("mag.comm.parity", MagComm, QT_TRANSLATE_NOOP("orv::Catalogue", "Parity"),
                       Bits(27, 0xE0), Parity, ParityShown));
    c.push_back(Choice("mag.comm.rts_cts", MagComm, QT_TRANSLATE_NOOP("orv::Catalogue", "RTS/CTS"),
                       Bits(27, 0x10), DisableEnable));
    c.push_back(Choice("mag.comm.ack_nak", MagComm, QT_TRANSLATE_NOOP("orv::Catalogue", "ACK/NAK"),
                       Bits(27, 0x08), DisableEnable));
    c.push_back(Choice("mag.comm.xon_xoff", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "XON/XOFF"), Bits(26, 0x08),
                       DisableEnable));
    c.push_back(Choice("mag.comm.terminal_type", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Terminal Type"), Bits(26, 0x03),
                       TerminalTypes));
    // Coded the other way round from the bar decoder's: 0 is upper case.
    c.push_back(Choice("mag.comm.letter_case", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Upper/Lower Case"), Bits(28, 0x80),
                       {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Upper Case"), "upper"},
                        {1, QT_TRANSLATE_NOOP("orv::Catalogue", "Lower Case"), "lower"}}));
    c.push_back(Choice("mag.comm.alt_method", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Send Characters by ALT Method"),
                       Bits(28, 0x20), DisableEnable));
    c.push_back(Choice("mag.comm.numeric_pad", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Select Numerical Pad"), Bits(28, 0x40),
                       OffOn));
    c.push_back(Choice("mag.comm.terminator", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Select Terminator"), Bits(27, 0x07),
                       {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "CR"), "cr"},
                        {1, QT_TRANSLATE_NOOP("orv::Catalogue", "LF"), "lf"},
                        {2, QT_TRANSLATE_NOOP("orv::Catalogue", "CR+LF"), "crlf"},
                        {3, QT_TRANSLATE_NOOP("orv::Catalogue", "HT(TAB)"), "tab"},
                        {4, QT_TRANSLATE_NOOP("orv::Catalogue", "Space"), "space"},
                        {5, QT_TRANSLATE_NOOP("orv::Catalogue", "STX-ETX (RS232 Only)"), "stx_etx"},
                        {6, QT_TRANSLATE_NOOP("orv::Catalogue", "None"), "none"}},
                       {{7, 6, false}}));
    c.push_back(Choice("mag.comm.char_timeout", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Time-out Between Characters"),
                       Bits(26, 0x04), Timeouts));
    c.push_back({"mag.comm.card_standard",
                 SettingRegion::Mag,
                 MagComm,
                 "",
                 QT_TRANSLATE_NOOP("orv::Catalogue", "Select Magnetic Card Standard :"),
                 SettingKind::Choice,
                 Bits(25, 0x01),
                 1,
                 {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "ISO"), "iso"},
                  {1, QT_TRANSLATE_NOOP("orv::Catalogue", "JIS2"), "jis2"}}});
    c.push_back(Choice("mag.comm.tracks", MagComm,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Track Selection"), Bits(83, 0x0F),
                       {{0, QT_TRANSLATE_NOOP("orv::Catalogue", "Single Track"), "single"},
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
                        {15, QT_TRANSLATE_NOOP("orv::Catalogue", "Any"), "any"}}));
    c.push_back(Flag("mag.comm.send_start_stop", MagComm, "",
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Send Start/Stop Character"),
                     Bits(28, 0x10)));
    c.push_back(Flag("mag.comm.track2_account_only", MagComm, "",
                     QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2 Account Number Only"),
                     Bits(28, 0x08)));
    c.push_back(Character(
        "mag.comm.separator", MagComm, "",
        QT_TRANSLATE_NOOP("orv::Catalogue", "Separator Character (For Dual Or Triple Tracks)"), 84,
        CharRule::Any));

    // Magnetic reader miscellaneous: the language, the prefix and suffix of each track (prefix
    // of track t at 29 + 16t, suffix at 37 + 16t) and the start and end characters of each
    // track (bytes 77..82).
    c.push_back(Choice("mag.misc.language", MagMisc,
                       QT_TRANSLATE_NOOP("orv::Catalogue", "Language Selection"), Bits(83, 0xF0),
                       Languages));
    const char* const prefixes[3] = {"mag.misc.track1.prefix", "mag.misc.track2.prefix",
                                     "mag.misc.track3.prefix"};
    const char* const suffixes[3] = {"mag.misc.track1.suffix", "mag.misc.track2.suffix",
                                     "mag.misc.track3.suffix"};
    const char* const tracks[3] = {QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1"),
                                   QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2"),
                                   QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3")};
    for (int t = 0; t < 3; ++t)
        c.push_back(Insertion(prefixes[t], MagMisc, QT_TRANSLATE_NOOP("orv::Catalogue", "Prefix"),
                              tracks[t], 29 + 16 * t, 8));
    for (int t = 0; t < 3; ++t)
        c.push_back(Insertion(suffixes[t], MagMisc, QT_TRANSLATE_NOOP("orv::Catalogue", "Sufix"),
                              tracks[t], 37 + 16 * t, 8));
    const struct {
        const char* key;
        const char* label;
    } trackChars[6] = {
        {"mag.misc.track1.start_char", QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1 Start Char:")},
        {"mag.misc.track1.end_char", QT_TRANSLATE_NOOP("orv::Catalogue", "Track 1 End Char:")},
        {"mag.misc.track2.start_char", QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2 Start Char:")},
        {"mag.misc.track2.end_char", QT_TRANSLATE_NOOP("orv::Catalogue", "Track 2 End Char:")},
        {"mag.misc.track3.start_char", QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3 Start Char:")},
        {"mag.misc.track3.end_char", QT_TRANSLATE_NOOP("orv::Catalogue", "Track 3 End Char:")}};
    for (int i = 0; i < 6; ++i)
        c.push_back(Character(trackChars[i].key, MagMisc,
                              QT_TRANSLATE_NOOP("orv::Catalogue", "Edit Start and End Characters"),
                              trackChars[i].label, 77 + i, CharRule::Any));
    c.push_back(Reserved("mag.reserved.byte_25", "Byte 25, bits 2 and 4..7", Bits(25, 0xF4)));
    return c;
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
