// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cfgformat.h"

#include "codepage.h"
#include "wholefile.h"

#include <QCoreApplication>
#include <QList>

#include <charconv>
#include <climits>

namespace orv {

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");

void AppendText(QByteArray& out, const QByteArray& text) {
    out += text;
    out += LineEnd;
}

void AppendNumber(QByteArray& out, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out += ' ';
    out.append(digits, end - digits);
    out += ' ';
    out += LineEnd;
}

// Room for the records of a file with no text beyond its signature: numbers of up to three
// digits.
constexpr qsizetype NumberRecordsSize(int count) {
    return count * qsizetype(sizeof " 255 \r\n" - 1);
}

// Reads a file line by line without copying it: a line ends at LF, and the CRs before the LF
// belong to the line end. A last line without a line end still counts.
class Lines {
public:
    explicit Lines(QByteArrayView bytes) : rest_(bytes) {}

    // The next line, or nothing at the end of the file.
    std::optional<QByteArrayView> next() {
        if (rest_.isEmpty())
            return std::nullopt;
        const qsizetype lf = rest_.indexOf('\n');
        QByteArrayView line = lf < 0 ? rest_ : rest_.first(lf);
        rest_ = lf < 0 ? QByteArrayView() : rest_.sliced(lf + 1);
        while (line.endsWith('\r'))
            line.chop(1);
        return line;
    }

private:
    QByteArrayView rest_;
};

// A header string as read from its line: a CR is a line end, never text.
QString HeaderOfLine(QByteArrayView line) {
    return TextOfBytes(line.toByteArray().replace('\r', QByteArray()));
}

// The next `count` number records of the file (fewer where it ends first): each line holds one
// or more records separated by commas. What follows them is not read.
QList<QByteArrayView> NumberRecords(Lines& lines, qsizetype count) {
    QList<QByteArrayView> records;
    records.reserve(count);
    while (records.size() < count) {
        const auto line = lines.next();
        if (!line)
            break;
        QByteArrayView rest = *line;
        for (;;) {
            const qsizetype comma = rest.indexOf(',');
            records.append(comma < 0 ? rest : rest.first(comma));
            if (comma < 0 || records.size() == count)
                break;
            rest = rest.sliced(comma + 1);
        }
    }
    return records;
}

// A decimal integer with optional blanks around it and an optional sign.
std::optional<int> ParseInteger(QByteArrayView record) {
    const QByteArrayView t = record.trimmed();
    if (t.isEmpty() || t.size() > 11)
        return std::nullopt;
    qsizetype i = 0;
    if (t[0] == '-' || t[0] == '+')
        ++i;
    if (i == t.size())
        return std::nullopt;
    long long v = 0; // at most 11 characters: no overflow
    for (qsizetype k = i; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9')
            return std::nullopt;
        v = v * 10 + (t[k] - '0');
    }
    if (t[0] == '-')
        v = -v;
    if (v < INT_MIN || v > INT_MAX)
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<QByteArray> HeaderBytes(const QString& text, const char* name, QString* why) {
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        if (why)
            *why = QStringLiteral("the %1 contains a line break").arg(QLatin1String(name));
        return std::nullopt;
    }
    auto bytes = BytesOfText(text);
    if (!bytes && why)
        *why = QStringLiteral("the %1 contains a character that cannot be stored in the file")
                   .arg(QLatin1String(name));
    return bytes;
}

} // namespace

CfgContents ContentsOf(const Config& config) {
    CfgContents c;
    c.DeviceName = config.DeviceName;
    c.UserName = config.UserName;
    c.SetupDate = config.SetupDate;
    c.Description = config.Description;
    c.ComPort = config.ComPort;
    c.LinkMode = config.LinkMode;
    c.data = config.CfgData;
    return c;
}

void ApplyContents(Config& config, const CfgContents& c) {
    config.DeviceName = c.DeviceName;
    config.UserName = c.UserName;
    config.SetupDate = c.SetupDate;
    config.Description = c.Description;
    config.ComPort = c.ComPort;
    config.LinkMode = c.LinkMode;
    config.CfgData = c.data;
}

std::optional<QByteArray> WriteCfgFile(const CfgContents& contents, QString* why) {
    const struct {
        const QString& text;
        const char* name;
    } headers[] = {{contents.DeviceName, "device name"},
                   {contents.UserName, "user's name"},
                   {contents.SetupDate, "building date"},
                   {contents.Description, "description"}};
    QByteArray out;
    out.reserve(NumberRecordsSize(CfgRecordCount) + contents.DeviceName.size() +
                contents.UserName.size() + contents.SetupDate.size() + contents.Description.size());
    AppendText(out, CfgSignature);
    for (const auto& h : headers) {
        const auto bytes = HeaderBytes(h.text, h.name, why);
        if (!bytes)
            return std::nullopt;
        AppendText(out, *bytes);
    }
    AppendNumber(out, contents.ComPort);
    AppendNumber(out, contents.LinkMode);
    for (quint8 b : contents.data)
        AppendNumber(out, b);
    return out;
}

namespace {

// Stores number record `r` (after the header: the port, the link mode, then the image bytes)
// into `c`; why not, when the value does not fit its field.
QString StoreNumber(CfgContents& c, int r, qint64 value) {
    if (r == 0) {
        if (value < 1 || value > 6)
            return QCoreApplication::translate("orv::CfgFormat", "the port number %1 is not 1 to 6")
                .arg(value);
        c.ComPort = static_cast<qint16>(value);
    } else if (r == 1) {
        if (value < 0 || value > 1)
            return QCoreApplication::translate("orv::CfgFormat", "the link mode %1 is not 0 or 1")
                .arg(value);
        c.LinkMode = static_cast<qint16>(value);
    } else {
        if (value < 0 || value > 255)
            return QCoreApplication::translate("orv::CfgFormat",
                                               "image byte %1 holds %2, which is not 0 to 255")
                .arg(r - 2)
                .arg(value);
        c.data[r - 2] = static_cast<quint8>(value);
    }
    return QString();
}

} // namespace

