#pragma once

#include "config.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orv {

// The two file formats: configuration files (*.cfg, 92 records) and the defaults file
// (86 records). Both are 8-bit text, one record per line, every line ended by CR LF. A text
// record is the text as it stands; a number record is the decimal number between two blanks.

inline const char* const CfgSignature = "tova";
inline const char* const DefaultsSignature = "Orv_Defaults";
constexpr int CfgRecordCount = 92;
constexpr int DefaultsRecordCount = 86;

// What a configuration file holds.
struct CfgContents {
    QString DeviceName;
    QString UserName;
    QString SetupDate;
    QString Description;
    qint16 ComPort = 1;
    qint16 LinkMode = 1;
    Image data{};
};

CfgContents ContentsOf(const Config& config);
// Puts a file's contents into the configuration: header strings, link settings and CfgData.
void ApplyContents(Config& config, const CfgContents& contents);

// The bytes of a configuration file, or nothing with a reason in *why when a header string
// cannot be stored (a line break, or a character without a single-byte code).
std::optional<QByteArray> WriteCfgFile(const CfgContents& contents, QString* why = nullptr);

enum class CfgParseStatus { Ok, WrongSignature, Damaged };

struct CfgParseResult {
    CfgParseStatus status = CfgParseStatus::Damaged;
    QString reason; // for Damaged: what is wrong, for the user
    CfgContents contents;
};

// Reads a configuration file. Text records are whole lines. Number records are decimal integers
// with blanks around them, one per line or several separated by commas. The file is refused as
// damaged when it has fewer than 92 records, a number is not a decimal integer or does not fit
// its field (bytes 0..255, ComPort 1..6, LinkMode 0..1).
CfgParseResult ParseCfgFile(const QByteArray& bytes);

QByteArray WriteDefaultsFile(const Image& image);

// The image of a defaults file, or nothing when it is not a usable defaults file.
std::optional<Image> ParseDefaultsFile(const QByteArray& bytes);

// Configuration and defaults files are a few hundred bytes; anything much larger is not one.
constexpr qint64 MaxConfigFileSize = 1 << 20;

// The two formats, told apart by their signature.
enum class FileFormat { Cfg, Defaults };

struct AnyFileParseResult {
    CfgParseStatus status = CfgParseStatus::Damaged; // WrongSignature: neither signature
    QString reason;                                  // for Damaged: what is wrong, for the user
    FileFormat format = FileFormat::Cfg;
    CfgContents contents; // of a defaults file only the image
};

// Reads a configuration file or a defaults file, whichever its signature says it is.
AnyFileParseResult ParseAnyFile(const QByteArray& bytes);

// The bytes of a file of either format; a defaults file holds only the image.
std::optional<QByteArray> WriteAnyFile(FileFormat format, const CfgContents& contents,
                                       QString* why = nullptr);

} // namespace orv
