// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where every setting of a configuration is stored, written down from the decoder's byte and
// bit tables independently of the settings catalogue: its key, byte and mask (or first byte and
// length), and its kind. Header records have no byte.

#include <QList>
#include <QString>

namespace orv::test {

struct SettingField {
    const char* key;
    int byte;   // -1: a header record
    int mask;   // 0xFF for a whole byte or an insertion group
    int length; // bytes of an insertion group, 1 otherwise
    const char* kind;
};

// clang-format off
inline const QList<SettingField>& SettingFields() {
    static const QList<SettingField> fields{
        {"header.device_name", -1, 0, 1, "header_text"},
        {"header.user_name", -1, 0, 1, "header_text"},
        {"header.building_date", -1, 0, 1, "header_text"},
        {"header.description", -1, 0, 1, "header_text"},
        {"header.link_mode", -1, 0, 1, "choice"},
        {"header.com_port", -1, 0, 1, "choice"},

        {"bar.misc.code_id.upc_a", 0, 0xFF, 1, "single_character"},
        {"bar.misc.code_id.upc_e", 1, 0xFF, 1, "single_character"},
        {"bar.misc.code_id.ean_13", 2, 0xFF, 1, "single_character"},
        {"bar.misc.code_id.ean_8", 3, 0xFF, 1, "single_character"},
        {"bar.misc.code_id.code_39", 4, 0xFF, 1, "single_character"},
        {"bar.misc.code_id.code_128", 5, 0xFF, 1, "single_character"},
        {"bar.misc.code_id.interleave_25", 6, 0xFF, 1, "single_character"},
        {"bar.misc.code_id.codabar", 7, 0xFF, 1, "single_character"},
        {"bar.misc.prefix", 8, 0xFF, 4, "insertion_text"},
        {"bar.misc.suffix", 12, 0xFF, 4, "insertion_text"},
        {"bar.comm.terminal_type", 16, 0x03, 1, "choice"},
        {"bar.comm.baud_rate", 16, 0x0C, 1, "choice"},
        {"bar.misc.language", 16, 0xF0, 1, "choice"},
        {"bar.misc.truncate_front", 17, 0xF0, 1, "count"},
        {"bar.misc.truncate_end", 17, 0x0F, 1, "count"},
        {"bar.codes.codabar.stop_a", 18, 0x01, 1, "flag"},
        {"bar.codes.codabar.stop_b", 18, 0x02, 1, "flag"},
        {"bar.codes.codabar.stop_c", 18, 0x04, 1, "flag"},
        {"bar.codes.codabar.stop_d", 18, 0x08, 1, "flag"},
        {"bar.codes.codabar.start_a", 18, 0x10, 1, "flag"},
        {"bar.codes.codabar.start_b", 18, 0x20, 1, "flag"},
        {"bar.codes.codabar.start_c", 18, 0x40, 1, "flag"},
        {"bar.codes.codabar.start_d", 18, 0x80, 1, "flag"},
        {"bar.codes.interleave_25.brazil_25", 19, 0x01, 1, "flag"},
        {"bar.comm.char_timeout", 19, 0x02, 1, "choice"},
        {"bar.comm.letter_case", 19, 0x04, 1, "choice"},
        {"bar.comm.data_bits", 19, 0x08, 1, "choice"},
        {"bar.comm.parity", 19, 0x70, 1, "choice"},
        {"bar.comm.stop_bits", 19, 0x80, 1, "choice"},
        {"bar.comm.terminator", 20, 0x07, 1, "choice"},
        {"bar.comm.rts_cts", 20, 0x08, 1, "choice"},
        {"bar.comm.ack_nak", 20, 0x10, 1, "choice"},
        {"bar.comm.xon_xoff", 20, 0x20, 1, "choice"},
        {"bar.comm.alt_method", 20, 0x40, 1, "choice"},
        {"bar.comm.numeric_pad", 20, 0x80, 1, "choice"},
        {"bar.codes.codabar.enabled", 21, 0x01, 1, "flag"},
        {"bar.codes.interleave_25.enabled", 21, 0x02, 1, "flag"},
        {"bar.codes.code_128.enabled", 21, 0x04, 1, "flag"},
        {"bar.codes.code_39.enabled", 21, 0x08, 1, "flag"},
        {"bar.codes.ean_8.enabled", 21, 0x10, 1, "flag"},
        {"bar.codes.ean_13.enabled", 21, 0x20, 1, "flag"},
        {"bar.codes.upc_e.enabled", 21, 0x40, 1, "flag"},
        {"bar.codes.upc_a.enabled", 21, 0x80, 1, "flag"},
        {"bar.interface.mode", 22, 0x03, 1, "choice"},
        {"bar.misc.code_id.enabled", 22, 0x04, 1, "flag"},
        {"bar.codes.codabar.set_up_start_stop", 22, 0x08, 1, "flag"},
        {"bar.codes.upc_ean.isbn_issn", 22, 0x10, 1, "flag"},
        {"bar.codes.upc_ean.check_digit", 22, 0x20, 1, "choice"},
        {"bar.codes.upc_ean.supplemental", 22, 0x40, 1, "choice"},
        {"bar.codes.upc_ean.upc_a_ean_13", 22, 0x80, 1, "flag"},
        {"bar.codes.code_39.start_stop", 23, 0x01, 1, "choice"},
        {"bar.codes.code_39.output_as", 23, 0x02, 1, "choice"},
        {"bar.codes.interleave_25.check_digit", 23, 0x0C, 1, "choice"},
        {"bar.codes.code_128.check_digit", 23, 0x30, 1, "choice"},
        {"bar.codes.code_39.check_digit", 23, 0xC0, 1, "choice"},
        {"bar.interface.read_memory", 24, 0x01, 1, "flag"},
        {"bar.reserved.byte_24", 24, 0xFE, 1, "reserved"},

        {"mag.comm.card_standard", 25, 0x01, 1, "choice"},
        {"mag.interface.read_memory", 25, 0x02, 1, "flag"},
        {"mag.interface.disable_external_keyboard", 25, 0x08, 1, "flag"},
        {"mag.reserved.byte_25", 25, 0xF4, 1, "reserved"},
        {"mag.comm.terminal_type", 26, 0x03, 1, "choice"},
        {"mag.comm.char_timeout", 26, 0x04, 1, "choice"},
        {"mag.comm.xon_xoff", 26, 0x08, 1, "choice"},
        {"mag.comm.stop_bits", 26, 0x10, 1, "choice"},
        {"mag.comm.data_bits", 26, 0x20, 1, "choice"},
        {"mag.interface.mode", 26, 0xC0, 1, "choice"},
        {"mag.comm.terminator", 27, 0x07, 1, "choice"},
        {"mag.comm.ack_nak", 27, 0x08, 1, "choice"},
        {"mag.comm.rts_cts", 27, 0x10, 1, "choice"},
        {"mag.comm.parity", 27, 0xE0, 1, "choice"},
        {"mag.comm.baud_rate", 28, 0x07, 1, "choice"},
        {"mag.comm.track2_account_only", 28, 0x08, 1, "flag"},
        {"mag.comm.send_start_stop", 28, 0x10, 1, "flag"},
        {"mag.comm.alt_method", 28, 0x20, 1, "choice"},
        {"mag.comm.numeric_pad", 28, 0x40, 1, "choice"},
        {"mag.comm.letter_case", 28, 0x80, 1, "choice"},
        {"mag.misc.track1.prefix", 29, 0xFF, 8, "insertion_text"},
        {"mag.misc.track1.suffix", 37, 0xFF, 8, "insertion_text"},
        {"mag.misc.track2.prefix", 45, 0xFF, 8, "insertion_text"},
        {"mag.misc.track2.suffix", 53, 0xFF, 8, "insertion_text"},
        {"mag.misc.track3.prefix", 61, 0xFF, 8, "insertion_text"},
        {"mag.misc.track3.suffix", 69, 0xFF, 8, "insertion_text"},
        {"mag.misc.track1.start_char", 77, 0xFF, 1, "single_character"},
        {"mag.misc.track1.end_char", 78, 0xFF, 1, "single_character"},
        {"mag.misc.track2.start_char", 79, 0xFF, 1, "single_character"},
        {"mag.misc.track2.end_char", 80, 0xFF, 1, "single_character"},
        {"mag.misc.track3.start_char", 81, 0xFF, 1, "single_character"},
        {"mag.misc.track3.end_char", 82, 0xFF, 1, "single_character"},
        {"mag.comm.tracks", 83, 0x0F, 1, "choice"},
        {"mag.misc.language", 83, 0xF0, 1, "choice"},
        {"mag.comm.separator", 84, 0xFF, 1, "single_character"},
    };
    return fields;
}
// clang-format on

// The code a setting holds in an image: its bits, shifted down.
inline int FieldCodeIn(const SettingField& f, const quint8* image) {
    int shift = 0;
    while (!(f.mask >> shift & 1))
        ++shift;
    return (image[f.byte] & f.mask) >> shift;
}

} // namespace orv::test
