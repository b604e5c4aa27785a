// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Message texts with carriage returns and line feeds show as separate lines; the text itself
// (as the Dialogs service records it) is not changed by the link windows. A message's details
// are the message box's details text.

#include "app/qtdialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace orv;

class TestMessageText : public QObject {
    Q_OBJECT
private slots:
    void lineBreaks_data();
    void lineBreaks();
    void details_data();
    void details();
};

void TestMessageText::lineBreaks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("firmware version")
        << "Get Firmware Version OK!\r\r   DECODER V3.4\n\r   2024-05-17"
        << "Get Firmware Version OK!\n\n   DECODER V3.4\n   2024-05-17";
    QTest::newRow("CR LF is one break") << "a\r\nb"
                                        << "a\nb";
    QTest::newRow("LF CR is one break") << "a\n\rb"
                                        << "a\nb";
    QTest::newRow("CR CR is two") << "a\r\rb"
                                  << "a\n\nb";
    QTest::newRow("LF LF is two") << "a\n\nb"
                                  << "a\n\nb";
    QTest::newRow("blanks stay") << "   Upload OK!   "
                                 << "   Upload OK!   ";
}

void TestMessageText::lineBreaks() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(QtDialogs::DisplayText(text), shown);
}

void TestMessageText::details_data() {
    QTest::addColumn<QString>("details");
    QTest::newRow("a reason") << "/dev/ttyUSB0 is busy: another program is using it.";
    QTest::newRow("none") << "";
}

void TestMessageText::details() {
    QFETCH(QString, details);
    QtDialogs dialogs;
    QString text;
    QString shownDetails = QStringLiteral("(no box)");
    // Reads the box once it shows, then presses OK.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        text = box->text();
        shownDetails = box->detailedText();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    Dialogs::Message m(QStringLiteral("COM 1: not available."), QString());
    m.details = details;
    QCOMPARE(dialogs.message(m), Dialogs::Answer::Ok);
    QCOMPARE(text, QStringLiteral("COM 1: not available."));
    QCOMPARE(shownDetails, details);
}

QTEST_MAIN(TestMessageText)
#include "tst_messagetext.moc"
