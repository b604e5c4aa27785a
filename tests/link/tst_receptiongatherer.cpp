// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reception gatherer of the keyboard and RS232 test and of orvctl monitor: pieces of a datum
// shown as one text in either style, the bound on what a datum keeps, and the wait's end.

#include "link/exchange/receptiongatherer.h"
#include "support/waiting.h"

#include <QSignalSpy>
#include <QTest>

using namespace orv;
using namespace orv::test;

class TestReceptionGatherer : public QObject {
    Q_OBJECT
private slots:
    void datum_data();
    void datum();
    void waitEndsTheDatum();
};

void TestReceptionGatherer::datum_data() {
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<VisibleStyle>("style");
    QTest::addColumn<qsizetype>("kept");
    QTest::addColumn<QString>("shown");
    const auto window = VisibleStyle::Window;
    const auto terminal = VisibleStyle::Terminal;
    const qsizetype all = ReceptionGatherer::Unbounded;
    QTest::newRow("window: pieces make one datum")
        << QList<QByteArray>{"\x02\x7f", "\x9b", "AB\r\n"} << window << all
        << QStringLiteral("<STX>\u007f\u009bAB<CR><LF>");
    QTest::newRow("terminal: DEL and C1 by number")
        << QList<QByteArray>{"\x1b[A\x7f\x9b"} << terminal << all << "<ESC>[A<7F><9B>";
    QTest::newRow("unbounded keeps every byte")
        << QList<QByteArray>{QByteArray(40000, 'x'), "\x01"} << terminal << all
        << QString(40000, QLatin1Char('x')) + QStringLiteral("<SOH>");
    QTest::newRow("bound: the last characters, a name cut")
        << QList<QByteArray>{QByteArray(3400, '\x01') + "end"} << window << qsizetype(16384)
        << (QStringLiteral("<SOH>").repeated(3400) + QStringLiteral("end")).right(16384);
    // Byte by byte, so that the oldest bytes are dropped while the datum is gathered.
    QList<QByteArray> bytes(40, "\x01");
    bytes += {"a", "b", "c"};
    QTest::newRow("bound over many pieces") << bytes << window << qsizetype(8) << "<SOH>abc";
}

void TestReceptionGatherer::datum() {
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(VisibleStyle, style);
    QFETCH(qsizetype, kept);
    QFETCH(QString, shown);
    ReceptionGatherer gatherer(NeverMsecs, style, kept);
    QStringList texts;
    connect(&gatherer, &ReceptionGatherer::gathered, this,
            [&texts](const QString& text) { texts += text; });
    for (const QByteArray& piece : pieces)
        gatherer.add(piece);
    QVERIFY(texts.isEmpty());
    gatherer.flush();
    QCOMPARE(texts, QStringList{shown});
    // Nothing is left to show.
    gatherer.flush();
    QCOMPARE(texts.size(), 1);
}

void TestReceptionGatherer::waitEndsTheDatum() {
    ReceptionGatherer gatherer(1, VisibleStyle::Window);
    QSignalSpy spy(&gatherer, &ReceptionGatherer::gathered);
    gatherer.add("A");
    gatherer.add("B");
    QVERIFY(spy.wait(GiveUpMsecs));
    QCOMPARE(spy.takeFirst().at(0).toString(), QStringLiteral("AB"));
    // A datum cleared while it is gathered is never shown; the next one starts its own wait.
    gatherer.add("C");
    gatherer.clear();
    gatherer.add("D");
    QVERIFY(spy.wait(GiveUpMsecs));
    QCOMPARE(spy.takeFirst().at(0).toString(), QStringLiteral("D"));
}

QTEST_GUILESS_MAIN(TestReceptionGatherer)
#include "tst_receptiongatherer.moc"
