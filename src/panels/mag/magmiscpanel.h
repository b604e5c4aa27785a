// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panels/settingspanel.h"

class QVBoxLayout;

namespace orv {

// magcfg6, "Miscellaneous Parameters": the magnetic reader's language (byte 83 bits 4..7), the
// prefix and suffix characters of each track (six insertion groups, bytes 29..76) and the start
// and end characters of each track (bytes 77..82).
class MagMiscPanel : public SettingsPanel {
    Q_OBJECT
public:
    MagMiscPanel(Config& config, const WindowInfo& info, QWidget* parent = nullptr);

private:
    // The "Select Track" options (name(0..2), "Track 1".."Track 3") at the top of an insertion
    // frame: choosing track t + 1 makes the box edit the insertion group groups[t].
    void addTrackChoice(const char* name, const char* const (&groups)[3], InsertionBox* box,
                        QVBoxLayout* frame);
};

} // namespace orv
