// Every bit field of the four bar decoder panels, driven through the main window as a user
// drives it: loading, clicking every element, and every "Set Default" button, over many
// random images.

#include "barpaneltables.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

#include <algorithm>

using namespace orv;
using namespace orv::test;

namespace {

constexpr int Rounds = 12;

// Captions of an option group's elements in reading order: top to bottom, left to right.
QStringList ReadingOrder(const QWidget* window, const QString& group, int count) {
    QList<QRadioButton*> buttons;
    for (int i = 0; i < count; ++i)
        buttons << PanelDriver::Find<QRadioButton>(window,
                                                   QStringLiteral("%1(%2)").arg(group).arg(i));
    std::sort(buttons.begin(), buttons.end(), [window](QRadioButton* a, QRadioButton* b) {
        const QPoint pa = a->mapTo(window, QPoint(0, 0));
        const QPoint pb = b->mapTo(window, QPoint(0, 0));
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    QStringList captions;
    for (QRadioButton* b : buttons)
        captions << b->text();
    return captions;
}

} // namespace

class TestBarFields : public QObject {
    Q_OBJECT
private slots:
    void optionGroups_data();
    void optionGroups();
    void checkBoxes_data();
    void checkBoxes();
    void setDefault_data();
    void setDefault();
    void openAndCloseKeepTheImage_data();
    void openAndCloseKeepTheImage();
    void codesWithoutAnOption_data();
    void codesWithoutAnOption();
};

void TestBarFields::optionGroups_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < OptionFields().size(); ++i)
        QTest::newRow(OptionFields()[i].group) << i;
}

void TestBarFields::optionGroups() {
    QFETCH(int, index);
    const OptionField& field = OptionFields()[index];
    PanelDriver d;
    QRandomGenerator rng(index + 100);
    for (int round = 0; round < Rounds; ++round) {
        const Image img = WritableImage(rng);
        ChildWindow* w = nullptr;
        QVERIFY(d.openWith(field.window, img, &w));
        if (round == 0) {
            QStringList captions;
            for (int i = 0; i < field.codes.size(); ++i)
                captions << PanelDriver::Find<QRadioButton>(
                                w, QStringLiteral("%1(%2)").arg(field.group).arg(i))
                                ->text();
            QCOMPARE(captions, field.captions);
            PanelDriver::Reveal(w, PanelDriver::Find(w, field.group + QStringLiteral("(0)")));
            QCOMPARE(ReadingOrder(w, field.group, field.codes.size()), field.display);
        }
        // Loading shows the element of the stored code.
        const int shown = field.codes.indexOf(FieldOf(img, field.byte, field.mask));
        for (int i = 0; i < field.codes.size(); ++i) {
            const auto* b = PanelDriver::Find<QRadioButton>(
                w, QStringLiteral("%1(%2)").arg(field.group).arg(i));
            QCOMPARE(b->isChecked(), i == shown);
        }
        // Each click writes exactly that field.
        Image expected = img;
        for (int n = 0; n < field.codes.size() + 2; ++n) {
            const int e = rng.bounded(field.codes.size());
            PanelDriver::Click(w, QStringLiteral("%1(%2)").arg(field.group).arg(e));
            SetField(expected, field.byte, field.mask, field.codes[e]);
            QVERIFY2(d.f.config.CfgData == expected, qPrintable(QString::number(e)));
        }
        d.close(field.window);
        QVERIFY(d.f.config.CfgData == expected);
    }
}

void TestBarFields::checkBoxes_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < CheckFields().size(); ++i)
        QTest::newRow(qPrintable(CheckFields()[i].name)) << i;
}

void TestBarFields::checkBoxes() {
    QFETCH(int, index);
    const CheckField& field = CheckFields()[index];
    PanelDriver d;
    QRandomGenerator rng(index + 200);
    for (int round = 0; round < Rounds; ++round) {
        const Image img = WritableImage(rng);
        ChildWindow* w = nullptr;
        QVERIFY(d.openWith(field.window, img, &w));
        auto* box = PanelDriver::Find<QCheckBox>(w, field.name);
        QCOMPARE(box->text(), field.caption);
        QCOMPARE(box->isChecked(), bool(img[field.byte] & field.mask));
        // "Read Memory Enable" shows its bit but the user cannot change it.
        const bool userCanChange = field.name != QLatin1String("ChkRead");
        QCOMPARE(box->isEnabled(), userCanChange);
        Image expected = img;
        for (int n = 0; n < 2; ++n) {
            PanelDriver::Click(w, field.name);
            if (userCanChange)
                expected[field.byte] ^= field.mask;
            QVERIFY(d.f.config.CfgData == expected);
            QCOMPARE(box->isChecked(), bool(expected[field.byte] & field.mask));
        }
        d.close(field.window);
    }
}

void TestBarFields::setDefault_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::newRow("cfg3") << "cfg3"
                          << "cmdDefault31_2";
    for (const char* b : {"cmdDefault41", "cmdDefault42", "cmdDefault43"})
        QTest::newRow(b) << "cfg4" << b;
    for (const char* b : {"cmdSetAll", "cmdDefault52C", "cmdDefault53", "cmdDefault54",
                          "cmdDefault55", "cmdDefault58"})
        QTest::newRow(b) << "cfg5" << b;
    for (const char* b : {"cmdDefault61", "cmdDefault62"})
        QTest::newRow(b) << "cfg6" << b;
}

