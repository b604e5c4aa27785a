// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "binding.h"
#include "optiongroup.h"
#include "textboxes.h"

#include "core/catalogue.h"
#include "ui/childwindow.h"

#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace orv {

class Dialogs;
class TabFrames;

// Where an option group stands in its panel; what its options mean comes from the settings
// catalogue row `key`.
struct OptionLayout {
    const char* key;
    const char* name;                   // the array: element i is named "name(i)"
    const char* frame;                  // object name of its frame (captioned as the catalogue
                                        // says), or nullptr
    std::vector<std::vector<int>> rows; // display: element indexes row by row; empty: one column
    const char* restoredBy;             // the "Set Default" button that restores it
};

// The table an option group is built from: the catalogue row's field, captions and codes (one
// element per value, in the catalogue's order), and the layout.
OptionGroupTable OptionTableOf(const OptionLayout& layout);

// The setting of a catalogue row that a panel binds a control to, checked for its kind.
const Setting& BoundSetting(const char* key, SettingKind kind);

// A "Prefix" or "Sufix" frame of a miscellaneous panel. The frame's caption and the insertion
// group its box edits come from the catalogue row `key`.
struct InsertionFrameTable {
    const char* key;
    const char* frame;
    const char* label;
    const char* labelText; // marked for translation in the context orv::SettingsPanel
    const char* box;
    const char* controlKeysButton;
    const char* clearButton;
};

// Base of the settings panels. A panel builds its controls from its binding tables and registers
// each bound control here; loading then shows every control from CfgData in registration order,
// and each "Set Default" button shows the controls registered under its name from CfgDefault.
// Either way the control stores what it shows through the same path as a user's change.
class SettingsPanel : public ChildWindow {
    Q_OBJECT
public:
    SettingsPanel(Config& config, const WindowInfo& info, QWidget* parent = nullptr);

protected:
    // Registers a bound control, restored by the "Set Default" button `restoredBy` (if any).
    template <class Control> Control* bind(Control* control, const char* restoredBy = nullptr) {
        bound_.push_back({control, restoredBy ? QString::fromLatin1(restoredBy) : QString()});
        return control;
    }
    OptionGroup* options(const OptionGroupTable& table);
    OptionGroup* options(const OptionLayout& layout) { return options(OptionTableOf(layout)); }
    // A check box for the flag `key`, captioned with its label unless `caption` (a caption of the
    // catalogue) says otherwise.
    BitCheckBox* check(const QString& name, const char* key, const char* restoredBy,
                       const char* caption = nullptr);
    // A single-character box for the character `key`.
    SingleCharBox* characterBox(const QString& name, const char* key, Dialogs* dialogs,
                                const char* restoredBy);

    // A "Set Default" button that restores the controls registered under its name.
    QPushButton* defaultButton(const char* name,
                               const char* caption = QT_TRANSLATE_NOOP("orv::SettingsPanel",
                                                                       "Set Default"));
    // A plain button. Its caption is marked for translation in this class's context.
    QPushButton* button(const char* name, const char* caption, std::function<void()> onClick);

    // The four header-string boxes with their labels, into `frame`.
    void addHeaderBoxes(QGroupBox* frame);

    // A "Prefix" or "Sufix" frame: caption label, insertion box, "Control Keys" and
    // "Clear All Insetion" buttons. `layout` receives the frame's layout, for panels that add
    // rows to it.
    InsertionBox* insertionFrame(const InsertionFrameTable& table, QGroupBox** frame,
                                 QVBoxLayout** layout = nullptr);

    // The "&Language" tab of a miscellaneous panel: the sixteen languages of `key` (opt61), four
    // rows of four in code order, restored by cmdDefault61.
    void addLanguageTab(TabFrames* tabs, const char* key);

    // Puts the panel's content into the window.
    void setContent(QWidget* content);

    void onLoad() override;

private:
    void restoreDefaults(const QString& button);
    // Shows the Control Key dialog for `box`, the prefix or the suffix box.
    void showControlKeys(QLineEdit* box);

    struct Bound {
        Binding* binding;
        QString restoredBy;
    };
    std::vector<Bound> bound_;
};

// A label that names a box, as its buddy.
QLabel* BuddyLabel(const QString& text, QWidget* buddy, const QString& name = QString());

} // namespace orv
