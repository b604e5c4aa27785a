// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config.h"
#include "wholefile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orv {

// The two file formats: configuration files (*.cfg, 92 records) and the defaults file
// (86 records). Both are 8-bit text, one record per line, every line ended by CR LF. A text
// record is the text as it stands; a number record is the decimal number between two blanks.
//
// Line ends, in reading and in writing: a line ends at LF, and the CRs just before the LF belong
// to the line end, so CR LF, LF and CR CR LF (a file converted to CR LF twice) all end a line.
// CR and LF are never part of a header string: the reader drops a stray CR inside a header line,
// and the writer refuses a header string that holds either. So every file that opens can be
// saved again, and every file that is saved opens with the same header strings.

inline const char* const CfgSignature = "tova";
inline const char* const DefaultsSignature = "Orv_Defaults";
constexpr int CfgRecordCount = 92;
constexpr int DefaultsRecordCount = 86;

// The largest files read. A configuration file is a few hundred bytes plus its four header
// strings, and a header box holds up to 32,767 characters, so the largest file the program
// itself writes is about 132 KB: 1 MiB leaves room for that and for any extra records. A defaults
// file has no text but its signature and is about 450 bytes: 64 KiB is ample.
constexpr qint64 MaxConfigFileSize = 1024 * 1024;
constexpr qint64 MaxDefaultsFileSize = 64 * 1024;

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

// Reads a configuration file. Text records are whole lines (without CRs, see above). Number records
// are decimal integers with blanks around them, one per line or several separated by commas. The
// file is refused as damaged when it has fewer than 92 records, a number is not a decimal integer
// or does not fit its field (bytes 0..255, ComPort 1..6, LinkMode 0..1).
CfgParseResult ParseCfgFile(const QByteArray& bytes);

QByteArray WriteDefaultsFile(const Image& image);

// The image of a defaults file, or nothing when it is not a usable defaults file.
std::optional<Image> ParseDefaultsFile(const QByteArray& bytes);

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

// A configuration read from a file of either format.
struct ConfigFile {
    FileFormat format = FileFormat::Cfg;
    CfgContents contents; // of a defaults file only the image counts
    bool hasHeader() const { return format == FileFormat::Cfg; }
};

// Reads a configuration file or a defaults file (ReadWholeFile, ParseAnyFile); nothing, with the
// reason as a whole message naming the file, when it cannot. `stamp`, when given, gets the file
// as it was read.
std::optional<ConfigFile> LoadConfigFile(const QString& path, QString* why,
                                         FileStamp* stamp = nullptr);
// Writes a configuration in its file's format, byte for byte as the window saves it, through
// the checked atomic save (WriteWholeFile): on failure the file at `path` is as it was. With a
// known `expected` stamp, a file that another program has changed since is not overwritten.
bool SaveConfigFile(const QString& path, const ConfigFile& file, QString* why,
                    const FileStamp& expected = {});

} // namespace orv