void TestBarFields::setDefault() {
    QFETCH(QString, window);
    QFETCH(QString, button);
    // The (byte, mask) fields the button restores.
    QList<QPair<int, int>> restored;
    for (const OptionField& f : OptionFields()) {
        if (button == QLatin1String(f.restoredBy))
            restored << qMakePair(f.byte, f.mask);
    }
    for (const CheckField& f : CheckFields()) {
        if (button == QLatin1String(f.restoredBy))
            restored << qMakePair(f.byte, f.mask);
    }
    if (button == QLatin1String("cmdDefault62")) {
        for (int i = 0; i < 8; ++i)
            restored << qMakePair(i, 0xFF);
    }
    QVERIFY(!restored.isEmpty());

    PanelDriver d;
    QRandomGenerator rng(qHash(button));
    for (int round = 0; round < Rounds; ++round) {
        const Image img = WritableImage(rng);
        d.f.config.CfgData = img;
        d.f.config.CfgDefault = WritableImage(rng);
        ChildWindow* w = d.open(window);
        auto* b = PanelDriver::Find<QAbstractButton>(w, button);
        QCOMPARE(b->text(), QStringLiteral("Set Default"));
        PanelDriver::Click(w, button);
        Image expected = img;
        for (const auto& [byte, mask] : restored)
            SetField(expected, byte, mask, FieldOf(d.f.config.CfgDefault, byte, mask));
        QVERIFY(d.f.config.CfgData == expected);
        QVERIFY(d.f.config.CfgSaved != d.f.config.CfgData || img == expected);
        d.close(window);
    }
}

void TestBarFields::openAndCloseKeepTheImage_data() {
    QTest::addColumn<QString>("window");
    for (const char* w : {"cfg3", "cfg4", "cfg5", "cfg6"})
        QTest::newRow(w) << w;
}

void TestBarFields::openAndCloseKeepTheImage() {
    QFETCH(QString, window);
    PanelDriver d;
    QRandomGenerator rng(qHash(window));
    for (int round = 0; round < 60; ++round) {
        const Image img = WritableImage(rng);
        d.f.config.CfgData = img;
        d.open(window);
        d.close(window);
        QVERIFY(d.f.config.CfgData == img);
    }
}

void TestBarFields::codesWithoutAnOption_data() {
    // A code from a file or the decoder that no option stores is shown as the element given
    // (or none) and kept until the user chooses an element.
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shown");       // -1: no element
    QTest::addColumn<int>("clickStores"); // what a click on element 0 stores
    QTest::newRow("interface 3") << "cfg3"
                                 << "optCFG3_1" << 22 << 0x03 << 3 << -1 << 0;
    QTest::newRow("parity 4") << "cfg4"
                              << "optCfg41D" << 19 << 0x70 << 4 << 4 << 0;
    QTest::newRow("parity 5") << "cfg4"
                              << "optCfg41D" << 19 << 0x70 << 5 << -1 << 0;
    QTest::newRow("parity 6") << "cfg4"
                              << "optCfg41D" << 19 << 0x70 << 6 << -1 << 0;
    QTest::newRow("terminator 7") << "cfg4"
                                  << "optCfg43A" << 20 << 0x07 << 7 << -1 << 0;
    QTest::newRow("Code 39 check digit 0") << "cfg5"
                                           << "opt53B" << 23 << 0xC0 << 0 << 0 << 1;
    QTest::newRow("Code 128 check digit 0") << "cfg5"
                                            << "opt54A" << 23 << 0x30 << 0 << 0 << 1;
    QTest::newRow("Interleave 25 check digit 0") << "cfg5"
                                                 << "opt55A" << 23 << 0x0C << 0 << 0 << 1;
}

void TestBarFields::codesWithoutAnOption() {
    QFETCH(QString, window);
    QFETCH(QString, group);
    QFETCH(int, byte);
    QFETCH(int, mask);
    QFETCH(int, code);
    QFETCH(int, shown);
    QFETCH(int, clickStores);
    PanelDriver d;
    QRandomGenerator rng(code);
    Image img = WritableImage(rng);
    SetField(img, byte, mask, code);
    d.f.config.CfgData = img;
    ChildWindow* w = d.open(window);
    QVERIFY(d.f.config.CfgData == img);
    for (int i = 0; i < 5; ++i) {
        const auto* b = w->findChild<QRadioButton*>(QStringLiteral("%1(%2)").arg(group).arg(i));
        if (b)
            QCOMPARE(b->isChecked(), i == shown);
    }
    d.close(window);
    QVERIFY(d.f.config.CfgData == img);
    w = d.open(window);
    PanelDriver::Click(w, group + QStringLiteral("(0)"));
    SetField(img, byte, mask, clickStores);
    QVERIFY(d.f.config.CfgData == img);
}

QTEST_MAIN(TestBarFields)
#include "tst_barfields.moc"
