// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The windows in German and in English: every text of every window, menu and toolbar button has
// its German translation under the German translator, the access keys of each German menu are
// unique, and with English or the C locale every text is the English one, as without any
// translator. The link's messages, composed ones too, and the toolkit's own texts follow.

#include "appfixture.h"

#include "app/aboutbox.h"
#include "app/translations.h"
#include "app/windowregistry.h"
#include "link/exchange/serialexchange.h"
#include "link/exchange/shownmessages.h"
#include "link/protocol/replies.h"
#include "notation/dlgctrl.h"
#include "support/filefixtures.h"
#include "ui/programtitle.h"

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QToolBar>

#include <memory>

using namespace orv;
using namespace orv::test;

namespace {

// Every text a user sees (or hears) of a window and its controls, keyed by where it stands.
using Texts = QMap<QString, QString>;

void Add(Texts& texts, const QString& key, const QString& text) {
    if (!text.isEmpty())
        texts.insert(key, text);
}

// `w` and its controls; the key of a control is its path of class names and object names.
void AddWidgetTexts(Texts& texts, const QString& window, QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (int i = 0; i < widgets.size(); ++i) {
        QWidget* w = widgets[i];
        const QString key = window + QLatin1Char('/') + QString::number(i) +
                            QLatin1String(w->metaObject()->className()) + w->objectName();
        if (w == root)
            Add(texts, key + QStringLiteral(".title"), w->windowTitle());
        Add(texts, key + QStringLiteral(".tip"), w->toolTip());
        Add(texts, key + QStringLiteral(".name"), w->accessibleName());
        Add(texts, key + QStringLiteral(".description"), w->accessibleDescription());
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            Add(texts, key, b->text());
        else if (auto* l = qobject_cast<QLabel*>(w))
            Add(texts, key, l->text());
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            Add(texts, key, g->title());
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int t = 0; t < tabs->count(); ++t) {
                Add(texts, key + QString::number(t), tabs->tabText(t));
                Add(texts, key + QString::number(t) + QStringLiteral(".tip"), tabs->tabToolTip(t));
            }
        }
    }
}

void AddActionTexts(Texts& texts, const QString& where, const QList<QAction*>& actions) {
    for (const QAction* a : actions) {
        Add(texts, where + a->objectName(), a->text());
        Add(texts, where + a->objectName() + QStringLiteral(".tip"), a->toolTip());
    }
}

