// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings catalogue against tables written down independently of it: where every setting
// is stored (support/settingfields.h), and the codes and captions of every option group and
// check box of the panels (the panel tests' transcriptions).

#include "core/catalogue.h"
#include "panels/barpaneltables.h"
#include "panels/magpaneltables.h"
#include "panels/panelchecks.h"
#include "support/settingfields.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace orv;
using namespace orv::test;

namespace {

const Setting* AtField(int byte, int mask) {
    for (const Setting& s : Catalogue()) {
        if (s.inImage() && s.field.byte == byte && s.field.mask == mask)
            return &s;
    }
    return nullptr;
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void rowsWhereTheTableSays_data();
    void rowsWhereTheTableSays();
    void noRowBeyondTheTable();
    void everyBitOnce();
    void optionGroupsAsThePanelsHaveThem_data();
    void optionGroupsAsThePanelsHaveThem();
    void checkBoxesAsThePanelsHaveThem();
    void tokensAndCaptionsNameOneValue();
    void codesNoOptionStores_data();
    void codesNoOptionStores();
    void windowCaptions_data();
    void windowCaptions();
};

void TestCatalogue::rowsWhereTheTableSays_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < SettingFields().size(); ++i)
        QTest::newRow(SettingFields()[i].key) << i;
}

void TestCatalogue::rowsWhereTheTableSays() {
    QFETCH(int, row);
    const SettingField& f = SettingFields()[row];
    const Setting* s = FindSetting(QString::fromLatin1(f.key));
    QVERIFY(s);
    QCOMPARE(KindName(s->kind), QString::fromLatin1(f.kind));
    if (f.byte < 0) {
        QCOMPARE(s->region, SettingRegion::Header);
        QVERIFY(!s->inImage());
        return;
    }
    QCOMPARE(s->region, f.byte <= 24 ? SettingRegion::Bar : SettingRegion::Mag);
    QCOMPARE(s->field.byte, f.byte);
    QCOMPARE(s->field.mask, f.mask);
    QVERIFY(s->field.isConsistent());
    QCOMPARE(s->length, f.length);
    QVERIFY(QString::fromLatin1(s->key).startsWith(RegionName(s->region) + QLatin1Char('.')));
}

void TestCatalogue::noRowBeyondTheTable() {
    QSet<QString> expected;
    for (const SettingField& f : SettingFields())
        expected << QString::fromLatin1(f.key);
    const QRegularExpression keyForm(QStringLiteral("^(bar|mag|header)(\\.[a-z0-9_]+)+$"));
    QSet<QString> seen;
    for (const Setting& s : Catalogue()) {
        const QString key = QString::fromLatin1(s.key);
        QVERIFY2(expected.contains(key), s.key);
        QVERIFY2(!seen.contains(key), s.key);
        QVERIFY2(keyForm.match(key).hasMatch(), s.key);
        QCOMPARE(FindSetting(key), &s);
        seen << key;
    }
    QCOMPARE(seen.size(), expected.size());
    QVERIFY(!FindSetting(u"bar.comm"));
}

void TestCatalogue::everyBitOnce() {
    // Every bit of the image belongs to exactly one row: a diff that finds no differing setting
    // has found identical images.
    int owners[ImageSize][8] = {};
    for (const Setting& s : Catalogue()) {
        if (!s.inImage())
            continue;
        for (int b = s.field.byte; b < s.field.byte + s.length; ++b) {
            for (int bit = 0; bit < 8; ++bit) {
                if (s.field.mask >> bit & 1)
                    ++owners[b][bit];
            }
        }
    }
    for (int b = 0; b < ImageSize; ++b) {
        for (int bit = 0; bit < 8; ++bit)
            QVERIFY2(owners[b][bit] == 1,
                     qPrintable(QStringLiteral("byte %1 bit %2").arg(b).arg(bit)));
    }
}

void TestCatalogue::optionGroupsAsThePanelsHaveThem_data() {
    QTest::addColumn<OptionField>("field");
    for (const auto* fields : {&OptionFields(), &MagOptionFields()}) {
        for (const OptionField& f : *fields)
            QTest::addRow("%s %s", f.window, f.group) << f;
    }
}

void TestCatalogue::optionGroupsAsThePanelsHaveThem() {
    QFETCH(OptionField, field);
    const Setting* s = AtField(field.byte, field.mask);
    QVERIFY(s);
    QCOMPARE(s->kind, SettingKind::Choice);
    // The values in the order of the options, each with the option's caption and code.
    QCOMPARE(qsizetype(s->values.size()), field.codes.size());
    for (int i = 0; i < field.codes.size(); ++i) {
        QCOMPARE(s->values[i].code, field.codes[i]);
        QCOMPARE(QString::fromLatin1(s->values[i].caption), field.captions[i]);
    }
}

void TestCatalogue::checkBoxesAsThePanelsHaveThem() {
    for (const auto* fields : {&CheckFields(), &MagCheckFields()}) {
        for (const CheckField& f : *fields) {
            const Setting* s = AtField(f.byte, f.mask);
            QVERIFY2(s, qPrintable(f.name));
            QCOMPARE(s->kind, SettingKind::Flag);
            // A box captioned "ON" is named by the label beside it.
            if (f.caption != QLatin1String("ON"))
                QCOMPARE(QString::fromLatin1(s->label), f.caption);
            QCOMPARE(s->values.size(), size_t(2));
            QCOMPARE(s->values[0].code, 0);
            QCOMPARE(s->values[1].code, 1);
        }
    }
}

