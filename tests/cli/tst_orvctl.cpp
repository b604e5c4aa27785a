// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// orvctl: diff against a byte-by-byte comparison through the library, and the program itself
// (exit codes, output, JSON, the files it writes and leaves alone) through QProcess. The settings
// as text are tested with their codec (tests/core/tst_settingcodec.cpp).

#include "cli/filecommands.h"
#include "core/catalogue.h"
#include "core/config.h"
#include "orvproject.h"
#include "support/configpicks.h"
#include "support/settingfields.h"
#include "support/waiting.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace orv;
using namespace orv::test;

namespace {

// The same setting of two images, under the table's byte and mask.
bool SameBits(const SettingField& f, const Image& a, const Image& b) {
    for (int i = f.byte; i < f.byte + f.length; ++i) {
        if ((a[i] & f.mask) != (b[i] & f.mask))
            return false;
    }
    return true;
}

bool SameHeader(const Setting& s, const CfgContents& a, const CfgContents& b) {
    switch (s.header) {
    case HeaderItem::DeviceName:
        return a.DeviceName == b.DeviceName;
    case HeaderItem::UserName:
        return a.UserName == b.UserName;
    case HeaderItem::SetupDate:
        return a.SetupDate == b.SetupDate;
    case HeaderItem::Description:
        return a.Description == b.Description;
    case HeaderItem::LinkMode:
        return a.LinkMode == b.LinkMode;
    default:
        return a.ComPort == b.ComPort;
    }
}

// What the real program does with some arguments.
struct Run {
    int exit = -1;
    QByteArray out;
    QByteArray err;
};

Run Orvctl(const QStringList& arguments, const QString& dir = QString()) {
    QProcess p;
    if (!dir.isEmpty())
        p.setWorkingDirectory(dir);
    p.start(QStringLiteral(ORVCTL_PATH), arguments);
    if (!p.waitForFinished(GiveUpMsecs))
        qFatal("orvctl did not finish");
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList Listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestOrvctl : public QObject {
    Q_OBJECT
private slots:
    void diffAgainstBytes();

    void exitCodes_data();
    void exitCodes();
    void helpForEveryCommand();
    void keysJson();
    void showJsonAgainstBytes();
    void showForAPerson();
    void diffJson();
    void setWritesAsTheWindowSaves();
    void refusalsLeaveTheFileUntouched_data();
    void refusalsLeaveTheFileUntouched();
    void getPrintsValues();
    void namesNotUtf8();
    void setInPlaceRefusesAChangedFile();
    void bashCompletion_data();
    void bashCompletion();

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
};

void TestOrvctl::diffAgainstBytes() {
    QRandomGenerator rng(2024);
    for (int round = 0; round < 400; ++round) {
        const ConfigFile a = RandomConfig(rng);
        ConfigFile b = a;
        // A few flipped bits (none in some rounds), sometimes a changed header record.
        const int flips = rng.bounded(4);
        for (int i = 0; i < flips; ++i)
            b.contents.data[rng.bounded(ImageSize)] ^= static_cast<quint8>(1 << rng.bounded(8));
        if (rng.bounded(8) == 0)
            b.contents.UserName += QLatin1Char('x');
        if (rng.bounded(8) == 0)
            b.contents.ComPort = static_cast<qint16>(a.contents.ComPort % 6 + 1);

        QSet<QString> expected;
        for (const Setting& s : Catalogue()) {
            const SettingField& f = FieldOf(s);
            const bool same = f.byte >= 0 ? SameBits(f, a.contents.data, b.contents.data)
                                          : SameHeader(s, a.contents, b.contents);
            if (!same)
                expected << QString::fromLatin1(s.key);
        }
        QSet<QString> found;
        for (const SettingChange& c : Compare(a, b)) {
            found << QString::fromLatin1(c.setting->key);
            QVERIFY(c.before.codes != c.after.codes || c.before.text != c.after.text);
        }
        QCOMPARE(found, expected);
        QCOMPARE(found.isEmpty(), FileBytes(a) == FileBytes(b));
    }
}

void TestOrvctl::exitCodes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("out"); // part of the output
    QTest::addColumn<QString>("err"); // part of the messages
    QTest::newRow("no command") << QStringList{} << 2 << ""
                                << "Usage: orvctl COMMAND";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "diff A B"
                          << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "orvctl " ORV_VERSION "\n"
                             << "";
    QTest::newRow("-v") << QStringList{"-v"} << 0 << "orvctl " ORV_VERSION "\n"
                        << "";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << ""
                                     << "orvctl: unknown command 'frobnicate'\n"
                                        "Try 'orvctl --help'.\n";
    QTest::newRow("unknown option") << QStringList{"show", "--jsn", "a.cfg"} << 2 << ""
                                    << "Try 'orvctl show --help'";
    QTest::newRow("too few") << QStringList{"diff", "a.cfg"} << 2 << ""
                             << "orvctl: too few arguments\nTry 'orvctl diff --help'.\n";
    QTest::newRow("too many") << QStringList{"show", "a.cfg", "b.cfg"} << 2 << ""
                              << "too many arguments";
    QTest::newRow("show") << QStringList{"show", "a.cfg"} << 0 << "bar.comm.baud_rate"
                          << "";
    QTest::newRow("empty text in JSON")
        << QStringList{"show", "a.cfg", "--json"} << 0 << "\"caption\": \"\",\n"
        << "";
    QTest::newRow("missing file") << QStringList{"show", "none.cfg"} << 2 << ""
                                  << "none.cfg could not be read";
    QTest::newRow("not a configuration") << QStringList{"show", "junk.txt"} << 2 << ""
                                         << "neither a configuration file nor a defaults file";
    QTest::newRow("damaged") << QStringList{"show", "damaged.cfg"} << 2 << ""
                             << "damaged.cfg is damaged";
    QTest::newRow("a folder") << QStringList{"show", "."} << 2 << ""
                              << "it is a folder";
    QTest::newRow("a named pipe") << QStringList{"show", "pipe.cfg"} << 2 << ""
                                  << "not a regular file";
    QTest::newRow("same") << QStringList{"diff", "a.cfg", "a.cfg"} << 0 << ""
                          << "";
    QTest::newRow("same image") << QStringList{"diff", "a.cfg", "defaults"} << 0 << ""
                                << "";
    QTest::newRow("differ") << QStringList{"diff", "a.cfg", "b.cfg"} << 1 << "→"
                            << "";
    QTest::newRow("diff trouble") << QStringList{"diff", "a.cfg", "none.cfg"} << 2 << ""
                                  << "none";
    QTest::newRow("get header of defaults")
        << QStringList{"get", "defaults", "header.user_name"} << 2 << ""
        << "no header records";
    QTest::newRow("unknown key") << QStringList{"get", "a.cfg", "parity"} << 2 << ""
                                 << "did you mean bar.comm.parity, mag.comm.parity?";
    QTest::newRow("completion of an unknown shell")
        << QStringList{"--completion", "fish"} << 2 << ""
        << "orvctl: no completion for 'fish'\nTry 'orvctl --help'.\n";
    QTest::newRow("set to an empty name")
        << QStringList{"set", "a.cfg", "bar.comm.parity=odd", "-o", ""} << 2 << ""
        << "orvctl: -o needs the name of the file to write\nTry 'orvctl set --help'.\n";
    QTest::newRow("not an assignment") << QStringList{"set", "a.cfg", "bar.comm.parity"} << 2 << ""
                                       << "is not KEY=VALUE";
}

void TestOrvctl::exitCodes() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exit);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const QString d = dir_.path();
    ConfigFile a{FileFormat::Cfg,
                 {"Reader 7", "Ann", "2026-12-08", "Line 3", 2, 1, Config::BuiltInDefaults()}};
    WriteAll(path(QStringLiteral("a.cfg")), FileBytes(a));
    a.format = FileFormat::Defaults;
    WriteAll(path(QStringLiteral("defaults")), FileBytes(a));
    a.format = FileFormat::Cfg;
    a.contents.data[16] ^= 0x04;
    WriteAll(path(QStringLiteral("b.cfg")), FileBytes(a));
    WriteAll(path(QStringLiteral("junk.txt")), "hello\n");
    WriteAll(path(QStringLiteral("damaged.cfg")), "tova\r\na\r\nb\r\nc\r\nd\r\n 1 \r\n");
    QFile::remove(path(QStringLiteral("pipe.cfg")));
    QCOMPARE(mkfifo(QFile::encodeName(path(QStringLiteral("pipe.cfg"))).constData(), 0600), 0);

    const Run r = Orvctl(arguments, d);
    QCOMPARE(r.exit, exit);
    QVERIFY2(QString::fromUtf8(r.out).contains(out), r.out.constData());
    QVERIFY2(QString::fromUtf8(r.err).contains(err), r.err.constData());
    if (exit == 2 && arguments.value(0) != QLatin1String("show"))
        QVERIFY(!r.out.contains("bar."));
}

