// Message texts with carriage returns and line feeds show as separate lines; the text itself
// (as the Dialogs service records it) is not changed by the link windows.

#include "app/qtdialogs.h"

#include <QTest>

using namespace orv;

class TestMessageText : public QObject {
    Q_OBJECT
private slots:
    void lineBreaks_data();
    void lineBreaks();
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

QTEST_MAIN(TestMessageText)
#include "tst_messagetext.moc"