// Every window the program makes, built in the current language: the main window with its
// menus and toolbar, every window of the registry (loaded), the test window, the About box
// and the Control Key dialog.
Texts AllTexts() {
    AppFixture f;
    f.start();
    Texts texts;
    AddWidgetTexts(texts, QStringLiteral("MDImain"), f.window.get());
    for (const QMenu* menu : f.window->menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        AddActionTexts(texts, menu->objectName(), menu->actions());
    AddActionTexts(texts, QStringLiteral("Toolbar1"), f.window->toolbar()->actions());
    WindowFactory factory(f.config, Services{f.dialogs, f.launcher, f.port, *f.serialPorts});
    QLineEdit target; // of the Control Key dialog
    std::vector<std::unique_ptr<QWidget>> windows;
    for (const WindowRow& row : WindowRegistry()) {
        ChildWindow* w = row.info.number == NoPanel ? factory.createFirmwareWindow(nullptr)
                                               : factory.createChild(row.info.number, nullptr);
        w->load();
        windows.emplace_back(w);
    }
    windows.emplace_back(factory.createTestWindow(nullptr));
    windows.emplace_back(new AboutBox(f.dialogs));
    windows.emplace_back(new DlgCtrl(&target));
    for (const auto& w : windows)
        AddWidgetTexts(texts, w->objectName(), w.get());
    return texts;
}

// Texts that are the same in German: names, abbreviations, numbers, the control characters'
// names (the notation of insertion text) and what the windows show of the data (the About box's
// program name and version, the test window's port settings).
bool StaysTheSame(const QString& text) {
    static const QStringList same{"OK",
                                  "...",
                                  "Status:",
                                  "Standard",
                                  "Mark",
                                  "ISP",
                                  "&ISP",
                                  "RS232",
                                  "&RS232",
                                  "ISO",
                                  "JIS2",
                                  "CR",
                                  "LF",
                                  "CR+LF",
                                  "HT(TAB)",
                                  "RTS/CTS",
                                  "ACK/NAK",
                                  "XON/XOFF",
                                  "&UPC/EAN/JAN",
                                  "UPC-A",
                                  "UPC-E",
                                  "EAN-13",
                                  "EAN-8",
                                  "EAN-13/JAN-13",
                                  "EAN-8/JAN-8",
                                  "UPC-A=EAN-13",
                                  "Code 39",
                                  "Code &39",
                                  "Code 128",
                                  "Code 12&8",
                                  "Interleave 25",
                                  "&Interleave 25",
                                  "Coda&bar",
                                  "CodaBar/NW7",
                                  "Brazil 25",
                                  "IBM PC/AT,PS/2",
                                  "IBM PC/XT",
                                  "Apple Desktop Bus(ADB)",
                                  "NEC 9800"};
    static const QRegularExpression data(QStringLiteral(
        "^([A-D]|[A-Z][A-Z0-9]{1,2}|[0-9]+( ms| Bits?)?|Com [0-9]|COM [0-9] : .*|Orv Configuration "
        "Setup V.*)$"));
    return same.contains(text) || data.match(text).hasMatch();
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void languageChosen_data();
    void languageChosen();
    void everyTextInGerman();
    void accessKeysUniqueInGerman();
    void termsInGerman_data();
    void termsInGerman();
    void englishAsWithoutTranslator_data();
    void englishAsWithoutTranslator();
    void messagesInGerman_data();
    void messagesInGerman();
    void reasonInGerman();
    void linkWindowMessageInGerman();
    void linkTextsInGerman_data();
    void linkTextsInGerman();
    void toolkitTextsInGerman();

private:
    Texts english_;
};

void TestTranslations::initTestCase() {
    english_ = AllTexts();
    QVERIFY(english_.size() > 300);
}

void TestTranslations::languageChosen_data() {
    QTest::addColumn<QStringList>("languages"); // in order of preference
    QTest::addColumn<QString>("language");      // empty: English
    QTest::newRow("German") << QStringList{"de-DE", "de", "en-US"} << "de";
    QTest::newRow("--lang de") << QStringList{"de"} << "de";
    QTest::newRow("--lang de_AT") << QStringList{"de_AT"} << "de";
    QTest::newRow("German after one without translation") << QStringList{"fr-FR", "de"} << "de";
    QTest::newRow("English before German") << QStringList{"en-GB", "de-DE"} << "";
    QTest::newRow("--lang en") << QStringList{"en"} << "";
    QTest::newRow("LANG=C") << QStringList{"C"} << "";
    QTest::newRow("no translation") << QStringList{"fr-FR", "xx"} << "";
    QTest::newRow("none") << QStringList{} << "";
}

void TestTranslations::languageChosen() {
    QFETCH(QStringList, languages);
    QFETCH(QString, language);
    const Translations translations(languages);
    QCOMPARE(translations.language(), language);
    QCOMPARE(ProgramTitle() == QLatin1String("Configuration Setup"), language.isEmpty());
}

void TestTranslations::everyTextInGerman() {
    Texts german;
    {
        const Translations translations({QStringLiteral("de")});
        german = AllTexts();
    }
    QCOMPARE(german.keys(), english_.keys());
    QStringList untranslated;
    for (auto e = english_.cbegin(); e != english_.cend(); ++e) {
        if (german.value(e.key()) == e.value() && !StaysTheSame(e.value()))
            untranslated << e.key() + QStringLiteral(": ") + e.value();
    }
    for (const QString& text : untranslated)
        qWarning("not translated: %s", qPrintable(text));
    QVERIFY2(untranslated.isEmpty(), "texts without their German translation (above)");
}

void TestTranslations::accessKeysUniqueInGerman() {
    const Translations translations({QStringLiteral("de")});
    AppFixture f;
    QList<QList<QAction*>> menus{f.window->menuBar()->actions()};
    for (const QAction* top : f.window->menuBar()->actions())
        menus << top->menu()->actions();
    for (const QList<QAction*>& actions : menus) {
        QMap<QKeySequence, QString> keys;
        for (const QAction* a : actions) {
            if (a->isSeparator())
                continue;
            const QKeySequence key = QKeySequence::mnemonic(a->text());
            QVERIFY2(key.isEmpty() || !keys.contains(key),
                     qPrintable(a->text() + QStringLiteral(" / ") + keys.value(key)));
            keys.insert(key, a->text());
        }
    }
}

void TestTranslations::termsInGerman_data() {
    QTest::addColumn<QString>("window"); // the child window the control is in; empty: a menu item
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("german");
    QTest::newRow("bar decoder") << ""
                                 << "mnuConfig"
                                 << "&Strichcode-Decoder";
    QTest::newRow("magnetic reader") << ""
                                     << "mnuMag"
                                     << "&Magnetkartenleser";
    QTest::newRow("configuration") << ""
                                   << "mnuFileDefault"
                                   << "Als St&andard speichern";
    QTest::newRow("download") << "frmTransmit"
                              << "cmdTransmit"
                              << "Zum Decoder herunterladen";
    QTest::newRow("upload") << "frmTransmit"
                            << "cmdReceive"
                            << "Zum PC hochladen";
    QTest::newRow("tab") << "cfg5"
                         << "fraCfg5(0)"
                         << "Symbologie-Auswahl";
}

// The program's terms, as the German windows use them throughout.
void TestTranslations::termsInGerman() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, german);
    const Translations translations({QStringLiteral("de")});
    AppFixture f;
    f.start();
    if (window.isEmpty()) {
        QCOMPARE(f.action(control.toLatin1().constData())->text(), german);
        return;
    }
    const WindowRow* row = nullptr;
    for (const WindowRow& r : WindowRegistry()) {
        if (window == QLatin1String(r.info.objectName))
            row = &r;
    }
    f.trigger(row->info.menuItem);
    QObject* c = f.child(row->info.objectName)->findChild<QObject*>(control);
    QVERIFY(c);
    const auto* box = qobject_cast<QGroupBox*>(c);
    QCOMPARE(box ? box->title() : c->property("text").toString(), german);
}

