// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The captions of every panel: window captions, tab strips with their tooltips and frames, and
// the frames, buttons and labels that are not bit fields.

#include "paneldriver.h"

#include "support/waiting.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>

using namespace orv;
using namespace orv::test;

class TestPanelCaptions : public QObject {
    Q_OBJECT
private slots:
    void tabStrips_data();
    void tabStrips();
    void texts_data();
    void texts();
};

void TestPanelCaptions::tabStrips_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("strip");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QStringList>("tips");
    QTest::addColumn<QStringList>("frames"); // captions of the frames the tabs show
    QTest::newRow("cfg3") << "cfg3"
                          << "Interface"
                          << "TabCFG" << QStringList{"&User Information", "&Interface"}
                          << QStringList{"User's Name,building date and other informations",
                                         "Interface Selection and 2nd Port Input Device Selection"}
                          << QStringList{"", ""};
    QTest::newRow("cfg4") << "cfg4"
                          << "Communication Parameters"
                          << "TabCFG1" << QStringList{"&RS232", "&Keyboard", "&Output Character"}
                          << QStringList{"RS232 Mode Parameters", "Keyboard Wedge Mode Parameters",
                                         "Output Characters Parameters"}
                          << QStringList{"", "", ""};
    QTest::newRow("cfg5") << "cfg5"
                          << "Bar Codes and Others"
                          << "TabCFG2" << QStringList{"&Symboligies", "&UPC/EAN/JAN",   "Code &39",
                                                      "Code 12&8",    "&Interleave 25", "Coda&bar"}
                          << QStringList{"Symboligies Selection",    "UPC/EAN/JAN Parameters",
                                         "Code 39 Parameters",       "Code 128 Parameters",
                                         "Interleave 25 Parameters", "CodaBar Parameters"}
                          << QStringList{"Symboligies Selection",    "UPC/EAN/JAN Parameters",
                                         "Code 39 Parameters",       "Code 128 Parameters",
                                         "Interleave 25 Parameters", "Codabar Parameters"};
    QTest::newRow("cfg6") << "cfg6"
                          << "Miscellaneous Parameters"
                          << "TabCFG3" << QStringList{"&Language", "Code &ID", "Characters &Edit"}
                          << QStringList{"Language Selection", "Define Bar Code ID",
                                         "Deleting and Inserting Edit For Output Characters"}
                          << QStringList{"Language Selection", "Code ID", "Characters Edit"};
    QTest::newRow("magcfg3") << "magcfg3"
                             << "Interface"
                             << "TabCFG" << QStringList{"&User Informations", "&Interface"}
                             << QStringList{"User's Name,building date and other informations",
                                            "Interface and Code ID Selection"}
                             << QStringList{"", ""};
    QTest::newRow("magcfg4")
        << "magcfg4"
        << "Communication Parameters"
        << "TabCFG1" << QStringList{"&RS232", "&Keyboard", "&Output Characters", "&Magnetic Reader"}
        << QStringList{"RS232 Mode Parameters", "Keyboard Wedge Mode Parameters",
                       "Output Characters Parameters", "Magnetic Reader Parameters"}
        << QStringList{"", "", "", ""};
    QTest::newRow("magcfg6") << "magcfg6"
                             << "Miscellaneous Parameters"
                             << "TabCFG3"
                             << QStringList{"&Language", "Tracks &Edit", "Start and End &Char"}
                             << QStringList{"Language Selection",
                                            "Deleting and Inserting Edit For Output Characters",
                                            "Defined User's Start and End Characters"}
                             << QStringList{"Language Selection", "Tracks Edit",
                                            "Edit Start and End Characters"};
}