void TestOrvctl::helpForEveryCommand() {
    for (const char* command : {"keys", "show", "get", "set", "diff"}) {
        for (const QStringList& args : {QStringList{command, "--help"},
                                        QStringList{"help", command}, QStringList{command, "-h"}}) {
            const Run r = Orvctl(args);
            QCOMPARE(r.exit, 0);
            QVERIFY(r.out.startsWith("Usage: orvctl " + QByteArray(command)));
            QVERIFY(r.out.contains("--help"));
            QVERIFY(r.err.isEmpty());
        }
    }
    QVERIFY(Orvctl({"set", "--help"}).out.contains("-o, --output OUT"));
    // Not on a terminal, every help text fits 80 columns.
    for (const char* command : {"keys", "show", "get", "set", "diff", "download", "upload",
                                "version", "flash", "memory", "monitor", "--help"}) {
        const Run r = Orvctl({command, "--help"});
        for (const QString& line : QString::fromUtf8(r.out).split(QLatin1Char('\n')))
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }
}

void TestOrvctl::keysJson() {
    const Run r = Orvctl({"keys", "--json"});
    QCOMPARE(r.exit, 0);
    const QJsonArray rows = QJsonDocument::fromJson(r.out).array();
    QCOMPARE(rows.size(), SettingFields().size());
    QSet<QString> seen;
    for (const QJsonValue& v : rows) {
        const QJsonObject o = v.toObject();
        for (const char* field : {"key", "label", "panel", "region", "kind"})
            QVERIFY2(o.value(QLatin1String(field)).isString(), field);
        QVERIFY(o.value(QLatin1String("values")).isArray());
        const QString key = o.value(QLatin1String("key")).toString();
        seen << key;
        const SettingField& f = FieldOf(*FindSetting(key));
        QCOMPARE(o.value(QLatin1String("kind")).toString(), QString::fromLatin1(f.kind));
        if (f.byte < 0) {
            QCOMPARE(o.value(QLatin1String("region")).toString(), QStringLiteral("header"));
            QVERIFY(o.value(QLatin1String("byte")).isNull());
            QVERIFY(o.value(QLatin1String("mask")).isNull());
        } else {
            QCOMPARE(o.value(QLatin1String("byte")).toInt(), f.byte);
            QCOMPARE(o.value(QLatin1String("mask")).toInt(), f.mask);
            QCOMPARE(o.value(QLatin1String("region")).toString(),
                     f.byte <= 24 ? QStringLiteral("bar") : QStringLiteral("mag"));
        }
        for (const QJsonValue& value : o.value(QLatin1String("values")).toArray()) {
            const QJsonObject vo = value.toObject();
            QVERIFY(vo.value(QLatin1String("code")).isDouble());
            QVERIFY(vo.value(QLatin1String("caption")).isString());
            QVERIFY(vo.value(QLatin1String("token")).isString());
        }
    }
    QCOMPARE(seen.size(), rows.size());

    const QJsonObject parity = [&rows] {
        for (const QJsonValue& v : rows) {
            if (v.toObject().value(QLatin1String("key")).toString() == u"mag.comm.parity")
                return v.toObject();
        }
        return QJsonObject();
    }();
    QCOMPARE(parity[QLatin1String("values")].toArray().last().toObject(),
             (QJsonObject{{"code", 7}, {"caption", "None"}, {"token", "none"}}));
    QCOMPARE(parity[QLatin1String("other_codes")].toArray().first().toObject(),
             (QJsonObject{{"code", 4}, {"shown_as", 7}, {"kept", true}}));
    QCOMPARE(parity[QLatin1String("other_codes")].toArray().last().toObject(),
             (QJsonObject{{"code", 6}, {"shown_as", QJsonValue()}, {"kept", true}}));
}

