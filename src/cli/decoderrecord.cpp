// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "decoderrecord.h"

#include "console.h"
#include "linksession.h"
#include "linksetup.h"

#include "core/filename.h"
#include "link/exchange/configexchanges.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orv {

ConfigFile WithBlock(ConfigFile file, const UploadBlock& block) {
    ApplyUpload(file.contents.data, block);
    return file;
}

std::vector<SettingChange> BlockChanges(const UploadBlock& before, const UploadBlock& after) {
    ConfigFile base{FileFormat::Defaults, {}};
    base.contents.data = Config::BuiltInDefaults();
    return Compare(WithBlock(base, before), WithBlock(base, after));
}

QString VersionLine(const UploadBlock& block) {
    return (block.versionFirst + QLatin1Char(' ') + block.versionLast).simplified();
}

namespace {

// The first line of a sysfs attribute, or a null string.
QString Attribute(const QDir& dir, const char* name) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readLine(256)).trimmed();
}

QJsonValue OrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonValue HashOf(const std::optional<UploadBlock>& block) {
    if (!block)
        return QJsonValue::Null;
    return QString::fromLatin1(
        QCryptographicHash::hash(block->settings, QCryptographicHash::Sha256).toHex());
}

} // namespace

UsbIdentity UsbIdentityOf(const QString& device) {
    UsbIdentity id;
    const QString node = QFileInfo(device).canonicalFilePath();
    if (node.isEmpty())
        return id;
    // /sys/class/tty/NAME/device is the serial side of the adapter; its USB device is the first
    // folder above it with a vendor id.
    QString folder =
        QFileInfo(QStringLiteral("/sys/class/tty/%1/device").arg(QFileInfo(node).fileName()))
            .canonicalFilePath();
    for (int depth = 0; !folder.isEmpty() && folder != QLatin1String("/sys") && depth < 8;
         ++depth) {
        const QDir dir(folder);
        if (dir.exists(QStringLiteral("idVendor"))) {
            id.vendorId = Attribute(dir, "idVendor");
            id.productId = Attribute(dir, "idProduct");
            id.serialNumber = Attribute(dir, "serial");
            break;
        }
        folder = QFileInfo(folder).path();
    }
    return id;
}

std::shared_ptr<DecoderRecord> DecoderRecord::open(const QString& path, const QString& command,
                                                   const QString& file, QString* why) {
    const int fd = OpenRegularFileToWrite(path, O_APPEND, why);
    if (fd < 0)
        return nullptr;
    return std::shared_ptr<DecoderRecord>(new DecoderRecord(path, command, file, fd));
}

DecoderRecord::DecoderRecord(QString path, QString command, QString file, int fd)
    : path_(std::move(path)), command_(std::move(command)), file_(std::move(file)), fd_(fd) {}

DecoderRecord::~DecoderRecord() {
    ::close(fd_);
}

QString DecoderRecord::errorMessage() const {
    return QStringLiteral("the record %1 could not be written: %2").arg(path_, error_);
}

bool DecoderRecord::write(const QJsonObject& line) {
    if (!error_.isEmpty())
        return false;
    const QByteArray bytes = TerminalSafeJson(QJsonDocument(line), QJsonDocument::Compact) + '\n';
    ssize_t n = -1;
    do {
        n = ::write(fd_, bytes.constData(), size_t(bytes.size()));
    } while (n < 0 && errno == EINTR);
    if (n == bytes.size())
        return true;
    // A part of a line would be taken for a line: the record ends here either way.
    error_ =
        n < 0
            ? QString::fromLocal8Bit(std::strerror(errno))
            : QStringLiteral("only %1 of %2 bytes of a line were written").arg(n).arg(bytes.size());
    QMetaObject::invokeMethod(this, &DecoderRecord::failed, Qt::QueuedConnection);
    return false;
}

void DecoderRecord::watch(PortJob& job) {
    struct Seen {
        QString device;
        UsbIdentity usb;
        std::optional<UploadBlock> before;
        std::optional<UploadBlock> after;
        bool sent = false; // something was sent to the decoder (a download, a firmware image)
    };
    auto seen = std::make_shared<Seen>();
    seen->device = job.name().isComPort() ? job.name().resolved : job.name().device;
    seen->usb = UsbIdentityOf(seen->device);
    connect(&job, &PortJob::exchangeFinished, this,
            [seen](const Exchange* exchange, const ExchangeResult& result) {
                if (!qobject_cast<const UploadExchange*>(exchange)) {
                    seen->sent = true;
                    seen->after.reset();
                } else if (result.upload) {
                    if (!seen->sent)
                        seen->before = result.upload;
                    seen->after = result.upload;
                }
            });
    connect(&job, &PortJob::done, this, [this, seen, &job] {
        const std::optional<UploadBlock>& any = seen->after ? seen->after : seen->before;
        QJsonValue changes = QJsonValue::Null;
        if (seen->before && seen->after && seen->before->region == seen->after->region) {
            QJsonArray keys;
            for (const SettingChange& c : BlockChanges(*seen->before, *seen->after))
                keys.append(QString::fromLatin1(c.setting->key));
            changes = keys;
        }
        const PortOutcome& o = job.outcome();
        write(QJsonObject{
            {QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
            {QStringLiteral("host"), QSysInfo::machineHostName()},
            {QStringLiteral("command"), command_},
            {QStringLiteral("file"), file_.isEmpty() ? QJsonValue() : ShownFileName(file_)},
            {QStringLiteral("port"), job.name().label},
            {QStringLiteral("device"), OrNull(seen->device)},
            {QStringLiteral("usb_serial"), OrNull(seen->usb.serialNumber)},
            {QStringLiteral("usb_vendor_id"), OrNull(seen->usb.vendorId)},
            {QStringLiteral("usb_product_id"), OrNull(seen->usb.productId)},
            {QStringLiteral("version"), any ? QJsonValue(VersionLine(*any)) : QJsonValue()},
            {QStringLiteral("region"), any ? QJsonValue(RegionName(any->region)) : QJsonValue()},
            {QStringLiteral("sha256_before"), HashOf(seen->before)},
            {QStringLiteral("sha256_after"), HashOf(seen->after)},
            {QStringLiteral("changes"), changes},
            {QStringLiteral("result"), o.key},
            {QStringLiteral("message"), o.text}});
    });
}

} // namespace orv