CfgParseResult ParseCfgFile(const QByteArray& bytes) {
    CfgParseResult result;
    Lines lines(bytes);
    const auto signature = lines.next();
    if (!signature || *signature != CfgSignature) {
        result.status = CfgParseStatus::WrongSignature;
        return result;
    }
    auto damaged = [&result](const QString& reason) {
        result.status = CfgParseStatus::Damaged;
        result.reason = reason;
        return result;
    };
    CfgContents& c = result.contents;
    for (QString* header : {&c.DeviceName, &c.UserName, &c.SetupDate, &c.Description}) {
        const auto line = lines.next();
        if (!line)
            return damaged(QCoreApplication::translate(
                "orv::CfgFormat", "the file ends before its header is complete"));
        *header = HeaderOfLine(*line);
    }

    constexpr int NumberCount = CfgRecordCount - 5;
    const QList<QByteArrayView> numbers = NumberRecords(lines, NumberCount);
    if (numbers.size() < NumberCount) {
        return damaged(
            QCoreApplication::translate("orv::CfgFormat", "the file has %1 records instead of %2")
                .arg(5 + numbers.size())
                .arg(CfgRecordCount));
    }
    for (int r = 0; r < NumberCount; ++r) {
        const int record = 6 + r;
        const auto value = ParseInteger(numbers[r]);
        if (!value) {
            return damaged(QStringLiteral("record %1 (\"%2\") is not a whole number")
                               .arg(record)
                               .arg(TextOfBytes(numbers[r].trimmed().toByteArray().left(20))));
        }
        if (const QString wrong = StoreNumber(c, r, *value); !wrong.isEmpty())
            return damaged(wrong);
    }
    result.status = CfgParseStatus::Ok;
    return result;
}

QByteArray WriteDefaultsFile(const Image& image) {
    QByteArray out;
    out.reserve(NumberRecordsSize(DefaultsRecordCount));
    AppendText(out, DefaultsSignature);
    for (quint8 b : image)
        AppendNumber(out, b);
    return out;
}

std::optional<Image> ParseDefaultsFile(const QByteArray& bytes) {
    Lines lines(bytes);
    const auto signature = lines.next();
    if (!signature || *signature != DefaultsSignature)
        return std::nullopt;
    const QList<QByteArrayView> numbers = NumberRecords(lines, ImageSize);
    if (numbers.size() < ImageSize)
        return std::nullopt;
    Image image{};
    for (int i = 0; i < ImageSize; ++i) {
        const auto value = ParseInteger(numbers[i]);
        if (!value || *value < 0 || *value > 255)
            return std::nullopt;
        image[i] = static_cast<quint8>(*value);
    }
    return image;
}

AnyFileParseResult ParseAnyFile(const QByteArray& bytes) {
    AnyFileParseResult result;
    Lines lines(bytes);
    const auto signature = lines.next();
    if (signature && *signature == DefaultsSignature) {
        result.format = FileFormat::Defaults;
        if (const auto image = ParseDefaultsFile(bytes)) {
            result.status = CfgParseStatus::Ok;
            result.contents.data = *image;
        } else {
            result.reason = QStringLiteral("a defaults file holds 85 numbers 0 to 255 after its "
                                           "first line, and this one does not");
        }
        return result;
    }
    CfgParseResult cfg = ParseCfgFile(bytes);
    result.status = cfg.status;
    result.reason = cfg.reason;
    result.contents = cfg.contents;
    return result;
}

std::optional<QByteArray> WriteAnyFile(FileFormat format, const CfgContents& contents,
                                       QString* why) {
    if (format == FileFormat::Defaults)
        return WriteDefaultsFile(contents.data);
    return WriteCfgFile(contents, why);
}

std::optional<ConfigFile> LoadConfigFile(const QString& path, QString* why, FileStamp* stamp) {
    // Either format, so the larger limit of the two.
    const ReadResult file = ReadWholeFile(path, MaxConfigFileSize);
    if (file.status != ReadStatus::Ok) {
        *why = QStringLiteral("%1 could not be read: %2").arg(path, file.why);
        return std::nullopt;
    }
    if (stamp)
        *stamp = file.stamp;
    AnyFileParseResult parsed = ParseAnyFile(file.bytes);
    switch (parsed.status) {
    case CfgParseStatus::Ok:
        return ConfigFile{parsed.format, std::move(parsed.contents)};
    case CfgParseStatus::WrongSignature:
        *why = QStringLiteral("%1 is neither a configuration file nor a defaults file").arg(path);
        break;
    case CfgParseStatus::Damaged:
        *why = QStringLiteral("%1 is damaged: %2").arg(path, parsed.reason);
        break;
    }
    return std::nullopt;
}

bool SaveConfigFile(const QString& path, const ConfigFile& file, QString* why,
                    const FileStamp& expected) {
    const auto bytes = WriteAnyFile(file.format, file.contents, why);
    if (!bytes)
        return false;
    const WriteResult written = WriteWholeFile(path, *bytes, expected);
    if (!written.ok())
        *why = written.why;
    return written.ok();
}

} // namespace orv