void TestOrvctl::showJsonAgainstBytes() {
    QRandomGenerator rng(77);
    for (int round = 0; round < 8; ++round) {
        const ConfigFile file =
            RandomConfig(rng, round % 2 ? FileFormat::Defaults : FileFormat::Cfg);
        WriteAll(path(QStringLiteral("show.cfg")), FileBytes(file));
        const Run r = Orvctl({"show", path(QStringLiteral("show.cfg")), "--json"});
        QCOMPARE(r.exit, 0);
        const QJsonObject doc = QJsonDocument::fromJson(r.out).object();
        const QJsonObject header = doc[QLatin1String("header")].toObject();
        if (file.hasHeader()) {
            QCOMPARE(header[QLatin1String("device_name")].toString(), file.contents.DeviceName);
            QCOMPARE(header[QLatin1String("description")].toString(), file.contents.Description);
            QCOMPARE(header[QLatin1String("com_port")].toString(),
                     QString::number(file.contents.ComPort));
        } else {
            QVERIFY(header.isEmpty());
            QCOMPARE(doc[QLatin1String("format")].toString(), QStringLiteral("defaults"));
        }
        const QJsonArray settings = doc[QLatin1String("settings")].toArray();
        int imageRows = 0;
        for (const SettingField& f : SettingFields())
            imageRows += f.byte >= 0;
        QCOMPARE(settings.size(), imageRows);
        for (const QJsonValue& v : settings) {
            const QJsonObject o = v.toObject();
            const Setting& s = *FindSetting(o[QLatin1String("key")].toString());
            const SettingField& f = FieldOf(s);
            QVERIFY(o[QLatin1String("label")].isString());
            const QJsonValue code = o[QLatin1String("code")];
            if (f.length > 1) {
                const QJsonArray bytes = code.toArray();
                QCOMPARE(bytes.size(), f.length);
                for (int i = 0; i < f.length; ++i)
                    QCOMPARE(bytes[i].toInt(), int(file.contents.data[f.byte + i]));
            } else {
                QCOMPARE(code.toInt(), FieldCodeIn(f, file.contents.data.data()));
            }
            // Every token is what get prints; a code with no option to show it has no caption.
            QCOMPARE(o[QLatin1String("token")].toString(), ReadSetting(s, file).text);
            const bool shown = !s.isBitField() || s.shownValue(code.toInt());
            QCOMPARE(o[QLatin1String("caption")].isString(), shown);
            if (shown && !s.values.empty())
                QCOMPARE(o[QLatin1String("caption")].toString(),
                         QString::fromLatin1(s.shownValue(code.toInt())->caption));
        }
    }
}

