// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "filecommands.h"

#include "commandset.h"
#include "console.h"
#include "texttable.h"

#include "core/filename.h"
#include "core/wholefile.h"

#include <QJsonDocument>

namespace orv {

namespace {

const QCommandLineOption JsonOption(QStringLiteral("json"),
                                    QStringLiteral("Print JSON, for scripts."));
const QCommandLineOption OutputOption({QStringLiteral("o"), QStringLiteral("output")},
                                      QStringLiteral("Write the result to OUT instead of FILE."),
                                      QStringLiteral("OUT"));

QString SectionOf(const Setting& s) {
    if (s.region == SettingRegion::Header)
        return QStringLiteral("File header");
    const QString region = s.region == SettingRegion::Bar ? QStringLiteral("Bar decoder")
                                                          : QStringLiteral("Magnetic reader");
    const QString panel = *s.panel ? QString::fromLatin1(s.panel) : QStringLiteral("other bits");
    return region + QStringLiteral(": ") + panel;
}

// Adds a heading to the table whenever the setting starts another section.
void Section(TextTable& table, QString* current, const Setting& s) {
    const QString section = SectionOf(s);
    if (section != *current)
        table.heading(section);
    *current = section;
}

QString Hex(int value) {
    return QStringLiteral("0x%1")
        .arg(value, 2, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

// Where a setting is stored, for a person.
QString WhereText(const Setting& s) {
    if (!s.inImage())
        return QStringLiteral("header");
    if (s.kind == SettingKind::InsertionText)
        return QStringLiteral("bytes %1..%2").arg(s.field.byte).arg(s.field.byte + s.length - 1);
    if (s.field.mask == 0xFF)
        return QStringLiteral("byte %1").arg(s.field.byte);
    return QStringLiteral("byte %1 mask %2").arg(s.field.byte).arg(Hex(s.field.mask));
}

QJsonValue CodesJson(const Setting& s, const SettingReading& r) {
    if (s.kind == SettingKind::InsertionText) {
        QJsonArray bytes;
        for (int b : r.codes)
            bytes.append(b);
        return bytes;
    }
    if (r.codes.empty())
        return QJsonValue::Null;
    return r.codes.front();
}

// Text as JSON: a string, "" when empty; null only when there is none.
QJsonValue TextOrNull(const std::optional<QString>& text) {
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

// The short name of a header row: "device_name" for "header.device_name".
QString HeaderName(const Setting& s) {
    return QString::fromLatin1(s.key).section(QLatin1Char('.'), 1);
}

// Finds the settings of the keys given; on an unknown key, says so (with the keys it may
// mean) and gives nothing.
std::optional<std::vector<const Setting*>> SettingsOf(const QStringList& keys, Console& console) {
    std::vector<const Setting*> settings;
    bool ok = true;
    for (const QString& key : keys) {
        if (const Setting* s = FindSetting(key)) {
            settings.push_back(s);
            continue;
        }
        ok = false;
        QStringList near;
        for (const Setting& s : Catalogue()) {
            const QString k = QString::fromLatin1(s.key);
            if (!key.isEmpty() && (k.endsWith(QLatin1Char('.') + key) || k.contains(key)))
                near << k;
        }
        QString message = QStringLiteral("unknown key '%1'").arg(Shortened(key));
        if (!near.isEmpty() && near.size() <= 8)
            message += QStringLiteral("; did you mean %1?").arg(near.join(QStringLiteral(", ")));
        else
            message += QStringLiteral("; 'orvctl keys' lists them");
        console.error(message);
    }
    if (!ok)
        return std::nullopt;
    return settings;
}

std::optional<ConfigFile> Load(const QString& path, Console& console, FileStamp* stamp = nullptr) {
    QString why;
    auto file = LoadConfigFile(path, &why, stamp);
    if (!file)
        console.error(why);
    return file;
}

int Keys(const CommandCall& call) {
    if (call.isSet(QStringLiteral("json"))) {
        call.console().printJson(QJsonDocument(KeysJson()));
        return ExitOk;
    }
    TextTable table;
    QString section;
    for (const Setting& s : Catalogue()) {
        Section(table, &section, s);
        table.row({QString::fromLatin1(s.key), s.displayLabel(), WhereText(s), ValuesText(s)});
    }
    call.console().print(table.render());
    return ExitOk;
}

int Show(const CommandCall& call) {
    const QString path = call.operands().at(0);
    const auto file = Load(path, call.console());
    if (!file)
        return ExitTrouble;
    if (call.isSet(QStringLiteral("json"))) {
        call.console().printJson(QJsonDocument(ShowJson(path, *file)));
        return ExitOk;
    }
    QString text = file->hasHeader()
                       ? QStringLiteral("%1: configuration file\n\n").arg(path)
                       : QStringLiteral("%1: defaults file (the image only)\n\n").arg(path);
    TextTable table;
    QString section;
    for (const Setting& s : Catalogue()) {
        const SettingReading r = ReadSetting(s, *file);
        if (!r.present)
            continue;
        Section(table, &section, s);
        table.row({QString::fromLatin1(s.key), s.displayLabel(), r.display});
    }
    call.console().print(text + table.render());
    return ExitOk;
}

int Get(const CommandCall& call) {
    const QStringList keys = call.operands().mid(1);
    const auto settings = SettingsOf(keys, call.console());
    if (!settings)
        return ExitTrouble;
    const auto file = Load(call.operands().at(0), call.console());
    if (!file)
        return ExitTrouble;
    QString out;
    for (const Setting* s : *settings) {
        const SettingReading r = ReadSetting(*s, *file);
        if (!r.present) {
            call.console().error(
                QStringLiteral("%1: a defaults file has no header records").arg(s->key));
            return ExitTrouble;
        }
        out += r.text + QLatin1Char('\n');
    }
    call.console().print(out);
    return ExitOk;
}

int Set(const CommandCall& call) {
    const QString path = call.operands().at(0);
    const QStringList assignments = call.operands().mid(1);
    Console& console = call.console();
    const bool toOther = call.isSet(QStringLiteral("output"));
    const QString target = toOther ? call.value(QStringLiteral("output")) : path;
    if (path.isEmpty() || target.isEmpty())
        return call.usageError(path.isEmpty()
                                   ? QStringLiteral("FILE is an empty name")
                                   : QStringLiteral("-o needs the name of the file to write"));
    FileStamp stamp;
    auto file = Load(path, console, &stamp);
    if (!file)
        return ExitTrouble;
    const QStringList refused = Assign(*file, assignments);
    if (!refused.isEmpty()) {
        for (const QString& r : refused)
            console.error(r);
        console.error(QStringLiteral("nothing was written"));
        return ExitTrouble;
    }
    // In place, the file is replaced only while it is still the one read: what another program
    // wrote meanwhile is not overwritten unseen.
    QString why;
    if (!SaveConfigFile(target, *file, &why, target == path ? stamp : FileStamp())) {
        QString message = QStringLiteral("%1 could not be written: %2").arg(target, why);
        if (StampOf(target).known)
            message += QStringLiteral("; it was not changed");
        console.error(message);
        return ExitTrouble;
    }
    return ExitOk;
}

int Diff(const CommandCall& call) {
    const auto a = Load(call.operands().at(0), call.console());
    const auto b = Load(call.operands().at(1), call.console());
    if (!a || !b)
        return ExitTrouble;
    const std::vector<SettingChange> changes = Compare(*a, *b);
    if (call.isSet(QStringLiteral("json"))) {
        call.console().printJson(QJsonDocument(DiffJson(changes)));
    } else {
        TextTable table;
        QString section;
        for (const SettingChange& c : changes) {
            Section(table, &section, *c.setting);
            table.row(
                {QString::fromLatin1(c.setting->key), c.setting->displayLabel(), ChangeText(c)});
        }
        call.console().print(table.render());
    }
    return changes.empty() ? ExitOk : ExitDiffer;
}

} // namespace

QStringList Assign(ConfigFile& file, const QStringList& assignments) {
    QStringList refused;
    for (const QString& a : assignments) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            refused << QStringLiteral("'%1' is not KEY=VALUE").arg(Shortened(a));
            continue;
        }
        const QString key = a.left(eq);
        const Setting* s = FindSetting(key);
        if (!s) {
            refused
                << QStringLiteral("unknown key '%1'; 'orvctl keys' lists them").arg(Shortened(key));
            continue;
        }
        const QString value = a.mid(eq + 1);
        if (auto why = StoreSetting(*s, value, file)) {
            if (Shortened(value) != value)
                why->replace(value, Shortened(value));
            refused << QStringLiteral("%1: %2").arg(key, *why);
        }
    }
    return refused;
}

std::vector<SettingChange> Compare(const ConfigFile& a, const ConfigFile& b) {
    std::vector<SettingChange> changes;
    for (const Setting& s : Catalogue()) {
        SettingReading ra = ReadSetting(s, a);
        SettingReading rb = ReadSetting(s, b);
        if (!ra.present || !rb.present)
            continue;
        if (ra.codes != rb.codes || ra.text != rb.text)
            changes.push_back({&s, std::move(ra), std::move(rb)});
    }
    return changes;
}

QString ChangeText(const SettingChange& change) {
    QString before = change.before.display;
    QString after = change.after.display;
    if (before == after) { // the same text from other bytes
        auto codes = [](const SettingReading& r) {
            QStringList l;
            for (int b : r.codes)
                l << QString::number(b);
            return QStringLiteral(" [%1]").arg(l.join(QLatin1Char(' ')));
        };
        before += codes(change.before);
        after += codes(change.after);
    }
    return before + QStringLiteral(" → ") + after;
}

QJsonArray KeysJson() {
    QJsonArray rows;
    for (const Setting& s : Catalogue()) {
        QJsonObject o;
        o.insert(QStringLiteral("key"), QString::fromLatin1(s.key));
        o.insert(QStringLiteral("label"), s.displayLabel());
        o.insert(QStringLiteral("panel"), QString::fromLatin1(s.panel));
        o.insert(QStringLiteral("frame"), QString::fromLatin1(s.frame));
        o.insert(QStringLiteral("region"), RegionName(s.region));
        o.insert(QStringLiteral("kind"), KindName(s.kind));
        const bool image = s.inImage();
        o.insert(QStringLiteral("byte"), image ? QJsonValue(s.field.byte) : QJsonValue());
        o.insert(QStringLiteral("mask"), image ? QJsonValue(s.field.mask) : QJsonValue());
        o.insert(QStringLiteral("shift"), image ? QJsonValue(s.field.shift) : QJsonValue());
        o.insert(QStringLiteral("length"), image ? QJsonValue(s.length) : QJsonValue());
        QJsonArray values;
        for (const SettingValue& v : s.values) {
            values.append(QJsonObject{{QStringLiteral("code"), v.code},
                                      {QStringLiteral("caption"), QString::fromLatin1(v.caption)},
                                      {QStringLiteral("token"), QString::fromLatin1(v.token)}});
        }
        o.insert(QStringLiteral("values"), values);
        if (s.kind == SettingKind::Choice && image) {
            // Every other code the field can hold: the option that shows it, if any, and
            // whether opening the panel keeps it.
            QJsonArray others;
            for (int code = 0; code <= s.field.maxCode(); ++code) {
                if (s.valueOf(code))
                    continue;
                const SettingValue* shown = s.shownValue(code);
                bool kept = true;
                for (const ShownCode& sc : s.shown) {
                    if (sc.code == code)
                        kept = sc.kept;
                }
                others.append(QJsonObject{
                    {QStringLiteral("code"), code},
                    {QStringLiteral("shown_as"), shown ? QJsonValue(shown->code) : QJsonValue()},
                    {QStringLiteral("kept"), kept}});
            }
            o.insert(QStringLiteral("other_codes"), others);
        }
        if (s.kind == SettingKind::Character) {
            o.insert(QStringLiteral("char_rule"), s.charRule == CharRule::Identifier
                                                      ? QStringLiteral("identifier")
                                                      : QStringLiteral("any"));
        }
        rows.append(o);
    }
    return rows;
}

QJsonObject ShowJson(const QString& path, const ConfigFile& file) {
    QJsonObject header;
    QJsonArray settings;
    for (const Setting& s : Catalogue()) {
        const SettingReading r = ReadSetting(s, file);
        if (!r.present)
            continue;
        if (!s.inImage()) {
            header.insert(HeaderName(s), r.text);
            continue;
        }
        settings.append(QJsonObject{{QStringLiteral("key"), QString::fromLatin1(s.key)},
                                    {QStringLiteral("label"), s.displayLabel()},
                                    {QStringLiteral("code"), CodesJson(s, r)},
                                    {QStringLiteral("token"), r.text},
                                    {QStringLiteral("caption"), TextOrNull(r.caption)}});
    }
    return QJsonObject{{QStringLiteral("file"), ShownFileName(path)},
                       {QStringLiteral("format"),
                        file.hasHeader() ? QStringLiteral("cfg") : QStringLiteral("defaults")},
                       {QStringLiteral("header"), header},
                       {QStringLiteral("settings"), settings}};
}

QJsonArray DiffJson(const std::vector<SettingChange>& changes) {
    QJsonArray rows;
    for (const SettingChange& c : changes) {
        rows.append(QJsonObject{{QStringLiteral("key"), QString::fromLatin1(c.setting->key)},
                                {QStringLiteral("label"), c.setting->displayLabel()},
                                {QStringLiteral("old"), c.before.text},
                                {QStringLiteral("new"), c.after.text},
                                {QStringLiteral("old_code"), CodesJson(*c.setting, c.before)},
                                {QStringLiteral("new_code"), CodesJson(*c.setting, c.after)}});
    }
    return rows;
}

namespace {

Command KeysCommand() {
    return {
        QStringLiteral("keys"),
        QStringLiteral("keys [--json]"),
        QStringLiteral("List every setting: key, label, where it is stored, values."),
        QStringLiteral("Lists every setting of a configuration, grouped by the window that edits "
                       "it: its key, its label in the window, where the image stores it (byte and "
                       "mask, or bytes) and the values it takes (the tokens; the captions the "
                       "window shows are accepted too)."),
        {JsonOption},
        0,
        0,
        Keys};
}

Command ShowCommand() {
    return {
        QStringLiteral("show"),
        QStringLiteral("show FILE [--json]"),
        QStringLiteral("Show every setting of a configuration or defaults file."),
        QStringLiteral("Shows every setting of FILE (a .cfg configuration file or a defaults "
                       "file), grouped by panel, as the window shows it, and the header records "
                       "of a configuration file. A code that no option stands for is shown as the "
                       "code; one that an option shows but does not store is shown with its "
                       "code. With --json every token is the form set takes back."),
        {JsonOption},
        1,
        1,
        Show};
}

Command GetCommand() {
    return {QStringLiteral("get"),
            QStringLiteral("get FILE KEY..."),
            QStringLiteral("Print the values of some settings, one per line."),
            QStringLiteral("Prints the value of each KEY in FILE, one per line, in the form set "
                           "takes back, storing the same bits: the token of a choice, flag or "
                           "count, characters and insertion text in brace notation, header text as "
                           "it is, and code:N (code:N,N,... for insertion text) where only the "
                           "stored codes do."),
            {},
            2,
            -1,
            Get};
}

Command SetCommand() {
    return {
        QStringLiteral("set"),
        QStringLiteral("set FILE KEY=VALUE... [-o OUT]"),
        QStringLiteral("Change settings and write the file, as the window saves it."),
        QStringLiteral(
            "Sets each KEY to VALUE and writes FILE (or OUT) in FILE's format, byte for byte as "
            "the window saves it; the old file is replaced only once the new one is complete. "
            "A VALUE is a token or a caption of the setting (letter case aside); characters and "
            "insertion text use brace notation ({CR}, {STX}AB{ETX}); code:N stores a code as it "
            "is, as get prints it. An unknown key or a value the setting does not take is "
            "refused, and then nothing is written."),
        {OutputOption},
        2,
        -1,
        Set};
}

Command DiffCommand() {
    return {
        QStringLiteral("diff"),
        QStringLiteral("diff A B [--json]"),
        QStringLiteral("List the settings that differ between two files."),
        QStringLiteral("Lists every setting whose value differs between A and B, as old -> new. "
                       "Header records are compared when both are configuration files. Exit "
                       "status: 0 when the files hold the same settings, 1 when they differ, 2 "
                       "on trouble."),
        {JsonOption},
        2,
        2,
        Diff};
}

} // namespace

void AddFileCommands(CommandSet& commands) {
    for (Command& c : std::vector<Command>{KeysCommand(), ShowCommand(), GetCommand(), SetCommand(),
                                           DiffCommand()})
        commands.add(std::move(c));
}

} // namespace orv
