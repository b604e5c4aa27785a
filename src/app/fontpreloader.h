// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

namespace orv {

// Reading the system's font configuration costs about as much as building and drawing the
// whole main window. The preloader reads it on a second thread while the toolkit starts up, so
// that the first text the main window draws does not wait for it. Create it before the
// QApplication and call wait() right after: no font is used by the program while the thread
// runs, and no other thread exists afterwards.
class FontPreloader {
public:
    FontPreloader();
    ~FontPreloader() { wait(); }
    FontPreloader(const FontPreloader&) = delete;
    FontPreloader& operator=(const FontPreloader&) = delete;

    void wait() {
        if (thread_.joinable())
            thread_.join();
    }

private:
    std::thread thread_;
};

} // namespace orv
