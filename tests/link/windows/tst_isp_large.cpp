// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// frmISP sending the largest image, 65,535 bytes, to the emulator's loader: 357 pages with a
// pause after each (at a twentieth of the real pace), the last page carrying 31 bytes, the
// image reassembled byte for byte. A program of its own because it is the longest transfer.

#include "isprig.h"

using namespace orv;
using namespace orv::test;

class TestIspLarge : public QObject {
    Q_OBJECT
private slots:
    void largestImage();
};

void TestIspLarge::largestImage() {
    IspRig rig(WithoutTimeOuts(LinkTiming{}.scaled(0.05)));
    rig.emulator.core().onEvent = nullptr;
    QByteArray image = IspRig::Image(65535);
    // No page may pass for another: every page starts with its own number.
    for (int p = 0; p * 184 < image.size(); ++p)
        image[p * 184] = static_cast<char>(p);
    rig.chooseFile(rig.writeImage(image));
    rig.click("cmdTransmit");

    QCOMPARE(rig.dialogs.texts(), QStringList{"ISP Transmit OK!"});
    QCOMPARE(rig.progress()->maximum(), 357);
    QCOMPARE(rig.progress()->value(), 357);
    QCOMPARE(rig.status(), QStringLiteral("Transmit Data For Page  65504 OK!"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.emulator.core().loader.finished, GiveUpMsecs);
    QCOMPARE(rig.emulator.received, IspRig::Transfer(image));

    const emu::DecoderCore::Loader& loader = rig.emulator.core().loader;
    QVERIFY2(loader.errors.isEmpty(), qPrintable(loader.errors.join(QLatin1Char('\n'))));
    QList<emu::LoaderPacket> pages;
    for (const emu::LoaderPacket& p : loader.packets) {
        if (p.type == 1)
            pages << p;
    }
    QCOMPARE(pages.size(), 357);
    // The last page: start 65504 (FFE0h), 31 image bytes and zeros, end address 65687 sent as
    // its low 16 bits, 0097h, low byte first.
    const QByteArray& last = pages.last().raw;
    QCOMPARE(last.mid(1, 4), QByteArray::fromHex("ffe09700"));
    QCOMPARE(last.mid(5, 31), image.mid(65504));
    QCOMPARE(last.mid(36, 153), QByteArray(153, '\0'));

    const QByteArray got = rig.received();
    QCOMPARE(got.size(), 357 * 184);
    QCOMPARE(got.left(65535), image);
    QCOMPARE(got.mid(65535), QByteArray(357 * 184 - 65535, '\0'));

    // The pause after every page held all the way.
    for (int i = 1; i < pages.size(); ++i) {
        const double gap = (pages[i].nsecs - pages[i - 1].nsecs) / 1e6;
        QVERIFY2(gap >= rig.timing.ispPagePauseMsecs,
                 qPrintable(QStringLiteral("page %1: %2 ms").arg(i).arg(gap)));
    }
}

QTEST_MAIN(TestIspLarge)
#include "tst_isp_large.moc"
