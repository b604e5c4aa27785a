// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingcodec.h"

#include "codepage.h"
#include "notation.h"

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

// The tokens of a setting's values: "2400, 4800, 9600, 19200".
QString Tokens(const Setting& setting) {
    QStringList tokens;
    for (const SettingValue& v : setting.values)
        tokens << QString::fromLatin1(v.token);
    return tokens.join(QStringLiteral(", "));
}

QString NotAValue(const Setting& setting, const QString& text) {
    QString allowed = setting.kind == SettingKind::Count
                          ? QStringLiteral("a count from 0 to %1").arg(setting.field.maxCode())
                          : QStringLiteral("one of ") + Tokens(setting);
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

const QLatin1String OneCharacter("give one character, or a control character's name in braces "
                                 "such as {CR}");

// The code of a single character given as text: one character with a single-byte code, or a
// control character's whole {NAME}; nothing for any other text.
std::optional<int> CodeOfCharacter(const QString& text) {
    if (text.size() == 1) {
        const auto b = ByteOfChar(text[0]);
        return b ? std::optional<int>(*b) : std::nullopt;
    }
    if (!BytesOfText(text))
        return std::nullopt;
    // A whole {NAME} parses to one control byte; anything else to more than one byte or to a
    // "{" that is a character of its own.
    const std::vector<quint8> parsed = ParseInsertionText(text, 2);
    if (parsed[0] < ControlCount && parsed[1] == EmptyCharCode)
        return parsed[0];
    return std::nullopt;
}

// The code a single-character setting stores for a text, or the reason it stores none.
std::optional<int> CharacterCode(const Setting& setting, const QString& text, QString* why) {
    if (text.isEmpty()) {
        if (setting.charRule == CharRule::Identifier)
            return 0; // no identifier character
        *why = OneCharacter;
        return std::nullopt;
    }
    const std::optional<int> code = CodeOfCharacter(text);
    if (!code) {
        if (text.size() == 1)
            *why = QStringLiteral("\"%1\" has no single-byte code").arg(text);
        else
            *why = QStringLiteral("\"%1\" is not one character; ").arg(text) + OneCharacter;
        return std::nullopt;
    }
    if (!HoldsAsCharacter(setting.charRule, *code)) {
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
        r.text = HoldsAsCharacter(setting.charRule, code) ? *r.caption : CodeForm(r.codes);
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

QString ValuesText(const Setting& s) {
    switch (s.kind) {
    case SettingKind::Count:
        return QStringLiteral("0..%1").arg(s.field.maxCode());
    case SettingKind::Character:
        return s.charRule == CharRule::Identifier
                   ? QStringLiteral("one printable character; empty: none")
                   : QStringLiteral("one character; {NAME} for a control character");
    case SettingKind::InsertionText:
        return QStringLiteral("up to %1 characters, brace notation").arg(s.length);
    case SettingKind::HeaderText:
        return QStringLiteral("text");
    case SettingKind::Reserved:
        return QStringLiteral("(kept as they are; code:N sets them)");
    case SettingKind::Choice:
    case SettingKind::Flag:
        break;
    }
    return Tokens(s);
}

bool HoldsAsCharacter(CharRule rule, int code) {
    return rule != CharRule::Identifier || code >= ControlCount;
}

SingleCharOutcome ApplySingleCharRule(CharRule rule, const QString& text) {
    const bool identifier = rule == CharRule::Identifier;
    SingleCharOutcome out;
    if (text.isEmpty()) {
        if (identifier)
            out.store = 0;
        return out;
    }
    if (text.size() > 1) {
        out.tooManyMessage = identifier;
        out.replaceBy = identifier ? QString() : text.left(1);
        return out;
    }
    // One character. One without a single-byte code cannot be stored: the byte keeps its value
    // (the boxes do not let such characters in).
    const auto b = ByteOfChar(text[0]);
    if (!b)
        return out;
    out.store = HoldsAsCharacter(rule, *b) ? *b : quint8(0);
    return out;
}

QString SingleCharText(CharRule rule, quint8 byte) {
    if (rule == CharRule::Identifier && byte == 0)
        return QString();
    return QString(CharOfByte(byte));
}

bool HoldsCount(const Setting& setting, int count) {
    return count >= 0 && count <= setting.field.maxCode();
}

int CountOfText(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    int n = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        if (n <= 255) // large enough to be refused, small enough not to overflow
            n = n * 10 + (text[i].unicode() - '0');
    }
    return n;
}

CountTextState CheckCountText(const Setting& setting, QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const QStringView digits = text.mid(i);
    if (digits.isEmpty())
        return CountTextState::Incomplete;
    if (digits.size() > 2)
        return CountTextState::Refused;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return CountTextState::Refused;
    }
    return HoldsCount(setting, CountOfText(digits)) ? CountTextState::Count
                                                    : CountTextState::Refused;
}

} // namespace orv