// The window caption, the tab strip's captions and tooltips, the captions of the frames the tabs
// show, and tab clicks that show one frame at a time and change nothing in the image.
void TestPanelCaptions::tabStrips() {
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QString, strip);
    QFETCH(QStringList, tabs);
    QFETCH(QStringList, tips);
    QFETCH(QStringList, frames);
    PanelDriver d;
    ChildWindow* w = d.open(window);
    QCOMPARE(w->windowTitle(), caption);
    auto* bar = PanelDriver::Find<QTabBar>(w, strip);
    QCOMPARE(bar->count(), tabs.size());
    const QString array = QStringLiteral("fraCfg") + window.right(1);
    auto frame = [&](int k) {
        return QStringLiteral("%1(%2)").arg(array).arg(k);
    };
    auto visibleFrames = [&] {
        QList<int> shown;
        for (int k = 0; k < tabs.size(); ++k) {
            if (PanelDriver::Find(w, frame(k))->isVisible())
                shown << k;
        }
        return shown;
    };
    QCOMPARE(visibleFrames(), QList<int>{0});
    for (int k = 0; k < tabs.size(); ++k) {
        QCOMPARE(bar->tabText(k), tabs[k]);
        QCOMPARE(bar->tabToolTip(k), tips[k]);
        QCOMPARE(PanelDriver::Find<QGroupBox>(w, frame(k))->title(), frames[k]);
    }
    const Image before = d.f.config.CfgData;
    for (int k : {int(tabs.size()) - 1, 1, 1, 0}) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(k).center());
        QCOMPARE(visibleFrames(), QList<int>{k});
    }
    // Each tab's access key chooses it, before a main-window menu with the same letter
    // ("Coda&bar" and "&Bar_Decoder", "&Magnetic Reader" and "&Magnic_Reader").
    d.f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d.f.window.get(), GiveUpMsecs));
    for (int k = int(tabs.size()) - 1; k >= 0; --k) {
        const QKeySequence key = QKeySequence::mnemonic(tabs[k]);
        QVERIFY(!key.isEmpty());
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : w;
        QTest::keyClick(focus, key[0].key(), key[0].keyboardModifiers());
        QCOMPARE(visibleFrames(), QList<int>{k});
        QVERIFY(!QApplication::activePopupWidget());
    }
    QVERIFY(d.f.config.CfgData == before);
}

