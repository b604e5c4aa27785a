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

SettingsPanel::SettingsPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : ChildWindow(config, info, parent) {}

OptionGroup* SettingsPanel::options(const OptionGroupTable& table) {
    return bind(new OptionGroup(config(), table), table.restoredBy);
}

BitCheckBox* SettingsPanel::check(const QString& name, const char* caption, BitField field,
                                  const char* restoredBy) {
    return bind(new BitCheckBox(config(), name, QString::fromLatin1(caption), field), restoredBy);
}

QPushButton* SettingsPanel::defaultButton(const char* name, const char* caption) {
    const QString button = QString::fromLatin1(name);
    return this->button(name, caption, [this, button] { restoreDefaults(button); });
}

QPushButton* SettingsPanel::button(const char* name, const char* caption,
                                   std::function<void()> onClick) {
    auto* b = new QPushButton(QString::fromLatin1(caption));
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
        const char* label;
        const char* box;
        QString Config::*string;
    };
    const Header headers[] = {
        {"Device Name: ", "txtDeviceName", &Config::DeviceName},
        {"User's Name: ", "txtUserName", &Config::UserName},
        {"Building Date:", "txtDate", &Config::SetupDate},
        {"Description:", "txtDescription", &Config::Description},
    };
    auto* grid = new QGridLayout(frame);
    int row = 0;
    for (const Header& h : headers) {
        auto* box = bind(new HeaderBox(config(), h.string, QString::fromLatin1(h.box)));
        box->setMinimumWidth(300);
        grid->addWidget(BuddyLabel(QString::fromLatin1(h.label), box), row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
}

InsertionBox* SettingsPanel::insertionFrame(const InsertionFrameTable& table, QGroupBox** frame,
                                            QVBoxLayout** layout) {
    *frame = TitledFrame(QString::fromLatin1(table.frame), QString::fromLatin1(table.caption));
    auto* box =
        bind(new InsertionBox(config(), table.first, table.size, QString::fromLatin1(table.box)));
    const bool prefix = table.prefix;
    QPushButton* keys = button(table.controlKeysButton, "Control Keys",
                               [this, prefix] { showControlKeys(prefix); });
    QPushButton* clear =
        button(table.clearButton, "Clear All Insetion", [box] { box->clearGroup(); });

    auto* v = new QVBoxLayout(*frame);
    v->addWidget(
        BuddyLabel(QString::fromLatin1(table.labelText), box, QString::fromLatin1(table.label)));
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(keys);
    row->addWidget(clear);
    v->addLayout(row);
    if (layout)
        *layout = v;
    return box;
}

void SettingsPanel::showControlKeys(bool prefix) {
    config().CtrlKeyToPrefix = prefix;
    DlgCtrl dialog(config(), this);
    dialog.exec();
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, const QString& name) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

void SettingsPanel::addLanguageTab(TabFrames* tabs, int byte) {
    // clang-format off
    const OptionGroupTable languages{"opt61", nullptr, nullptr, {byte, 0xF0, 4},
        {"US English", "UK English", "Italian", "Spanish",
         "French", "German", "Swedish", "Switzerland",
         "Hungarian", "Japanese", "Belgium", "Portuguese",
         "Denmark", "Netherlands", "Reserved 1", "Reserved 2"},
        {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}}, {}, {}, "cmdDefault61"};
    // clang-format on
    auto* tab = new QVBoxLayout(tabs->addTab(QStringLiteral("&Language"),
                                             QStringLiteral("Language Selection"),
                                             QStringLiteral("Language Selection")));
    tab->addWidget(options(languages));
    tab->addWidget(defaultButton("cmdDefault61"), 0, Qt::AlignLeft);
    tab->addStretch(1);
}

} // namespace orv