void TestOrvctl::showForAPerson() {
    ConfigFile file{FileFormat::Cfg,
                    {"Reader 7", "Ann", "2026-12-08", "Line 3", 2, 1, Config::BuiltInDefaults()}};
    file.contents.data[19] = static_cast<quint8>((file.contents.data[19] & ~0x70) | 5 << 4);
    WriteAll(path(QStringLiteral("person.cfg")), FileBytes(file));
    const Run r = Orvctl({"show", path(QStringLiteral("person.cfg"))});
    QCOMPARE(r.exit, 0);
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'));
    // Grouped by panel: the headings in the order of the windows.
    QStringList headings;
    for (const QString& l : lines) {
        if (!l.isEmpty() && !l.startsWith(QLatin1Char(' ')) && !l.contains(QLatin1String(": conf")))
            headings << l;
    }
    QCOMPARE(
        headings,
        (QStringList{"File header", "Bar decoder: Interface",
                     "Bar decoder: Communication Parameters", "Bar decoder: Bar Codes and Others",
                     "Bar decoder: Miscellaneous Parameters", "Bar decoder: other bits",
                     "Magnetic reader: Interface", "Magnetic reader: Communication Parameters",
                     "Magnetic reader: Miscellaneous Parameters", "Magnetic reader: other bits"}));
    // Aligned: every label and every value starts in the same column.
    QSet<qsizetype> labelColumns;
    QSet<qsizetype> valueColumns;
    for (const Setting& s : Catalogue()) {
        const QString key = QString::fromLatin1(s.key);
        const auto line = std::find_if(lines.begin(), lines.end(), [&key](const QString& l) {
            return l.startsWith(QLatin1String("  ") + key + QLatin1Char(' '));
        });
        QVERIFY2(line != lines.end(), s.key);
        labelColumns << line->indexOf(s.displayLabel(), key.size() + 2);
        const QString value = ReadSetting(s, file).display;
        QVERIFY2(line->endsWith(value), s.key);
        valueColumns << line->size() - value.size();
    }
    QCOMPARE(labelColumns.size(), 1);
    QCOMPARE(valueColumns.size(), 1);
    QVERIFY(r.out.contains("bar.comm.parity "));
    QVERIFY(r.out.contains("5 (no option)\n"));
    QVERIFY(r.out.contains("\"Reader 7\"\n"));
}