void TestPanelCaptions::texts_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const char* rows[][3] = {
        {"cfg3", "fraCfg3_1", "Interface"},
        {"cfg3", "cmdDefault31_2", "Set Default"},
        {"cfg4", "fraCfg4_1A", "Baud Rate"},
        {"cfg4", "FraCfg4_1B", "Data Bits"},
        {"cfg4", "FraCfg4_1C", "Stop Bits"},
        {"cfg4", "FraCfg4_1D", "Parity"},
        {"cfg4", "Frame1", "RTS/CTS"},
        {"cfg4", "Frame2", "ACK/NAK"},
        {"cfg4", "Frame3", "XON/XOFF"},
        {"cfg4", "fraCfg4_2A", "Terminal Type"},
        {"cfg4", "fraCfg42B", "Upper/Lower Case"},
        {"cfg4", "fraCfg42C", "Send Characters by ALT Method"},
        {"cfg4", "fraCfg42D", "Select Numerical Pad"},
        {"cfg4", "fraCfg43A", "Select Terminator"},
        {"cfg4", "fraCfg43B", "Time-out Between Characters"},
        {"cfg5", "fraCfg52A", "Reading Type"},
        {"cfg5", "fraCfg52B", "Supplemental Code Setup"},
        {"cfg5", "fraCfg52C", "Check Digit"},
        {"cfg5", "fra53A", "Output As"},
        {"cfg5", "fra53B", "Check Digit"},
        {"cfg5", "fra53C", "Start/Stop Character"},
        {"cfg5", "fra54A", "Check Digit"},
        {"cfg5", "fra55A", "Check Digit"},
        {"cfg5", "fra58B1", "Transmission Type of Start"},
        {"cfg5", "fra58B2", "Transmission Type of Stop"},
        {"cfg5", "Command1", "Clear All Barcodes"},
        {"cfg6", "fra68", "Truncate"},
        {"cfg6", "fra69", "Prefix"},
        {"cfg6", "Frame1", "Sufix"},
        {"cfg6", "Command1", "Clear All"},
        {"cfg6", "Command2", "Control Keys"},
        {"cfg6", "Command3", "Control Keys"},
        {"cfg6", "cmd68_69", "Clear All Insetion"},
        {"cfg6", "Command4", "Clear All Insetion"},
        {"cfg6", "lbl694", "Characters to be Inserted (Only Four Characters Available)"},
        {"cfg6", "Label1", "Characters to be Inserted (Only Four Charaters Available)"},
        {"cfg6", "lbl62(0)", "UPC-A"},
        {"cfg6", "lbl62(1)", "UPC-E"},
        {"cfg6", "lbl62(2)", "EAN-13"},
        {"cfg6", "lbl62(3)", "EAN-8"},
        {"cfg6", "lbl62(4)", "Code 39"},
        {"cfg6", "lbl62(5)", "Code 128"},
        {"cfg6", "lbl62(6)", "Interleave 25"},
        {"cfg6", "lbl62(7)", "CodaBar/NW7"},
        {"magcfg3", "fraCfg3_1", "Interface "},
        {"magcfg3", "cmdDefault31_2", "Set Default"},
        {"magcfg4", "fraCfg4_1A", "Baud Rate"},
        {"magcfg4", "FraCfg4_1B", "Data Bits"},
        {"magcfg4", "FraCfg4_1C", "Stop Bit"},
        {"magcfg4", "FraCfg4_1D", "Parity"},
        {"magcfg4", "Frame1", "RTS/CTS"},
        {"magcfg4", "Frame2", "ACK/NAK"},
        {"magcfg4", "Frame3", "XON/XOFF"},
        {"magcfg4", "fraCfg4_2A", "Terminal Type"},
        {"magcfg4", "fraCfg42B", "Upper/Lower Case"},
        {"magcfg4", "fraCfg42C", "Send Characters by ALT Method"},
        {"magcfg4", "fraCfg42D", "Select Numerical Pad"},
        {"magcfg4", "fraCfg43A", "Select Terminator"},
        {"magcfg4", "fraCfg43B", "Time-out Between Characters"},
        {"magcfg4", "fraCfg45A", "Track Selection"},
        {"magcfg4", "Label1", "Select Magnetic Card Standard :"},
        {"magcfg4", "Label4", "Send Start/Stop Character"},
        {"magcfg4", "Label5", "Track 2 Account Number Only"},
        {"magcfg4", "Label6", "Separator Character (For Dual Or Triple Tracks)"},
        {"magcfg4", "cmdDefault41", "Set Default"},
        {"magcfg4", "cmdDefault42", "Set Default"},
        {"magcfg4", "cmdDefault43", "Set Default"},
        {"magcfg4", "cmdDefault45", "Set Default"},
        {"magcfg6", "cmdDefault61", "Set Default"},
        {"magcfg6", "fra69", "Prefix"},
        {"magcfg6", "Frame1", "Sufix"},
        {"magcfg6", "lbl694", "Characters to be Inserted (Only Eight Characters Available)"},
        {"magcfg6", "Label1", "Characters to be Inserted (Only Eight Charaters Available)"},
        {"magcfg6", "Command3", "Control Keys"},
        {"magcfg6", "Command2", "Control Keys"},
        {"magcfg6", "cmd68_69", "Clear All Insetion"},
        {"magcfg6", "Command4", "Clear All Insetion"},
        {"magcfg6", "Opt1Track(0)", "Track 1"},
        {"magcfg6", "Opt1Track(1)", "Track 2"},
        {"magcfg6", "Opt1Track(2)", "Track 3"},
        {"magcfg6", "Opt2Track(0)", "Track 1"},
        {"magcfg6", "Opt2Track(1)", "Track 2"},
        {"magcfg6", "Opt2Track(2)", "Track 3"},
        {"magcfg6", "lblChar(0)", "Track 1 Start Char:"},
        {"magcfg6", "lblChar(1)", "Track 1 End Char:"},
        {"magcfg6", "lblChar(2)", "Track 2 Start Char:"},
        {"magcfg6", "lblChar(3)", "Track 2 End Char:"},
        {"magcfg6", "lblChar(4)", "Track 3 Start Char:"},
        {"magcfg6", "lblChar(5)", "Track 3 End Char:"},
        {"magcfg6", "CmdDefault", "Set All Default"},
    };
    for (const auto& r : rows)
        QTest::addRow("%s %s", r[0], r[1]) << r[0] << r[1] << r[2];
}

void TestPanelCaptions::texts() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, text);
    PanelDriver d;
    ChildWindow* w = d.open(window);
    QWidget* c = PanelDriver::Find(w, name);
    if (auto* g = qobject_cast<QGroupBox*>(c))
        QCOMPARE(g->title(), text);
    else if (auto* b = qobject_cast<QAbstractButton*>(c))
        QCOMPARE(b->text(), text);
    else if (auto* l = qobject_cast<QLabel*>(c))
        QCOMPARE(l->text(), text);
    else
        QFAIL("unexpected control");
}

QTEST_MAIN(TestPanelCaptions)
#include "tst_panelcaptions.moc"
