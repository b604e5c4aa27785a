// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingtext.h"

#include "core/codepage.h"
#include "notation/notation.h"

#include <QStringList>

#include <algorithm>
#include <span>

namespace orv {

namespace {

QString CfgContents::*HeaderString(HeaderItem item) {
    switch (item) {
    case HeaderItem::DeviceName:
        return &CfgContents::DeviceName;
    case HeaderItem::UserName:
        return &CfgContents::UserName;
    case HeaderItem::SetupDate:
        return &CfgContents::SetupDate;
    case HeaderItem::Description:
        return &CfgContents::Description;
    default:
        break;
    }
    return nullptr;
}

qint16 CfgContents::*HeaderNumber(HeaderItem item) {
    return item == HeaderItem::LinkMode ? &CfgContents::LinkMode : &CfgContents::ComPort;
}

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The code form: "code:" and the stored codes, in decimal, separated by commas. It stores codes
// as they are, so it is what get prints where no other text stores the same bits.
const QLatin1String CodePrefix("code:");

bool IsCodeForm(const QString& text) {
    return text.startsWith(CodePrefix, Qt::CaseInsensitive);
}

template <typename Codes> QString CodeForm(const Codes& codes) {
    QStringList numbers;
    for (int c : codes)
        numbers << QString::number(c);
    return CodePrefix + numbers.join(QLatin1Char(','));
}

// Whether a setting can hold a code: a bit field the codes whose bits lie inside its mask, a
// character or a byte of an insertion group 0..255, a header choice the codes of its options.
bool Holds(const Setting& setting, int code) {
    if (!setting.inImage())
        return setting.valueOf(code) != nullptr;
    return code >= 0 && code <= setting.field.maxCode() &&
           ((code << setting.field.shift) & ~setting.field.mask) == 0;
}

// The reading of a stored code of a choice, flag, count or reserved bits.
SettingReading ReadCode(const Setting& setting, int code) {
    SettingReading r;
    r.codes = {code};
    const SettingValue* own = setting.valueOf(code);
    r.text = own ? QString::fromLatin1(own->token) : CodeForm(r.codes);
    if (const SettingValue* v = setting.shownValue(code)) {
        r.caption = QString::fromLatin1(v->caption);
        r.display = r.caption->trimmed();
        if (v != own)
            r.display += QStringLiteral(" (stored as %1)").arg(code);
    } else {
        r.display = setting.kind == SettingKind::Reserved
                        ? QString::number(code)
                        : QStringLiteral("%1 (no option)").arg(code);
    }
    return r;
}

QString NotAValue(const Setting& setting, const QString& text) {
    QStringList tokens;
    for (const SettingValue& v : setting.values)
        tokens << QString::fromLatin1(v.token);
    QString allowed = setting.kind == SettingKind::Count
                          ? QStringLiteral("a count from 0 to 15")
                          : QStringLiteral("one of ") + tokens.join(QStringLiteral(", "));
    if (setting.inImage()) {
        for (int code = 0; code <= setting.field.maxCode(); ++code) {
            if (!setting.valueOf(code)) {
                allowed += QStringLiteral(", or code:N to keep a stored code N as it is");
                break;
            }
        }
    }
    return QStringLiteral("\"%1\" is not a value of %2; give %3")
        .arg(text, setting.displayLabel(), allowed);
}

// What the code form of a setting takes, for a message.
QString CodeFormText(const Setting& setting) {
    if (setting.kind == SettingKind::InsertionText)
        return QStringLiteral("code: and up to %1 codes 0..255 separated by commas")
            .arg(setting.length);
    if (!setting.inImage()) {
        QStringList codes;
        for (const SettingValue& v : setting.values)
            codes << QString::number(v.code);
        return QStringLiteral("code:N with N one of ") + codes.join(QStringLiteral(", "));
    }
    const int most = setting.field.maxCode();
    const bool gaps = (most & (most + 1)) != 0; // a mask with gaps (reserved bits)
    return QStringLiteral("code:N with N from 0 to %1").arg(most) +
           (gaps ? QStringLiteral(" whose bits lie in the mask") : QString());
}

// Stores a value in the code form. An insertion group takes up to its length of codes, and
// the bytes after them are EmptyCharCode; every other setting takes one code.
std::optional<QString> StoreCodes(const Setting& setting, const QString& text, CfgContents& c) {
    const bool group = setting.kind == SettingKind::InsertionText;
    const int most = group ? setting.length : 1;
    const QStringList numbers = text.mid(CodePrefix.size()).split(QLatin1Char(','));
    std::vector<int> codes;
    for (const QString& n : numbers) {
        bool digits = !n.isEmpty() && n.size() <= 3;
        for (QChar d : n)
            digits = digits && d >= QLatin1Char('0') && d <= QLatin1Char('9');
        const int code = digits ? n.toInt() : -1;
        if (!Holds(setting, code) || numbers.size() > most) {
            return QStringLiteral("\"%1\" is not a code form that %2 takes; give %3")
                .arg(text, setting.displayLabel(), CodeFormText(setting));
        }
        codes.push_back(code);
    }
    if (group) {
        codes.resize(setting.length, EmptyCharCode);
        std::copy(codes.begin(), codes.end(), c.data.begin() + setting.field.byte);
    } else if (setting.inImage()) {
        setting.field.storeIn(c.data, codes.front());
    } else {
        c.*HeaderNumber(setting.header) = static_cast<qint16>(codes.front());
    }
    return std::nullopt;
}

// The code of a single character: one character, or a control character's {NAME}.
std::optional<int> CharacterCode(const Setting& setting, const QString& text, QString* why) {
    if (text.isEmpty()) {
        if (setting.charRule == CharRule::Identifier)
            return 0; // no identifier character
        *why = QStringLiteral("give one character, or a control character's name in braces "
                              "such as {CR}");
        return std::nullopt;
    }
    std::optional<int> code;
    if (text.size() == 1) {
        if (const auto b = ByteOfChar(text[0]))
            code = *b;
        else
            *why = QStringLiteral("\"%1\" has no single-byte code").arg(text);
    } else if (BytesOfText(text)) {
        // A whole {NAME} parses to one control byte; anything else to more than one byte or
        // to a "{" that is a character of its own.
        const std::vector<quint8> parsed = ParseInsertionText(text, 2);
        if (parsed[0] < ControlCount && parsed[1] == EmptyCharCode)
            code = parsed[0];
    }
    if (!code) {
        if (why->isEmpty())
            *why = QStringLiteral("\"%1\" is not one character; give one character, or a control "
                                  "character's name in braces such as {CR}")
                       .arg(text);
        return std::nullopt;
    }
    if (setting.charRule == CharRule::Identifier && *code < 32) {
        *why = QStringLiteral("a code ID character must be printable (the window stores none for "
                              "a control character); give an empty value for none");
        return std::nullopt;
    }
    return code;
}

// The bytes of an insertion group for a text in brace notation.
std::optional<std::vector<quint8>> InsertionBytes(const Setting& setting, const QString& text,
                                                  QString* why) {
    if (!BytesOfText(text)) {
        *why = QStringLiteral("\"%1\" holds a character that has no single-byte code").arg(text);
        return std::nullopt;
    }
    if (text.contains(CharOfByte(EmptyCharCode))) {
        *why = QStringLiteral("the character %1 (code 255) marks the end of the characters and "
                              "cannot be inserted")
                   .arg(CharOfByte(EmptyCharCode));
        return std::nullopt;
    }
    // Every character takes at most one byte, so this holds all of them.
    const std::vector<quint8> all = ParseInsertionText(text, static_cast<int>(text.size()) + 1);
    const auto count = std::find(all.begin(), all.end(), EmptyCharCode) - all.begin();
    if (count > setting.length) {
        *why = QStringLiteral("\"%1\" is %2 characters long; %3 holds at most %4")
                   .arg(text)
                   .arg(count)
                   .arg(setting.displayLabel())
                   .arg(setting.length);
        return std::nullopt;
    }
    return ParseInsertionText(text, setting.length);
}

} // namespace

QString CharacterText(quint8 code) {
    if (code < ControlCount)
        return QLatin1Char('{') + ControlName(code) + QLatin1Char('}');
    return QString(CharOfByte(code));
}

SettingReading ReadSetting(const Setting& setting, const ConfigFile& file) {
    const CfgContents& c = file.contents;
    if (!setting.inImage() && !file.hasHeader()) {
        SettingReading r;
        r.present = false;
        return r;
    }
    switch (setting.kind) {
    case SettingKind::HeaderText: {
        SettingReading r;
        r.text = c.*HeaderString(setting.header);
        r.caption = r.text;
        r.display = Quoted(r.text);
        return r;
    }
    case SettingKind::Character: {
        SettingReading r;
        const quint8 code = c.data[setting.field.byte];
        r.codes = {code};
        const bool identifier = setting.charRule == CharRule::Identifier;
        if (identifier && code == 0) {
            r.text = QString();
            r.caption = QString();
            r.display = QStringLiteral("(none)");
            return r;
        }
        r.caption = CharacterText(code);
        // A code ID takes no control character from its box; a stored one reads as its code.
        r.text = identifier && code < ControlCount ? CodeForm(r.codes) : *r.caption;
        r.display = Quoted(*r.caption);
        return r;
    }
    case SettingKind::InsertionText: {
        SettingReading r;
        const auto group = std::span(c.data).subspan(setting.field.byte, setting.length);
        r.codes.assign(group.begin(), group.end());
        r.caption = RenderInsertionGroup(group);
        r.display = Quoted(*r.caption);
        // The text shown stores the same bytes unless the group holds what no text stores:
        // bytes after the first EmptyCharCode, the characters of a {NAME} (shown as the name,
        // which stores the control character), or a text that reads as the code form.
        const bool same = !IsCodeForm(*r.caption) &&
                          std::ranges::equal(ParseInsertionText(*r.caption, setting.length), group);
        r.text = same ? *r.caption : CodeForm(group);
        if (!same)
            r.display += QStringLiteral(" (stored as %1)").arg(r.text.mid(CodePrefix.size()));
        return r;
    }
    default:
        break;
    }
    const int code =
        setting.inImage() ? setting.field.codeIn(c.data) : c.*HeaderNumber(setting.header);
    return ReadCode(setting, code);
}

std::optional<QString> StoreSetting(const Setting& setting, const QString& text, ConfigFile& file) {
    CfgContents& c = file.contents;
    if (!setting.inImage() && !file.hasHeader())
        return QStringLiteral("a defaults file has no header records");
    if (setting.kind != SettingKind::HeaderText && IsCodeForm(text))
        return StoreCodes(setting, text, c);
    QString why;
    switch (setting.kind) {
    case SettingKind::Reserved:
        return QStringLiteral("no panel sets these bits; they are kept as they are, or stored "
                              "from the code form get prints (code:N)");
    case SettingKind::HeaderText:
        // Whether the file can hold the text (no line break, single-byte characters only) is
        // the file writer's to say.
        c.*HeaderString(setting.header) = text;
        return std::nullopt;
    case SettingKind::Character: {
        const auto code = CharacterCode(setting, text, &why);
        if (!code)
            return why;
        c.data[setting.field.byte] = static_cast<quint8>(*code);
        return std::nullopt;
    }
    case SettingKind::InsertionText: {
        const auto bytes = InsertionBytes(setting, text, &why);
        if (!bytes)
            return why;
        std::copy(bytes->begin(), bytes->end(), c.data.begin() + setting.field.byte);
        return std::nullopt;
    }
    case SettingKind::Choice:
    case SettingKind::Flag:
    case SettingKind::Count:
        break;
    }
    const SettingValue* v = setting.valueNamed(text);
    if (!v)
        return NotAValue(setting, text);
    if (setting.inImage())
        setting.field.storeIn(c.data, v->code);
    else
        c.*HeaderNumber(setting.header) = static_cast<qint16>(v->code);
    return std::nullopt;
}

} // namespace orv