void TestOrvctl::diffJson() {
    QRandomGenerator rng(5);
    const ConfigFile a = RandomConfig(rng);
    ConfigFile b = RandomConfig(rng);
    WriteAll(path(QStringLiteral("da.cfg")), FileBytes(a));
    WriteAll(path(QStringLiteral("db.cfg")), FileBytes(b));
    const Run r =
        Orvctl({"diff", "--json", path(QStringLiteral("da.cfg")), path(QStringLiteral("db.cfg"))});
    QCOMPARE(r.exit, 1);
    const QJsonArray rows = QJsonDocument::fromJson(r.out).array();
    const std::vector<SettingChange> changes = Compare(a, b);
    QCOMPARE(rows.size(), qsizetype(changes.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QJsonObject o = rows[i].toObject();
        const Setting& s = *changes[i].setting;
        QCOMPARE(o[QLatin1String("key")].toString(), QString::fromLatin1(s.key));
        QCOMPARE(o[QLatin1String("label")].toString(), s.displayLabel());
        QCOMPARE(o[QLatin1String("old")].toString(), ReadSetting(s, a).text);
        QCOMPARE(o[QLatin1String("new")].toString(), ReadSetting(s, b).text);
    }
    const Run same =
        Orvctl({"diff", "--json", path(QStringLiteral("da.cfg")), path(QStringLiteral("da.cfg"))});
    QCOMPARE(same.exit, 0);
    QCOMPARE(QJsonDocument::fromJson(same.out).array(), QJsonArray());
}

void TestOrvctl::setWritesAsTheWindowSaves() {
    QRandomGenerator rng(99);
    for (int round = 0; round < 12; ++round) {
        const FileFormat format = round % 3 == 2 ? FileFormat::Defaults : FileFormat::Cfg;
        ConfigFile file = RandomConfig(rng, format);
        const QString in = path(QStringLiteral("in.cfg"));
        const QString out = path(QStringLiteral("out.cfg"));
        WriteAll(in, FileBytes(file));
        QFile::remove(out);
        // A few assignments to settings of the image, and header records in a .cfg.
        QStringList args{"set", in};
        for (int i = 0; i < 4; ++i) {
            const Setting& s = Catalogue()[rng.bounded(static_cast<int>(Catalogue().size()))];
            if (s.kind == SettingKind::Reserved || (!s.inImage() && format == FileFormat::Defaults))
                continue;
            const Pick p = PickValue(s, FieldOf(s), rng);
            args << QString::fromLatin1(s.key) + QLatin1Char('=') + p.typed;
            QVERIFY(!StoreSetting(s, p.typed, file));
        }
        const bool toOther = round % 2;
        if (toOther)
            args << "-o" << out;
        const QByteArray original = ReadAll(in);
        const Run r = Orvctl(args);
        QVERIFY2(r.exit == 0, r.err.constData());
        QVERIFY(r.out.isEmpty());
        QCOMPARE(ReadAll(toOther ? out : in), FileBytes(file));
        if (toOther)
            QCOMPARE(ReadAll(in), original);
    }
}

void TestOrvctl::refusalsLeaveTheFileUntouched_data() {
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<QString>("output"); // -o, if any
    QTest::addColumn<QString>("err");
    QTest::newRow("an unknown key among good ones")
        << QStringList{"bar.comm.baud_rate=19200", "bar.comm.speed=9600"} << ""
        << "unknown key 'bar.comm.speed'";
    QTest::newRow("an unknown value after a good one")
        << QStringList{"bar.misc.prefix={STX}", "mag.comm.tracks=track 4"} << ""
        << "\"track 4\" is not a value of Track Selection";
    QTest::newRow("a line break in a header record")
        << QStringList{"header.description=one\ntwo"} << ""
        << "the description contains a line break";
    QTest::newRow("a long value, cut short")
        << QStringList{"bar.comm.parity=" + QString(200, 'x')} << ""
        << QString(80, 'x') + "…\" is not a value of Parity";
    QTest::newRow("to a folder that does not exist")
        << QStringList{"bar.comm.baud_rate=4800"} << "missing/out.cfg"
        << "/missing does not exist\n"; // and no "it was not changed": it was never there
    QTest::newRow("to an empty name") << QStringList{"bar.comm.baud_rate=4800"} << "(empty)"
                                      << "-o needs the name of the file to write";
    QTest::newRow("to a folder") << QStringList{"bar.comm.baud_rate=4800"} << "sub"
                                 << "could not be written";
}

void TestOrvctl::refusalsLeaveTheFileUntouched() {
    QFETCH(QStringList, assignments);
    QFETCH(QString, output);
    QFETCH(QString, err);
    QTemporaryDir d;
    QVERIFY(QDir(d.path()).mkdir(QStringLiteral("sub")));
    const QString file = d.filePath(QStringLiteral("x.cfg"));
    QRandomGenerator rng(qHash(err));
    const QByteArray before = FileBytes(RandomConfig(rng));
    WriteAll(file, before);
    const QStringList listing = Listing(d.path());
    QStringList args = QStringList{"set", file} + assignments;
    if (!output.isEmpty())
        args << "-o" << (output == QLatin1String("(empty)") ? QString() : d.filePath(output));
    const Run r = Orvctl(args);
    QCOMPARE(r.exit, 2);
    QVERIFY2(QString::fromUtf8(r.err).contains(err), r.err.constData());
    QCOMPARE(ReadAll(file), before);
    QCOMPARE(Listing(d.path()), listing); // no temporary file left behind
    QVERIFY(Listing(d.filePath(QStringLiteral("sub"))).isEmpty());
}

void TestOrvctl::getPrintsValues() {
    ConfigFile file{FileFormat::Cfg,
                    {"Reader 7", "Ann", "2026-12-08", "Line 3", 2, 0, Config::BuiltInDefaults()}};
    const QString cfg = path(QStringLiteral("get.cfg"));
    WriteAll(cfg, FileBytes(file));
    QVERIFY(Orvctl({"set", cfg, "bar.misc.suffix={stx}A{cr }", "mag.comm.baud_rate=19200",
                    "bar.comm.parity=Even", "mag.misc.track2.end_char={ESC}"})
                .exit == 0);
    const Run r = Orvctl({"get", cfg, "bar.misc.suffix", "mag.comm.baud_rate", "bar.comm.parity",
                          "header.link_mode", "header.device_name", "mag.misc.track2.end_char"});
    QCOMPARE(r.exit, 0);
    QCOMPARE(r.out, QByteArray("{STX}A{CR}\n19200\neven\nkeyboard\nReader 7\n{ESC}\n"));
    // A defaults file in place of the .cfg.
    file.format = FileFormat::Defaults;
    WriteAll(path(QStringLiteral("defaults")), FileBytes(file));
    QVERIFY(Orvctl({"set", path(QStringLiteral("defaults")), "bar.comm.parity=odd"}).exit == 0);
    QCOMPARE(Orvctl({"get", path(QStringLiteral("defaults")), "bar.comm.parity"}).out,
             QByteArray("odd\n"));
    QVERIFY(ReadAll(path(QStringLiteral("defaults"))).startsWith("Orv_Defaults\r\n"));
}

// orvctl takes its file names as bytes: it writes, reads and names exactly the file given.
void TestOrvctl::namesNotUtf8() {
    QTemporaryDir d;
    ConfigFile file{FileFormat::Cfg,
                    {"Reader 7", "Ann", "2026-12-08", "Line 3", 2, 0, Config::BuiltInDefaults()}};
    WriteAll(d.filePath(QStringLiteral("a.cfg")), FileBytes(file));
    QProcess sh;
    sh.setWorkingDirectory(d.path());
    sh.start(QStringLiteral("/bin/sh"),
             {"-c",
              "\"$0\" set a.cfg bar.comm.parity=odd -o \"$(printf 'bad\\377\\376.cfg')\" && "
              "\"$0\" get \"$(printf 'bad\\377\\376.cfg')\" bar.comm.parity && "
              "\"$0\" get \"$(printf 'in\\377.cfg')\" bar.comm.parity",
              QStringLiteral(ORVCTL_PATH)});
    QVERIFY(sh.waitForFinished(GiveUpMsecs));
    QCOMPARE(sh.exitCode(), 2);
    QCOMPARE(sh.readAllStandardOutput(), QByteArray("odd\n"));
    QCOMPARE(sh.readAllStandardError(),
             QByteArray("orvctl: in\\xFF.cfg could not be read: No such file or directory\n"));
    const QByteArray written = QFile::encodeName(d.path()) + "/bad\xff\xfe.cfg";
    QVERIFY(::access(written.constData(), F_OK) == 0);
    QVERIFY(::unlink(written.constData()) == 0); // QDir cannot name it to remove it
}

// In place, set replaces only the file it read: another program's file is left as it is.
void TestOrvctl::setInPlaceRefusesAChangedFile() {
    QRandomGenerator rng(5);
    const QString cfg = path(QStringLiteral("shared.cfg"));
    WriteAll(cfg, FileBytes(RandomConfig(rng)));
    QString why;
    FileStamp stamp;
    const auto file = LoadConfigFile(cfg, &why, &stamp);
    const QByteArray theirs = FileBytes(RandomConfig(rng));
    WriteAll(cfg + ".new", theirs);
    QVERIFY(QFile::remove(cfg) && QFile::rename(cfg + ".new", cfg));
    QVERIFY(file && !SaveConfigFile(cfg, *file, &why, stamp));
    QCOMPARE(why, QStringLiteral("another program changed it after it was read"));
    QCOMPARE(ReadAll(cfg), theirs);
}

void TestOrvctl::bashCompletion_data() {
    QTest::addColumn<QStringList>("words"); // after "orvctl"; the last is the word completed
    QTest::addColumn<QString>("reply");     // sorted
    QTest::newRow("command") << QStringList{"do"} << "download";
    QTest::newRow("option") << QStringList{"show", "--j"} << "--json";
    QTest::newRow("file") << QStringList{"diff", "a.cfg", "b"} << "b.cfg";
    QTest::newRow("no more operands") << QStringList{"show", "a.cfg", ""} << "";
    QTest::newRow("key") << QStringList{"get", "a.cfg", "bar.comm.b"} << "bar.comm.baud_rate";
    QTest::newRow("key to set") << QStringList{"set", "a.cfg", "mag.comm.par"}
                                << "mag.comm.parity=";
    QTest::newRow("value") << QStringList{"set", "a.cfg", "bar.comm.data_bits="}
                           << "bar.comm.data_bits=7 bar.comm.data_bits=8";
    // Where COMP_WORDBREAKS holds "=", as it does by default.
    QTest::newRow("value, split") << QStringList{"set", "a.cfg", "bar.comm.parity",
                                                 "=",   "odd",   "mag.comm.tracks",
                                                 "=",   "1-"}
                                  << "1-2 1-2-3 1-3-2";
    QTest::newRow("option's value") << QStringList{"upload", "--parity", "e"} << "even";
    QTest::newRow("baud rate") << QStringList{"upload", "--baud", "1"} << "1200 19200";
    QTest::newRow("port") << QStringList{"version", "-p", "com"} << "com1 com2 com3 com4 com5 com6";
    QTest::newRow("option's value in one word")
        << QStringList{"upload", "--parity=o"} << "--parity=odd";
    QTest::newRow("option's value, split")
        << QStringList{"upload", "--data-bits", "=", ""} << "7 8";
    QTest::newRow("output file") << QStringList{"set", "b.cfg", "-o", "a"} << "a.cfg";
    QTest::newRow("help on a command") << QStringList{"help", "d"} << "diff download";
    QTest::newRow("after an option's value")
        << QStringList{"memory", "--port", "com1", "r"} << "read";
}

void TestOrvctl::bashCompletion() {
    QFETCH(QStringList, words);
    QFETCH(QString, reply);
    WriteAll(path(QStringLiteral("a.cfg")), "");
    WriteAll(path(QStringLiteral("b.cfg")), "");
    QProcess bash;
    bash.setWorkingDirectory(dir_.path());
    bash.start(QStringLiteral("bash"),
               QStringList{QStringLiteral("-c"),
                           QStringLiteral("source \"$0\"; COMP_WORDS=(orvctl \"$@\"); "
                                          "COMP_CWORD=$#; _orvctl; printf '%s\\n' "
                                          "\"${COMPREPLY[@]}\" | sort"),
                           QStringLiteral(ORVCTL_BASH_COMPLETION)} +
                   words);
    QVERIFY(bash.waitForFinished(GiveUpMsecs));
    QCOMPARE(bash.readAllStandardError(), QByteArray());
    QCOMPARE(QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
             reply.split(' ', Qt::SkipEmptyParts));
}

QTEST_GUILESS_MAIN(TestOrvctl)
#include "tst_orvctl.moc"
