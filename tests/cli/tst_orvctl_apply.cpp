// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// orvctl apply against decoder emulators on pseudo-terminals: a decoder as the file says, one
// that differs, one that does not take the file, the fault modes, --check, the JSON and the
// record; --watch with links that appear and vanish in a folder.
