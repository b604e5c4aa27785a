// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bitfield.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace orv {

// The settings catalogue: one row for every setting of a configuration, saying where it is
// stored, how the window names it and what every code means. The settings panels build their
// controls from it and orvctl reads and writes files with it, so what a bit means is written
// down here and nowhere else.
//
// Keys are lower case and dotted, region first ("bar.comm.baud_rate"); they are stable: scripts
// use them.

enum class SettingRegion {
    Bar,    // image bytes 0..24
    Mag,    // image bytes 25..84
    Header, // the header records of a configuration file
};

enum class SettingKind {
    Choice,        // an option group: one code out of a list
    Flag,          // a check box: one bit
    Count,         // a number 0..15 in four bits (the truncation counts)
    Character,     // one character in one whole byte
    InsertionText, // an insertion group: a run of bytes holding up to `length` characters
    HeaderText,    // a header string of a configuration file
    Reserved,      // bits no panel sets; kept as they are
};

// How a single character is stored.
enum class CharRule {
    None,
    Identifier, // bar-code identifier: 0 is "no character", control characters are stored as 0
    Any,        // any code 0..255 (track start and end characters, the separator)
};

// Which header record a header row is.
enum class HeaderItem { None, DeviceName, UserName, SetupDate, Description, LinkMode, ComPort };

// One code of a choice, flag or count: the caption the window shows for it and a short token
// for the command line.
struct SettingValue {
    int code;
    const char* caption;
    const char* token;
};

// A stored code that no option stores but one option shows (bar parity 4 shows as "None",
// which stores 7). `kept`: the code stays as it is until the user chooses an option; otherwise
// opening the panel stores the code of the option shown.
struct ShownCode {
    int code;
    int shownAs; // the code of the value whose option shows it
    bool kept;
};

struct Setting {
    const char* key;
    SettingRegion region;
    const char* panel; // caption of the window that edits it
    const char* frame; // caption of the frame around its control, as shown; "" for none
    const char* label; // the caption or label that names it in the window, as shown
    SettingKind kind;
    BitField field; // byte, mask and shift; a character or insertion group: first byte, 0xFF
    int length = 1; // bytes: the group's size for insertion text, else 1
    std::vector<SettingValue> values = {}; // choice, flag, count: in the order of the options
    std::vector<ShownCode> shown = {};     // choice: codes shown by an option that stores another
    CharRule charRule = CharRule::None;
    HeaderItem header = HeaderItem::None;

    // Stored in the image (every row but the header records).
    bool inImage() const { return region != SettingRegion::Header; }
    // A bit field of the image whose code is (byte AND mask) >> shift.
    bool isBitField() const {
        return inImage() && (kind == SettingKind::Choice || kind == SettingKind::Flag ||
                             kind == SettingKind::Count || kind == SettingKind::Reserved);
    }

    // The value whose option stores a code, or nullptr.
    const SettingValue* valueOf(int code) const;
    // The value whose option the window shows for a stored code (the one that stores it, or the
    // one a ShownCode names), or nullptr when no option shows it.
    const SettingValue* shownValue(int code) const;
    // The value a caption or token names (letter case and surrounding blanks aside), or nullptr.
    const SettingValue* valueNamed(QStringView text) const;
    // Index of the value with this code in `values`, or -1.
    int indexOf(int code) const;
    // The label without a trailing colon and blanks, after its frame's caption where the label
    // alone is not unique in its window ("Transmission Type of Start: A").
    QString displayLabel() const;
};

// Every setting: the header records, then the bar decoder's and the magnetic reader's settings
// panel by panel, each panel's in the order of its tabs.
const std::vector<Setting>& Catalogue();
// The row of a key, or nullptr.
const Setting* FindSetting(QStringView key);
// The row of a key that must exist (the panels name their rows by key).
const Setting& SettingOf(const char* key);

// A caption of the catalogue (a frame's, a label's, a value's) as the windows show it: in the
// user's language. The catalogue itself, and so orvctl, keeps the English captions.
QString CaptionText(const char* caption);

// "bar", "mag", "header".
QString RegionName(SettingRegion region);
// "choice", "flag", "count", "single_character", "insertion_text", "header_text", "reserved".
QString KindName(SettingKind kind);

} // namespace orv
