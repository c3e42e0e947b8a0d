#include "link/frame_codec.h"
#include "link/hid_link.h"
#include "recording_sleep.h"
#include "sim_hid.h"

#include <QTest>

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray productsAsked(const SimHid *sim)
{
    QByteArray asked;
    for (const SimHidInit &init : sim->inits) {
        if (init.vendorId != READER_VENDOR_ID || init.reserved != 0)
            return "wrong vendor or reserved argument";
        asked += init.productId == READER_PID_KEYBOARD ? 'K' : 'C';
        asked += init.result ? '+' : '-';
    }
    return asked;
}

QByteArray reportData(const HidReport &report)
{
    return QByteArray(reinterpret_cast<const char *>(report.data()), report.size());
}

const std::vector<uint32_t> FIVE_PAUSES(5, 1000);
HidLibrary hidLibrary = {};
} // namespace

class HidLinkTest : public QObject
{
    Q_OBJECT

    SimHid *sim = nullptr;
    uint8_t out[FRAME_MAX_PAYLOAD + 1];

    // One exchange as a command runs it; the answer payload, or "failed".
    QByteArray exchange(const QByteArray &request)
    {
        memset(out, 0, sizeof out);
        if (!hid_open(&hidLibrary) ||
            !hid_send_frame(&hidLibrary, reinterpret_cast<const uint8_t *>(request.constData()),
                            request.size()) ||
            !hid_receive_frame(&hidLibrary, out))
            return "failed";
        return QByteArray(reinterpret_cast<const char *>(out), sizeof out);
    }

private slots:
    void init()
    {
        hid_library_use_file(SIM_HID_LIBRARY);
        QCOMPARE(hid_load_library(&hidLibrary), 0);
        (sim = simHid())->reset();
    }

    void openRunsFiveAttempts()
    {
        RecordingSleep sleep;
        QVERIFY(hid_open(&hidLibrary) == 1 && productsAsked(sim) == "K+K+K+K+K+");
        QVERIFY(hid_open_identify(&hidLibrary) == 2 && sleep.waits.empty());

        sim->reset();
        sim->reader.configuration[11] |= 0x80; // the reader is set to CDC
        QVERIFY(hid_open(&hidLibrary) == 1 && productsAsked(sim) == "K-C+K-C+K-C+K-C+K-C+");
        QVERIFY(hid_open_identify(&hidLibrary) == 3 && sleep.waits.empty());

        sim->reset();
        sim->reader.faults.absent = true;
        QVERIFY(hid_open(&hidLibrary) == 0 && productsAsked(sim) == "K-C-K-C-K-C-K-C-K-C-");
        QCOMPARE(sleep.waits, std::vector<uint32_t>(5, 1000));
        QCOMPARE(hid_open_identify(&hidLibrary), 0);

        // Only the fifth attempt counts.
        sim->reset();
        sleep.waits.clear();
        sim->reader.faults.unplugAfterOpens = 4;
        QVERIFY(hid_open(&hidLibrary) == 0 && productsAsked(sim) == "K+K+K+K+K-C-");
        QCOMPARE(sleep.waits, std::vector<uint32_t>{1000});

        // A reader plugged in during the second pause is found.
        sim->reset();
        sim->reader.faults.absent = true;
        sleep.waits.clear();
        sleep.onSleep = [&](uint32_t) { sim->reader.faults.absent = sleep.waits.size() < 2; };
        QVERIFY(hid_open_identify(&hidLibrary) == 2 && productsAsked(sim) == "K-C-K-C-K+K+K+");
        QCOMPARE(sleep.waits, std::vector<uint32_t>(2, 1000));
    }

    void receiveAndSendOneFramePerReport()
    {
        QCOMPARE(exchange(hex("CC")).left(9), hex("CC3030303030310000"));
        QCOMPARE(sim->readTimeouts, std::vector<unsigned>{5000});

        sim->reader.faults.noiseBeforeFrame = true;
        QCOMPARE(exchange(hex("CC")).left(7), hex("CC303030303031"));
        ReaderFaults &faults = sim->reader.faults;
        for (bool *fault :
             {&faults.emptyPayload, &faults.wrongCheck, &faults.brokenTrailer, &faults.silent}) {
            faults = {};
            *fault = true;
            QCOMPARE(exchange(hex("CC")), QByteArray("failed"));
        }
        QCOMPARE(sim->reader.requests.size(), size_t(6));

        faults = {};
        QCOMPARE(hid_open(&hidLibrary), 1);
        const uint8_t aa = 0xAA;
        QCOMPARE(hid_send_frame(&hidLibrary, &aa, 1), 1);
        QCOMPARE(reportData(sim->writes.back()), hex("000201AA03A8") + QByteArray(59, '\0'));

        QByteArray longest(60, char(0x03));
        QVERIFY(hid_send_frame(&hidLibrary, reinterpret_cast<const uint8_t *>(longest.constData()),
                               60));
        QCOMPARE(reportData(sim->writes.back()), hex("00023C") + longest + hex("033F"));

        // 61 bytes are refused without being read: the buffer holds only 60.
        std::vector<uint8_t> tooLong(60, 0xDD);
        for (size_t n : {size_t(61), SIZE_MAX})
            QCOMPARE(hid_send_frame(&hidLibrary, tooLong.data(), n), 0);
        QCOMPARE(sim->writes.size(), size_t(8));

        sim->failWrite = true;
        QCOMPARE(hid_send_frame(&hidLibrary, &aa, 1), 0);
    }

    void missingLibraryIsNeverCalled()
    {
        for (const char *file : {"/nonexistent/libhid_usb.so", PARTIAL_HID_LIBRARY}) {
            hid_library_use_file(file);
            QVERIFY(hid_load_library(&hidLibrary) != 0);
            RecordingSleep sleep;
            const uint8_t aa = 0xAA;
            QVERIFY(hid_open(&hidLibrary) == 0 && hid_open_identify(&hidLibrary) == 0);
            QVERIFY(hid_send_frame(&hidLibrary, &aa, 1) == 0 &&
                    hid_receive_frame(&hidLibrary, out) == 0);
            QVERIFY(sleep.waits.empty() && sim->inits.empty() && sim->writes.empty());
        }
    }
};

QTEST_GUILESS_MAIN(HidLinkTest)
#include "test_hid_link.moc"
