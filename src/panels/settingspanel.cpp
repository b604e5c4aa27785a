// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingspanel.h"

#include "tabframes.h"

#include "core/config.h"
#include "notation/dlgctrl.h"
#include "ui/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

const Setting& BoundSetting(const char* key, SettingKind kind) {
    const Setting& s = SettingOf(key);
    if (s.kind != kind)
        qFatal("the setting %s is not of the kind its control shows", key);
    return s;
}

OptionGroupTable OptionTableOf(const OptionLayout& layout) {
    const Setting& s = BoundSetting(layout.key, SettingKind::Choice);
    OptionGroupTable t{layout.name, layout.frame, layout.frame ? s.frame : nullptr,
                       s.field,     {},           layout.rows,
                       {},          {},           layout.restoredBy};
    for (const SettingValue& v : s.values) {
        t.captions.push_back(v.caption);
        t.codes.push_back(v.code);
    }
    for (const ShownCode& c : s.shown)
        t.shownAs.push_back({c.code, s.indexOf(c.shownAs), !c.kept});
    return t;
}

SettingsPanel::SettingsPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : ChildWindow(config, info, parent) {}

OptionGroup* SettingsPanel::options(const OptionGroupTable& table) {
    return bind(new OptionGroup(config(), table), table.restoredBy);
}

BitCheckBox* SettingsPanel::check(const QString& name, const char* key, const char* restoredBy,
                                  const char* caption) {
    const Setting& s = BoundSetting(key, SettingKind::Flag);
    return bind(new BitCheckBox(config(), name, CaptionText(caption ? caption : s.label), s.field),
                restoredBy);
}

SingleCharBox* SettingsPanel::characterBox(const QString& name, const char* key, Dialogs* dialogs,
                                           const char* restoredBy) {
    return bind(
        new SingleCharBox(config(), dialogs, BoundSetting(key, SettingKind::Character), name),
        restoredBy);
}

QPushButton* SettingsPanel::defaultButton(const char* name, const char* caption) {
    const QString button = QString::fromLatin1(name);
    return this->button(name, caption, [this, button] { restoreDefaults(button); });
}

QPushButton* SettingsPanel::button(const char* name, const char* caption,
                                   std::function<void()> onClick) {
    auto* b = new QPushButton(tr(caption));
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this, std::move(onClick));
    return b;
}

void SettingsPanel::restoreDefaults(const QString& button) {
    for (const Bound& b : bound_) {
        if (b.restoredBy == button)
            b.binding->showFrom(Source::Default);
    }
}

void SettingsPanel::onLoad() {
    for (const Bound& b : bound_)
        b.binding->showFrom(Source::Data);
}

void SettingsPanel::setContent(QWidget* content) {
    setWidget(content);
}

void SettingsPanel::addHeaderBoxes(QGroupBox* frame) {
    struct Header {
        const char* key;
        const char* box;
        QString Config::*string;
    };
    const Header headers[] = {
        {"header.device_name", "txtDeviceName", &Config::DeviceName},
        {"header.user_name", "txtUserName", &Config::UserName},
        {"header.building_date", "txtDate", &Config::SetupDate},
        {"header.description", "txtDescription", &Config::Description},
    };
    auto* grid = new QGridLayout(frame);
    int row = 0;
    for (const Header& h : headers) {
        const Setting& s = BoundSetting(h.key, SettingKind::HeaderText);
        auto* box = bind(new HeaderBox(config(), h.string, QString::fromLatin1(h.box)));
        box->setMinimumWidth(300);
        grid->addWidget(BuddyLabel(CaptionText(s.label), box), row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
}

InsertionBox* SettingsPanel::insertionFrame(const InsertionFrameTable& table, QGroupBox** frame,
                                            QVBoxLayout** layout) {
    const Setting& group = BoundSetting(table.key, SettingKind::InsertionText);
    *frame = TitledFrame(QString::fromLatin1(table.frame), CaptionText(group.frame));
    auto* box = bind(
        new InsertionBox(config(), group.field.byte, group.length, QString::fromLatin1(table.box)));
    QPushButton* keys = button(table.controlKeysButton, QT_TR_NOOP("Control Keys"),
                               [this, box] { showControlKeys(box); });
    QPushButton* clear =
        button(table.clearButton, QT_TR_NOOP("Clear All Insetion"), [box] { box->clearGroup(); });

    auto* v = new QVBoxLayout(*frame);
    v->addWidget(BuddyLabel(tr(table.labelText), box, QString::fromLatin1(table.label)));
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(keys);
    row->addWidget(clear);
    v->addLayout(row);
    if (layout)
        *layout = v;
    return box;
}

void SettingsPanel::showControlKeys(QLineEdit* box) {
    DlgCtrl dialog(box, this);
    dialog.exec();
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, const QString& name) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

void SettingsPanel::addLanguageTab(TabFrames* tabs, const char* key) {
    const OptionLayout languages{key,
                                 "opt61",
                                 nullptr,
                                 {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}},
                                 "cmdDefault61"};
    // The options stand directly in the tab's frame.
    auto* tab = new QVBoxLayout(
        tabs->addTab(tr("&Language"), tr("Language Selection"), CaptionText(SettingOf(key).frame)));
    tab->addWidget(options(languages));
    tab->addWidget(defaultButton("cmdDefault61"), 0, Qt::AlignLeft);
    tab->addStretch(1);
}

} // namespace orv
