// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/notation.h"
#include "support/configpicks.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orv;

using Bytes = QList<int>;

namespace {

Bytes Parse(const QString& text, int n) {
    const std::vector<quint8> g = ParseInsertionText(text, n);
    return Bytes(g.begin(), g.end());
}

QString Render(const Bytes& bytes) {
    std::vector<quint8> g(bytes.begin(), bytes.end());
    return RenderInsertionGroup(g);
}

} // namespace

class TestNotation : public QObject {
    Q_OBJECT
private slots:
    void controlNames();
    void parse_data();
    void parse();
    void render_data();
    void render();
    void renderThenParseGivesTheGroupBack();
};

void TestNotation::controlNames() {
    QCOMPARE(ControlMnemonics.size(), 96);
    for (int c = 0; c < ControlCount; ++c) {
        QCOMPARE(ControlName(c), QString::fromLatin1(test::ControlNames[c]));
        // Each name is found first at the start of its own cell.
        const QString cell = QString(ControlMnemonics).mid(c * 3, 3);
        QCOMPARE(QString(ControlMnemonics).indexOf(cell), c * 3);
    }
}

void TestNotation::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<Bytes>("bytes");
    const int E = 255;
    QTest::newRow("empty") << "" << 4 << Bytes{E, E, E, E};
    QTest::newRow("empty group of 8") << "" << 8 << Bytes{E, E, E, E, E, E, E, E};
    QTest::newRow("tokens around letters") << "{STX}AB{ETX}" << 4 << Bytes{2, 65, 66, 3};
    QTest::newRow("text beyond the group") << "ABCDEF" << 4 << Bytes{65, 66, 67, 68};
    QTest::newRow("token beyond the group") << "ABCD{CR}" << 4 << Bytes{65, 66, 67, 68};
    QTest::newRow("no closing brace") << "{CR" << 4 << Bytes{123, 67, 82, E};
    QTest::newRow("one letter between braces") << "{A}" << 4 << Bytes{123, 65, 125, E};
    QTest::newRow("nothing between braces") << "{}" << 4 << Bytes{123, 125, E, E};
    QTest::newRow("unknown name") << "{XYZ}" << 8 << Bytes{123, 88, 89, 90, 125, E, E, E};
    QTest::newRow("four letters") << "{CRLF}" << 8 << Bytes{123, 67, 82, 76, 70, 125, E, E};
    QTest::newRow("across a cell boundary") << "{ULS}" << 8 << Bytes{123, 85, 76, 83, 125, E, E, E};
    QTest::newRow("blank before a name") << "{ CR}" << 8 << Bytes{123, 32, 67, 82, 125, E, E, E};
    QTest::newRow("lower case") << "{lf}" << 4 << Bytes{10, E, E, E};
    QTest::newRow("mixed case") << "{Cr}" << 4 << Bytes{13, E, E, E};
    QTest::newRow("with the blank") << "{CR }" << 4 << Bytes{13, E, E, E};
    QTest::newRow("lower case with the blank") << "{us }" << 4 << Bytes{31, E, E, E};
    QTest::newRow("ESC") << "{ESC}" << 4 << Bytes{27, E, E, E};
    QTest::newRow("EM") << "{EM}" << 4 << Bytes{25, E, E, E};
    QTest::newRow("NUL") << "{NUL}" << 4 << Bytes{0, E, E, E};
    QTest::newRow("four tokens fill the group") << "{CR}{LF}{HT}{ESC}" << 4 << Bytes{13, 10, 9, 27};
    QTest::newRow("brace before a token") << "{{CR}" << 4 << Bytes{123, 13, E, E};
    QTest::newRow("closing brace and blank") << "} a" << 4 << Bytes{125, 32, 97, E};
    // 255 would end the group: it cannot be stored, like a character without a single-byte code.
    QTest::newRow("character 255 cannot be stored") << QString::fromLatin1("A\xff"
                                                                           "B")
                                                    << 4 << Bytes{65, 66, E, E};
    QTest::newRow("Latin-1 letters")
        << QString::fromLatin1("\xe9\xfe") << 4 << Bytes{0xE9, 0xFE, E, E};
    QTest::newRow("no single-byte code")
        << QString::fromUtf8("A\u20acB") << 4 << Bytes{65, 66, E, E};
    // Removed before the text is read as notation: they neither keep a name from being read
    // nor make the literal characters of one.
    QTest::newRow("no single-byte code before the closing brace")
        << QString::fromUtf8("{CR\u20ac}") << 4 << Bytes{13, E, E, E};
    QTest::newRow("no single-byte code inside a name")
        << QString::fromUtf8("{C\u4e2dR}A") << 4 << Bytes{13, 65, E, E};
    QTest::newRow("255 inside a name") << QString::fromLatin1("{L\xff"
                                                              "F}")
                                       << 4 << Bytes{10, E, E, E};
}

void TestNotation::parse() {
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(Bytes, bytes);
    QCOMPARE(Parse(text, n), bytes);
}

void TestNotation::render_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("stops at 255") << Bytes{13, 10, 255, 65} << "{CR}{LF}";
    QTest::newRow("empty") << Bytes{255, 255, 255, 255} << "";
    QTest::newRow("letters") << Bytes{65, 66, 67, 68} << "ABCD";
    QTest::newRow("first and last control") << Bytes{0, 31, 8, 32} << "{NUL}{US}{BS} ";
    QTest::newRow("high bytes") << Bytes{127, 0xFE, 123, 125} << QString::fromLatin1("\x7f\xfe{}");
}

void TestNotation::render() {
    QFETCH(Bytes, bytes);
    QFETCH(QString, text);
    QCOMPARE(Render(bytes), text);
}

void TestNotation::renderThenParseGivesTheGroupBack() {
    // Any group whose characters are followed only by 255, and where no "{" could start a token
    // with the characters after it.
    QRandomGenerator rng(42);
    for (int round = 0; round < 2000; ++round) {
        const int n = round % 2 ? 8 : 4;
        const int k = rng.bounded(n + 1);
        Bytes g;
        while (g.size() < k) {
            const int b = rng.bounded(255);
            if (b != '{')
                g << b;
        }
        while (g.size() < n)
            g << 255;
        QCOMPARE(Parse(Render(g), n), g);
    }
}

QTEST_APPLESS_MAIN(TestNotation)
#include "tst_notation.moc"
