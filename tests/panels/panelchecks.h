// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Checks of a panel's bit fields as a user drives them, over many random images: loading,
// clicking every element and check box, every "Set Default" button, and opening and closing with
// no change. They run over the tables of both readers.

#include "paneldriver.h"

#include <QCheckBox>
#include <QRadioButton>

namespace orv::test {

constexpr int Rounds = 12;

// Captions and display order, the element shown at load, and clicks that write exactly the field.
inline void VerifyOptionGroup(const PanelTables& tables, const OptionField& field, quint32 seed) {
    PanelDriver d;
    QRandomGenerator rng(seed);
    for (int round = 0; round < Rounds; ++round) {
        const Image img = tables.writable(rng);
        ChildWindow* w = nullptr;
        QVERIFY(d.openWith(field.window, img, &w));
        if (round == 0) {
            QStringList captions;
            for (int i = 0; i < field.codes.size(); ++i)
                captions << PanelDriver::Find<QRadioButton>(w, Element(field.group, i))->text();
            QCOMPARE(captions, field.captions);
            PanelDriver::Reveal(w, PanelDriver::Find(w, Element(field.group, 0)));
            QCOMPARE(ReadingOrder(w, field.group, field.codes.size()), field.display);
        }
        const bool reachable = Reachable(field.access, img);
        // Loading shows the element of the stored code.
        const int shown = field.codes.indexOf(FieldOf(img, field.byte, field.mask));
        for (int i = 0; i < field.codes.size(); ++i) {
            const auto* b = PanelDriver::Find<QRadioButton>(w, Element(field.group, i));
            QCOMPARE(b->isChecked(), i == shown);
            QCOMPARE(b->isEnabled(), reachable);
        }
        // Each click writes exactly that field; a disabled option writes nothing.
        Image expected = img;
        for (int n = 0; n < field.codes.size() + 2; ++n) {
            const int e = rng.bounded(field.codes.size());
            PanelDriver::Click(w, Element(field.group, e));
            if (reachable)
                SetField(expected, field.byte, field.mask, field.codes[e]);
            QVERIFY2(d.f.config.CfgData == expected, qPrintable(QString::number(e)));
        }
        d.close(field.window);
        QVERIFY(d.f.config.CfgData == expected);
    }
}

// Caption, the state shown at load, and clicks that flip exactly the bit where a user can click.
inline void VerifyCheckBox(const PanelTables& tables, const CheckField& field, quint32 seed) {
    PanelDriver d;
    QRandomGenerator rng(seed);
    for (int round = 0; round < Rounds; ++round) {
        const Image img = tables.writable(rng);
        ChildWindow* w = nullptr;
        QVERIFY(d.openWith(field.window, img, &w));
        auto* box = PanelDriver::Find<QCheckBox>(w, field.name);
        QCOMPARE(box->text(), field.caption);
        QCOMPARE(box->isChecked(), bool(img[field.byte] & field.mask));
        if (field.access == Access::Hidden) {
            QVERIFY(box->isHidden());
        } else {
            const bool reachable = Reachable(field.access, img);
            PanelDriver::Reveal(w, box);
            QCOMPARE(box->isEnabled(), reachable);
            Image expected = img;
            for (int n = 0; n < 2; ++n) {
                PanelDriver::Click(w, field.name);
                if (reachable)
                    expected[field.byte] ^= field.mask;
                QVERIFY(d.f.config.CfgData == expected);
                QCOMPARE(box->isChecked(), bool(expected[field.byte] & field.mask));
            }
        }
        d.close(field.window);
    }
}

// A "Set Default" button gives exactly its fields their default values.
inline void VerifySetDefault(const PanelTables& tables, const QString& window,
                             const QString& button, quint32 seed) {
    QList<QPair<int, int>> restored; // byte, mask
    for (const OptionField& f : tables.options) {
        if (button == QLatin1String(f.restoredBy))
            restored << qMakePair(f.byte, f.mask);
    }
    for (const CheckField& f : tables.checks) {
        if (button == QLatin1String(f.restoredBy))
            restored << qMakePair(f.byte, f.mask);
    }
    for (const auto& [b, byte] : tables.restoredBytes) {
        if (button == QLatin1String(b))
            restored << qMakePair(byte, 0xFF);
    }
    QVERIFY(!restored.isEmpty());

    PanelDriver d;
    QRandomGenerator rng(seed);
    for (int round = 0; round < Rounds; ++round) {
        const Image img = tables.writable(rng);
        d.f.config.CfgData = img;
        d.f.config.CfgDefault = tables.writable(rng);
        ChildWindow* w = d.open(window);
        auto* b = PanelDriver::Find<QAbstractButton>(w, button);
        QCOMPARE(b->text(), button == QLatin1String("CmdDefault")
                                ? QStringLiteral("Set All Default")
                                : QStringLiteral("Set Default"));
        PanelDriver::Click(w, button);
        Image expected = img;
        for (const auto& [byte, mask] : restored)
            SetField(expected, byte, mask, FieldOf(d.f.config.CfgDefault, byte, mask));
        QVERIFY(d.f.config.CfgData == expected);
        QVERIFY(d.f.config.CfgSaved != d.f.config.CfgData || img == expected);
        d.close(window);
    }
}

// Opening a panel and closing it changes nothing while every field holds a code it writes.
inline void VerifyOpenAndClose(const PanelTables& tables, const QString& window, quint32 seed) {
    PanelDriver d;
    QRandomGenerator rng(seed);
    for (int round = 0; round < 60; ++round) {
        const Image img = tables.writable(rng);
        d.f.config.CfgData = img;
        d.open(window);
        d.close(window);
        QVERIFY(d.f.config.CfgData == img);
    }
}

// A code from a file or the decoder that no option stores: the element that shows it (-1: none),
// what loading leaves in the field, and what a click on element 0 then stores.
struct CodeWithoutAnOption {
    QString window;
    QString group;
    int byte;
    int mask;
    int code;
    int shown;
    int afterLoad;
    int clickStores;
};

inline void VerifyCodeWithoutAnOption(const PanelTables& tables, const CodeWithoutAnOption& c) {
    PanelDriver d;
    QRandomGenerator rng(c.code);
    Image img = tables.writable(rng);
    SetField(img, c.byte, c.mask, c.code);
    d.f.config.CfgData = img;
    ChildWindow* w = d.open(c.window);
    SetField(img, c.byte, c.mask, c.afterLoad);
    QVERIFY(d.f.config.CfgData == img);
    for (int i = 0; i < 8; ++i) {
        if (const auto* b = w->findChild<QRadioButton*>(Element(c.group, i)))
            QCOMPARE(b->isChecked(), i == c.shown);
    }
    d.close(c.window);
    QVERIFY(d.f.config.CfgData == img);
    w = d.open(c.window);
    PanelDriver::Click(w, Element(c.group, 0));
    SetField(img, c.byte, c.mask, c.clickStores);
    QVERIFY(d.f.config.CfgData == img);
}

} // namespace orv::test

Q_DECLARE_METATYPE(orv::test::CodeWithoutAnOption)
Q_DECLARE_METATYPE(orv::test::OptionField)
Q_DECLARE_METATYPE(orv::test::CheckField)
