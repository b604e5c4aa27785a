// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers to drive the settings panels inside a real main window, and the shape of the tables
// in which the tests write the panels' fields down, independently of the panels' own tables.

#include "app/appfixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabBar>

#include <algorithm>

namespace orv::test {

// Whether a user can reach a control.
enum class Access {
    User,    // always
    Shown,   // shown, but disabled for good
    Hidden,  // never shown
    IsoOnly, // enabled while the card standard (byte 25 bit 0) is ISO
};

struct OptionField {
    const char* window;
    const char* group;
    int byte;
    int mask;
    QList<int> codes;     // code stored by element i
    QStringList captions; // caption of element i
    QStringList display;  // captions as read, row by row
    const char* restoredBy;
    Access access = Access::User;
};

struct CheckField {
    const char* window;
    QString name;
    QString caption;
    int byte;
    int mask;
    const char* restoredBy;
    Access access = Access::User;
};

// A panel's fields, with the whole bytes that its "Set Default" buttons restore besides them.
struct PanelTables {
    QList<OptionField> options;
    QList<CheckField> checks;
    QList<QPair<const char*, int>> restoredBytes; // button, byte
    // A random image whose every field holds a code that the panels write.
    Image (*writable)(QRandomGenerator&);
};

inline int Shift(int mask) {
    int s = 0;
    while (!(mask >> s & 1))
        ++s;
    return s;
}

inline void SetField(Image& img, int byte, int mask, int code) {
    img[byte] = static_cast<quint8>((img[byte] & ~mask) | (code << Shift(mask)));
}

inline int FieldOf(const Image& img, int byte, int mask) {
    return (img[byte] & mask) >> Shift(mask);
}

// Whether a user can change the control on a panel opened on this image.
inline bool Reachable(Access access, const Image& img) {
    return access == Access::User || (access == Access::IsoOnly && !(img[25] & 0x01));
}

// Random bytes, with the insertion groups of n bytes that start at `firsts` each holding up to n
// characters followed by 255, none of them a "{" that could start a name.
inline Image RandomImage(QRandomGenerator& rng, std::initializer_list<int> firsts = {}, int n = 0) {
    Image img;
    for (quint8& b : img)
        b = static_cast<quint8>(rng.bounded(256));
    for (int first : firsts) {
        const int k = rng.bounded(n + 1);
        for (int i = 0; i < n; ++i) {
            int b = 255;
            while (i < k && (b == 255 || b == '{'))
                b = rng.bounded(255);
            img[first + i] = static_cast<quint8>(b);
        }
    }
    return img;
}

// Every option field of the tables holds one of its codes.
inline void PickCodes(Image& img, const QList<OptionField>& fields, QRandomGenerator& rng) {
    for (const OptionField& f : fields)
        SetField(img, f.byte, f.mask, f.codes[rng.bounded(f.codes.size())]);
}

// Element i of a control array: "optCfg41A(2)".
inline QString Element(const QString& array, int i) {
    return QStringLiteral("%1(%2)").arg(array).arg(i);
}

// The menu command that opens a panel (and closes it while it is open).
inline const char* OpenCommand(const QString& window) {
    static const QHash<QString, const char*> commands{
        {"cfg3", "mnuConfigInterface"}, {"cfg4", "mnuConfigComm"},      {"cfg5", "mnuConfigBar"},
        {"cfg6", "mnuConfigMisc"},      {"magcfg3", "mnuMagInterface"}, {"magcfg4", "mnuMagComm"},
        {"magcfg6", "mnuMagMisc"}};
    return commands.value(window);
}

// Drives the panels in a real main window.
struct PanelDriver {
    AppFixture f;

    PanelDriver() { f.start(); }

    ChildWindow* open(const QString& window) {
        f.trigger(OpenCommand(window));
        ChildWindow* w = f.child(qPrintable(window));
        if (!w)
            qFatal("%s did not open", qPrintable(window));
        return w;
    }
    // Opens a panel on an image; false when loading changed the image.
    bool openWith(const QString& window, const Image& img, ChildWindow** w) {
        f.config.CfgData = img;
        *w = open(window);
        return f.config.CfgData == img;
    }
    void close(const QString& window) {
        f.trigger(OpenCommand(window)); // the command of the open panel closes it
        if (f.child(qPrintable(window)))
            qFatal("%s did not close", qPrintable(window));
    }

    template <class T = QWidget> static T* Find(const QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }

    // Clicks the tab whose frame holds the control, so that a user could reach it.
    static void Reveal(const ChildWindow* w, const QWidget* control) {
        auto* bar = w->findChild<QTabBar*>();
        const QString frames = QStringLiteral("fraCfg") + w->objectName().right(1);
        for (int k = 0; k < bar->count(); ++k) {
            if (Find(w, QStringLiteral("%1(%2)").arg(frames).arg(k))->isAncestorOf(control))
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(k).center());
        }
        if (!control->isVisible())
            qFatal("%s is not visible", qPrintable(control->objectName()));
    }

    static void Click(const ChildWindow* w, const QString& name) {
        auto* b = Find<QAbstractButton>(w, name);
        Reveal(w, b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

inline QLineEdit* Box(const QWidget* w, const QString& name) {
    return PanelDriver::Find<QLineEdit>(w, name);
}

// Bytes first .. first + n - 1 of an image.
inline QList<int> Bytes(const Image& img, int first, int n) {
    QList<int> out;
    for (int i = first; i < first + n; ++i)
        out << img[i];
    return out;
}

// Captions of an option group's elements in reading order: top to bottom, left to right.
inline QStringList ReadingOrder(const QWidget* window, const QString& group, int count) {
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

} // namespace orv::test
