// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "configpicks.h"

namespace orv::test {

const char* const ControlNames[ControlCount] = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

const SettingField& FieldOf(const Setting& s) {
    for (const SettingField& f : SettingFields()) {
        if (qstrcmp(f.key, s.key) == 0)
            return f;
    }
    qFatal("%s is not in the table", s.key);
}

bool IsIdentifier(const SettingField& f) {
    return QByteArray(f.key).startsWith("bar.misc.code_id.") && f.mask == 0xFF;
}

QString RandomText(QRandomGenerator& rng, int maxLength) {
    QString text;
    const int n = rng.bounded(maxLength + 1);
    for (int i = 0; i < n; ++i) {
        int c = 0;
        do
            c = 32 + rng.bounded(224);
        while (c == 127);
        text += QChar(c);
    }
    return text;
}

ConfigFile RandomConfig(QRandomGenerator& rng, FileFormat format) {
    ConfigFile f;
    f.format = format;
    for (quint8& b : f.contents.data)
        b = static_cast<quint8>(rng.bounded(256));
    if (format == FileFormat::Cfg) {
        f.contents.DeviceName = RandomText(rng, 20);
        f.contents.UserName = RandomText(rng, 20);
        f.contents.SetupDate = RandomText(rng, 10);
        f.contents.Description = RandomText(rng, 40);
        f.contents.ComPort = static_cast<qint16>(1 + rng.bounded(6));
        f.contents.LinkMode = static_cast<qint16>(rng.bounded(2));
    }
    return f;
}

QByteArray FileBytes(const ConfigFile& f) {
    QByteArray out;
    auto text = [&out](const QString& t) {
        out += t.toLatin1() + "\r\n";
    };
    auto number = [&out](int n) {
        out += ' ' + QByteArray::number(n) + " \r\n";
    };
    if (f.format == FileFormat::Cfg) {
        text(QStringLiteral("tova"));
        text(f.contents.DeviceName);
        text(f.contents.UserName);
        text(f.contents.SetupDate);
        text(f.contents.Description);
        number(f.contents.ComPort);
        number(f.contents.LinkMode);
    } else {
        text(QStringLiteral("Orv_Defaults"));
    }
    for (quint8 b : f.contents.data)
        number(b);
    return out;
}

Pick PickValue(const Setting& s, const SettingField& f, QRandomGenerator& rng) {
    Pick p;
    auto someCase = [&rng](QString t) {
        return rng.bounded(2) ? t.toLower() : t;
    };
    if (!s.values.empty()) {
        const SettingValue& v = s.values[rng.bounded(static_cast<int>(s.values.size()))];
        p.typed = rng.bounded(2) ? QString::fromLatin1(v.token)
                                 : someCase(QString::fromLatin1(v.caption));
        p.readsBack = QString::fromLatin1(v.token);
        p.bytes = {v.code};
    } else if (QByteArray(f.kind) == "single_character") {
        const bool identifier = IsIdentifier(f);
        int code =
            identifier ? (rng.bounded(5) == 0 ? 0 : 32 + rng.bounded(224)) : rng.bounded(256);
        if (code < 32) {
            p.readsBack = identifier ? QString() : QStringLiteral("{%1}").arg(ControlNames[code]);
            p.typed = someCase(p.readsBack);
        } else {
            p.readsBack = p.typed = QString(QChar(code));
        }
        p.bytes = {code};
    } else if (QByteArray(f.kind) == "insertion_text") {
        const int k = rng.bounded(f.length + 1);
        for (int i = 0; i < k; ++i) {
            int code = 0;
            if (rng.bounded(3) == 0) {
                code = rng.bounded(32);
                QString name = QString::fromLatin1(ControlNames[code]);
                p.readsBack += QStringLiteral("{%1}").arg(name);
                if (name.size() == 2 && rng.bounded(2))
                    name += QLatin1Char(' ');
                p.typed += QStringLiteral("{%1}").arg(someCase(name));
            } else {
                do
                    code = 32 + rng.bounded(223);
                while (code == '{');
                p.readsBack += QChar(code);
                p.typed += QChar(code);
            }
            p.bytes.push_back(code);
        }
        p.bytes.resize(f.length, 255);
    } else {
        p.header = p.typed = p.readsBack = RandomText(rng, 30);
    }
    return p;
}

} // namespace orv::test
