// The HID access library, built on a stand-in for hidapi: which device it
// opens, what it sends and reads, and that it leaves nothing open.
#include "fixtures/fake_hidapi.h"
#include "hid_usb/hid_usb.h"

#include <QTest>

#include <climits>

namespace {
const unsigned short VENDOR = 0x0802;
const unsigned short KEYBOARD = 0x3002;
const unsigned short CDC = 0x3003;

QByteArray bytes(const unsigned char *data, int n)
{
    return QByteArray(reinterpret_cast<const char *>(data), n);
}

QByteArray bytes(const std::vector<unsigned char> &data)
{
    return bytes(data.data(), int(data.size()));
}

std::vector<unsigned short> products(std::initializer_list<unsigned short> ids)
{
    return ids;
}
} // namespace

class HidUsbTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { fake_hidapi_reset(); }

    void cleanup()
    {
        CloseHandles();
        QCOMPARE(fake_hidapi().misuses, 0);
        QVERIFY(fake_hidapi().openProducts().empty());
        QVERIFY(!fake_hidapi().initialised);
    }

    void opensTheDeviceWithTheIdsAsked()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {{0x1234, KEYBOARD, true}, {VENDOR, CDC, true}};
        QCOMPARE(Init_HID(VENDOR, KEYBOARD, 0), 0);
        QVERIFY(Init_HID(VENDOR, CDC, 0) != 0);
        QCOMPARE(hid.opens.size(), size_t(2));
        QCOMPARE(hid.opens[1].vendorId, VENDOR);
        QCOMPARE(hid.opens[1].productId, CDC);
        QVERIFY(!hid.opens[1].serialGiven);
        QCOMPARE(hid.openProducts(), products({CDC}));

        hid.devices = {{VENDOR, KEYBOARD, true}};
        QVERIFY(Init_HID(VENDOR, KEYBOARD, 0) != 0);
        QCOMPARE(hid.opens.back().productId, KEYBOARD);
        QCOMPARE(hid.openProducts(), products({KEYBOARD}));

        // hidapi takes a zero id for "any": that must not open a stranger.
        QCOMPARE(Init_HID(0, 0, 0), 0);
        QCOMPARE(Init_HID(VENDOR, 0, 0), 0);
        QCOMPARE(hid.opens.size(), size_t(3));
        QVERIFY(hid.openProducts().empty());
    }

    void initialisingAgainClosesTheOpenDevice()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {{VENDOR, KEYBOARD, true}, {VENDOR, CDC, true}};
        unsigned char report[HID_USB_REPORT_SIZE] = {};

        QVERIFY(Init_HID(VENDOR, KEYBOARD, 0) != 0);
        QVERIFY(Init_HID(VENDOR, KEYBOARD, 0) != 0);
        QCOMPARE(hid.closes, 1);
        QCOMPARE(hid.openProducts(), products({KEYBOARD}));

        QVERIFY(Init_HID(VENDOR, CDC, 0) != 0);
        QCOMPARE(hid.closes, 2);
        QCOMPARE(hid.openProducts(), products({CDC}));
        QVERIFY(WriteOutputReport(report) != 0);
        QCOMPARE(hid.writeProducts, products({CDC}));

        // The old device is closed even when the new one is not there.
        hid.devices.clear();
        QCOMPARE(Init_HID(VENDOR, KEYBOARD, 0), 0);
        QCOMPARE(hid.closes, 3);
        QVERIFY(hid.openProducts().empty());
        QVERIFY(!hid.initialised);
        QCOMPARE(WriteOutputReport(report), 0);
        QCOMPARE(hid.writes.size(), size_t(1));
    }

    void aDeviceThatWillNotOpenIsNotFound()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {{VENDOR, KEYBOARD, false}};
        unsigned char report[HID_USB_REPORT_SIZE] = {};
        QCOMPARE(Init_HID(VENDOR, KEYBOARD, 0), 0);
        QCOMPARE(hid.opens.size(), size_t(1));
        QVERIFY(!hid.initialised);
        QCOMPARE(WriteOutputReport(report), 0);
        QCOMPARE(ReadInputReport(5000, report), 0);
        QVERIFY(hid.writes.empty());
        QVERIFY(hid.readWaits.empty());

        // Nor does anything open when hidapi cannot start.
        hid.devices = {{VENDOR, KEYBOARD, true}};
        hid.initFails = true;
        QCOMPARE(Init_HID(VENDOR, KEYBOARD, 0), 0);
        QCOMPARE(hid.opens.size(), size_t(1));
        hid.initFails = false;
        QVERIFY(Init_HID(VENDOR, KEYBOARD, 0) != 0);
    }

    void reportsKeepTheirLayout()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {{VENDOR, KEYBOARD, true}};
        QVERIFY(Init_HID(VENDOR, KEYBOARD, 0) != 0);

        unsigned char out[HID_USB_REPORT_SIZE] = {0x00, 0x02, 0x01, 0xEE, 0x03, 0xEC};
        out[64] = 0x5A;
        QVERIFY(WriteOutputReport(out) != 0);
        QCOMPARE(bytes(hid.writes.at(0)), bytes(out, HID_USB_REPORT_SIZE));

        // The reader's report comes back as its 64 data bytes, without an id.
        for (int i = 0; i < 64; ++i)
            hid.input.push_back(static_cast<unsigned char>(0x80 + i));
        unsigned char in[HID_USB_REPORT_SIZE];
        memset(in, 0xAA, sizeof in);
        QVERIFY(ReadInputReport(5000, in) != 0);
        QCOMPARE(hid.readWaits, std::vector<int>{5000});
        QCOMPARE(hid.readLengths, std::vector<unsigned long>{64});
        QCOMPARE(in[0], 0x00);
        QCOMPARE(bytes(in + 1, 64), bytes(hid.input));

        // A short report leaves no stale bytes behind it.
        hid.input = {0x02, 0x01, 0xEE, 0x03, 0xEC};
        memset(in, 0xAA, sizeof in);
        QVERIFY(ReadInputReport(5000, in) != 0);
        QCOMPARE(bytes(in, 6), QByteArray::fromHex("0002 01ee 03ec"));
        QCOMPARE(bytes(in + 6, 59), QByteArray(59, '\0'));

        // hidapi's -1 means "wait forever"; a huge wait stays finite.
        QVERIFY(ReadInputReport(UINT_MAX, in) != 0);
        QCOMPARE(hid.readWaits.back(), INT_MAX);
    }

    void failedTransfersGiveZero()
    {
        FakeHidapi &hid = fake_hidapi();
        unsigned char report[HID_USB_REPORT_SIZE] = {};
        QCOMPARE(WriteOutputReport(report), 0);
        QCOMPARE(ReadInputReport(5000, report), 0);

        hid.devices = {{VENDOR, CDC, true}};
        QVERIFY(Init_HID(VENDOR, CDC, 0) != 0);
        hid.writeResultSet = true;
        for (int result : {-1, 0, 40, 64}) {
            hid.writeResult = result;
            QCOMPARE(WriteOutputReport(report), 0);
        }
        QCOMPARE(WriteOutputReport(nullptr), 0);

        hid.input = {0x02, 0x01, 0xEE, 0x03, 0xEC};
        hid.readResultSet = true;
        for (int result : {0, -1}) {
            hid.readResult = result;
            memset(report, 0xAA, sizeof report);
            QCOMPARE(ReadInputReport(5000, report), 0);
            QCOMPARE(bytes(report, HID_USB_REPORT_SIZE), QByteArray(HID_USB_REPORT_SIZE, '\0'));
        }
        QCOMPARE(ReadInputReport(5000, nullptr), 0);
        QCOMPARE(hid.readWaits.size(), size_t(2));
    }

    void closeHandlesClosesTheDevice()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {{VENDOR, KEYBOARD, true}};
        unsigned char report[HID_USB_REPORT_SIZE] = {};
        QVERIFY(Init_HID(VENDOR, KEYBOARD, 0) != 0);
        QCOMPARE(CloseHandles(), 0);
        QCOMPARE(hid.closes, 1);
        QVERIFY(hid.openProducts().empty());
        QVERIFY(!hid.initialised);
        QCOMPARE(WriteOutputReport(report), 0);
        QVERIFY(hid.writes.empty());

        // Closing again has nothing to do and is not a failure.
        QCOMPARE(CloseHandles(), 0);
        QCOMPARE(hid.closes, 1);

        // The next command opens afresh.
        QVERIFY(Init_HID(VENDOR, KEYBOARD, 0) != 0);
        QCOMPARE(hid.initCalls, 2);
        QVERIFY(WriteOutputReport(report) != 0);
    }
};

QTEST_GUILESS_MAIN(HidUsbTest)
#include "test_hid_usb.moc"
