#include "barinterfacepanel.h"

#include "panels/tabframes.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

// Byte 22 bits 0..1 may hold 3 (from a file or from the decoder), which no option stands for:
// the panel then shows no option selected and keeps the 3 until the user chooses an interface.
// clang-format off
const OptionGroupSpec Interface{"optCFG3_1", "fraCfg3_1", "Interface", {22, 0x03, 0},
    {"Keyboard Mode", "USB Mode", "RS232 Mode"}, {{0, 2}, {1}}, {}, {}, "cmdDefault31_2"};
// clang-format on

} // namespace

BarInterfacePanel::BarInterfacePanel(Config& config, const WindowSpec& spec, QWidget* parent)
    : SettingsPanel(config, spec, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG"), QStringLiteral("fraCfg3"));
    QGroupBox* user =
        tabs->addTab(QStringLiteral("&User Information"),
                     QStringLiteral("User's Name,building date and other informations"));
    QGroupBox* iface =
        tabs->addTab(QStringLiteral("&Interface"),
                     QStringLiteral("Interface Selection and 2nd Port Input Device Selection"));

    addHeaderBoxes(user);

    OptionGroup* mode = options(Interface);
    // Shows and keeps the read memory bit; nothing lets the user change it.
    BitCheckBox* read =
        check(QStringLiteral("ChkRead"), "Read Memory Enable", {24, 0x01, 0}, "cmdDefault31_2");
    read->setEnabled(false);

    auto* v = new QVBoxLayout(iface);
    v->addWidget(mode);
    v->addWidget(read);
    v->addWidget(defaultButton("cmdDefault31_2"), 0, Qt::AlignLeft);
    v->addStretch(1);
    setContent(tabs);
}

} // namespace orv