void TestTranslations::englishAsWithoutTranslator_data() {
    QTest::addColumn<QStringList>("languages");
    QTest::newRow("LANG=C") << QStringList{"C"};
    QTest::newRow("--lang en") << QStringList{"en"};
    QTest::newRow("English, then German") << QStringList{"en-US", "de-DE"};
}

void TestTranslations::englishAsWithoutTranslator() {
    QFETCH(QStringList, languages);
    const Translations translations(languages);
    QCOMPARE(AllTexts(), english_);
}

void TestTranslations::messagesInGerman_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("english");
    QTest::newRow("Set All Default")
        << "mnuConfigDefault"
        << "Are you sure to set all to default values for Bar Decoder?";
    QTest::newRow("Magnic_Reader Set All Default")
        << "mnuMagDefault"
        << "Are you sure to set all to default values for Magnet Reader?";
    QTest::newRow("Exit") << "mnuFileExit"
                          << "Do you want to save your file?";
}

// The messages of the main window's commands, and their title.
void TestTranslations::messagesInGerman() {
    QFETCH(QString, item);
    QFETCH(QString, english);
    const Translations translations({QStringLiteral("de")});
    AppFixture f;
    f.start();
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::Cancel};
    f.trigger(item.toLatin1().constData());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY(!f.dialogs.last().text.isEmpty());
    QVERIFY(f.dialogs.last().text != english);
    QCOMPARE(f.dialogs.last().title, QStringLiteral("Konfiguration einrichten"));
}