void TestCatalogue::tokensAndCaptionsNameOneValue() {
    const QRegularExpression tokenForm(QStringLiteral("^[a-z0-9_-]+$"));
    for (const Setting& s : Catalogue()) {
        for (const SettingValue& v : s.values) {
            QVERIFY2(tokenForm.match(QLatin1String(v.token)).hasMatch(), s.key);
            QCOMPARE(s.valueNamed(QString::fromLatin1(v.token)), &v);
            QCOMPARE(s.valueNamed(QString::fromLatin1(v.caption)), &v);
            QCOMPARE(s.valueNamed(QString::fromLatin1(v.caption).toUpper()), &v);
            QCOMPARE(s.valueOf(v.code), &v);
        }
        if (s.kind == SettingKind::Count) {
            for (int n = 0; n <= 15; ++n)
                QCOMPARE(s.valueOf(n)->token, QByteArray::number(n));
        }
    }
}

void TestCatalogue::codesNoOptionStores_data() {
    // What the panels do with a stored code that no option stores: the option that shows it
    // (-1: none) and whether opening the panel keeps the code.
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shownAs");
    QTest::addColumn<bool>("kept");
    QTest::newRow("bar interface 3") << "bar.interface.mode" << 3 << -1 << true;
    QTest::newRow("bar parity 4") << "bar.comm.parity" << 4 << 7 << true;
    QTest::newRow("bar parity 5") << "bar.comm.parity" << 5 << -1 << true;
    QTest::newRow("bar parity 6") << "bar.comm.parity" << 6 << -1 << true;
    QTest::newRow("bar terminator 7") << "bar.comm.terminator" << 7 << -1 << true;
    for (const char* key : {"bar.codes.code_39.check_digit", "bar.codes.code_128.check_digit",
                            "bar.codes.interleave_25.check_digit"})
        QTest::addRow("%s 0", key) << key << 0 << 1 << true;
    QTest::newRow("mag interface 3") << "mag.interface.mode" << 3 << 1 << true;
    QTest::newRow("mag baud 5") << "mag.comm.baud_rate" << 5 << 7 << true;
    QTest::newRow("mag baud 6") << "mag.comm.baud_rate" << 6 << -1 << true;
    QTest::newRow("mag parity 4") << "mag.comm.parity" << 4 << 7 << true;
    QTest::newRow("mag parity 5") << "mag.comm.parity" << 5 << -1 << true;
    QTest::newRow("mag parity 6") << "mag.comm.parity" << 6 << -1 << true;
    QTest::newRow("mag terminator 7") << "mag.comm.terminator" << 7 << 6 << false;
}

void TestCatalogue::codesNoOptionStores() {
    QFETCH(QString, key);
    QFETCH(int, code);
    QFETCH(int, shownAs);
    QFETCH(bool, kept);
    const Setting* s = FindSetting(key);
    QVERIFY(s);
    QVERIFY(!s->valueOf(code));
    const SettingValue* shown = s->shownValue(code);
    QCOMPARE(shown ? shown->code : -1, shownAs);
    bool listed = false;
    for (const ShownCode& sc : s->shown) {
        if (sc.code == code) {
            listed = true;
            QCOMPARE(sc.kept, kept);
        }
    }
    QCOMPARE(listed, shownAs >= 0);

    // These rows are all there is: every other code of every choice is an option's own.
    int others = 0;
    for (const Setting& row : Catalogue()) {
        if (row.kind != SettingKind::Choice || !row.inImage())
            continue;
        for (int c = 0; c <= row.field.maxCode(); ++c)
            others += row.valueOf(c) ? 0 : 1;
    }
    QCOMPARE(others, 15);
}

void TestCatalogue::windowCaptions_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("label");
    QTest::newRow("bar interface") << "bar.interface.mode"
                                   << "Interface"
                                   << "Interface"
                                   << "Interface";
    QTest::newRow("mag interface, trailing blank") << "mag.interface.mode"
                                                   << "Interface"
                                                   << "Interface "
                                                   << "Interface";
    QTest::newRow("bar stop bits") << "bar.comm.stop_bits"
                                   << "Communication Parameters"
                                   << "Stop Bits"
                                   << "Stop Bits";
    QTest::newRow("mag stop bit") << "mag.comm.stop_bits"
                                  << "Communication Parameters"
                                  << "Stop Bit"
                                  << "Stop Bit";
    QTest::newRow("codabar start") << "bar.codes.codabar.start_b"
                                   << "Bar Codes and Others"
                                   << "Transmission Type of Start"
                                   << "Transmission Type of Start: B";
    QTest::newRow("suffix of track 3") << "mag.misc.track3.suffix"
                                       << "Miscellaneous Parameters"
                                       << "Sufix"
                                       << "Sufix: Track 3";
    QTest::newRow("hidden check box") << "mag.interface.disable_external_keyboard"
                                      << "Interface"
                                      << ""
                                      << "Disable  External Keyboard";
    QTest::newRow("track character") << "mag.misc.track2.end_char"
                                     << "Miscellaneous Parameters"
                                     << "Edit Start and End Characters"
                                     << "Track 2 End Char";
    QTest::newRow("header") << "header.building_date"
                            << "Interface"
                            << ""
                            << "Building Date";
}

void TestCatalogue::windowCaptions() {
    QFETCH(QString, key);
    QFETCH(QString, panel);
    QFETCH(QString, frame);
    QFETCH(QString, label);
    const Setting* s = FindSetting(key);
    QVERIFY(s);
    QCOMPARE(QString::fromLatin1(s->panel), panel);
    QCOMPARE(QString::fromLatin1(s->frame), frame);
    QCOMPARE(s->displayLabel(), label);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
