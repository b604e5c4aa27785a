// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutbox.h"

#include "core/dialogs.h"
#include "ui/programtitle.h"

#include "orvproject.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#endif

namespace orv {

namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

#ifdef Q_OS_WIN
// GetKeyValue: a string value under HKEY_LOCAL_MACHINE, or nothing.
bool GetKeyValue(const QString& key, const QString& value, QString* out) {
    QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
    const QVariant v = settings.value(value);
    *out = v.isValid() ? v.toString() : QString();
    return v.isValid();
}
#endif

} // namespace

AboutBox::AboutBox(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About This Software"));
    auto* layout = new QVBoxLayout(this);
    QLabel* title =
        NamedLabel("Label1",
                   tr("%1 Setup V%2")
                       .arg(ProgramName, DisplayVersion(ORV_VERSION_MAJOR, ORV_VERSION_MINOR,
                                                        ORV_VERSION_PATCH)),
                   this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);
    layout->addWidget(title);
    layout->addWidget(NamedLabel("Label3", tr("For Bar Code and Magnetic Card Decoder"), this));
    layout->addWidget(
        NamedLabel("Label2",
                   tr("Edits, stores and transfers the decoder's settings, and updates its "
                      "firmware."),
                   this));
    layout->addSpacing(12);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(tr("System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);
    connect(sysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
}

QString AboutBox::DisplayVersion(int major, int minor, int patch) {
    return QStringLiteral("%1.%2.%3")
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'))
        .arg(patch, 2, 10, QLatin1Char('0'));
}

void AboutBox::cmdOK_Click() {
    close();
}

void AboutBox::cmdSysInfo_Click() {
    StartSysInfo();
}

void AboutBox::StartSysInfo() {
#ifdef Q_OS_WIN
    QString path;
    if (!GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), &path)) {
        QString dir;
        if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), &dir) &&
            QFileInfo::exists(dir + QStringLiteral("\\MSINFO32.EXE")))
            path = dir + QStringLiteral("\\MSINFO32.EXE");
    }
    if (!path.isEmpty() && QProcess::startDetached(path, {}))
        return;
#endif
    // Linux has no system information program of this kind: the message is the whole behaviour.
    dialogs_.inform(tr("System Information Is Unavailable At This Time"), ProgramTitle());
}

} // namespace orv