// A file message with its reason, which the file layer gives.
void TestTranslations::reasonInGerman() {
    const Translations translations({QStringLiteral("de")});
    AppFixture f;
    f.start();
    TestFifo fifo(f.dir.filePath(QStringLiteral("pipe.cfg")));
    QVERIFY(fifo.made());
    f.window->openFile(fifo.path());
    QCOMPARE(
        f.dialogs.texts(),
        QStringList{QStringLiteral("Die Datei %1 konnte nicht geöffnet werden: es handelt sich "
                                   "um eine benannte Pipe, nicht um eine reguläre Datei.")
                        .arg(fifo.path())});
}

// A link window's own message, under the link's title.
void TestTranslations::linkWindowMessageInGerman() {
    const Translations translations({QStringLiteral("de")});
    AppFixture f;
    f.start();
    f.trigger("mnuToolsISP");
    ChildWindow* isp = f.child("frmISP");
    QVERIFY(isp);
    QCOMPARE(isp->windowTitle(), QStringLiteral("Übertragen"));
    isp->findChild<QAbstractButton*>(QStringLiteral("cmdTransmit"))->click();
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral("Bitte den Namen einer Bin-Datei eingeben")});
    QCOMPARE(f.dialogs.last().title, QStringLiteral("ISP-Meldung"));
}

void TestTranslations::linkTextsInGerman_data() {
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");
    QTest::newRow("outcome") << "Download OK!"
                             << "Herunterladen OK!";
    QTest::newRow("title") << "Upload Message"
                           << "Meldung zum Hochladen";
    QTest::newRow("port") << NotAvailableText(3) << "COM 3: nicht verfügbar.";
    QTest::newRow("version") << VersionMessage("   V1.2\n\r   2026-12-08")
                             << "Firmware-Version abgefragt!\r\r   V1.2\n\r   2026-12-08";
    QTest::newRow("page") << "Transmit Data For Page  512 OK!"
                          << "Daten für Seite 512 übertragen!";
    QTest::newRow("transfer") << "Be transmiting Data From   512To  767 :  2"
                              << "Daten von 512 bis 767 werden übertragen, Versuch 2";
    QTest::newRow("a part that looks like a marker")
        << VersionMessage("%2 %1") << "Firmware-Version abgefragt!\r\r%2 %1";
    QTest::newRow("no translation") << "Hello"
                                    << "Hello";
}

// The exchanges write in English; the windows show what they write in the user's language.
void TestTranslations::linkTextsInGerman() {
    QFETCH(QString, english);
    QFETCH(QString, german);
    QCOMPARE(ShownLinkText(english), english);
    const Translations translations({QStringLiteral("de")});
    QCOMPARE(ShownLinkText(english), german);
}

// The standard dialogs' buttons and the child windows' own menu are the toolkit's texts, in
// German too where Qt's translations are installed (qt6-translations-l10n).
void TestTranslations::toolkitTextsInGerman() {
    auto systemMenuTexts = [] {
        QMdiSubWindow window;
        QStringList texts;
        for (const QAction* a : window.systemMenu()->actions())
            texts << a->text();
        return texts;
    };
    const QStringList english = systemMenuTexts();
    const Translations translations({QStringLiteral("de")});
    if (!translations.hasToolkitTranslation())
        QSKIP("Qt's own German translation (qtbase_de.qm) is not installed");
    const QStringList german = systemMenuTexts();
    QCOMPARE(german.size(), english.size());
    for (qsizetype i = 0; i < english.size(); ++i)
        QVERIFY2(english[i].isEmpty() || german[i] != english[i], qPrintable(english[i]));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
