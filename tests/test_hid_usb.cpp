// The HID access library on a stand-in for hidapi.
#include "fixtures/fake_hidapi.h"
#include "hid_usb/hid_usb.h"

#include <QTest>

#include <climits>

namespace {
using Paths = std::vector<std::string>;
FakeHidapi &hid = fakeHidapi;
const unsigned short VENDOR = 0x0802, PID_KEYBOARD = 0x3002, PID_CDC = 0x3003;
const unsigned short VENDOR_PAGE = 0xFF00, GENERIC_DESKTOP = 0x01, KEYBOARD_USAGE = 0x06;

QByteArray bytes(const unsigned char *data, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(n));
}
} // namespace

class HidUsbTest : public QObject
{
    Q_OBJECT

    unsigned char report[HID_USB_REPORT_SIZE] = {};

    // The report read over a stale one; prefixed "failed" when none came.
    QByteArray readReport(unsigned int timeout = 5000)
    {
        memset(report, 0xAA, sizeof report);
        const bool read = ReadInputReport(timeout, report) != 0;
        return (read ? "" : "failed") + bytes(report, sizeof report);
    }

private slots:
    void init() { fake_hidapi_reset(); }

    void cleanup()
    {
        QCOMPARE(CloseHandles(), 0);
        QVERIFY(hid.misuses == 0 && hid.openPaths.empty() && !hid.initialised);
    }

    void opensOnlyTheDeviceWithTheIdsAsked()
    {
        hid.devices = {{"/dev/hidraw0", 0x1234, PID_KEYBOARD, VENDOR_PAGE, 1},
                       {"/dev/hidraw1", VENDOR, PID_CDC, VENDOR_PAGE, 1}};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) == 0 && hid.opens.empty());
        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) != 0);
        QVERIFY(hid.opens == Paths{"/dev/hidraw1"} && hid.openPaths == hid.opens);
        // hidapi takes a zero id for "any": that must not open a stranger.
        for (auto ids : {std::pair(0, 0), std::pair(int(VENDOR), 0), std::pair(0, int(PID_CDC))})
            QCOMPARE(Init_HID(ushort(ids.first), ushort(ids.second), 0), 0);
        QVERIFY(hid.openPaths.empty());
        QCOMPARE(hid.enumerations, (std::vector<std::pair<unsigned short, unsigned short>>{
                                       {VENDOR, PID_KEYBOARD}, {VENDOR, PID_CDC}}));
        // Nor does anything open when hidapi cannot start.
        hid.initFails = true;
        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) == 0 && hid.enumerations.size() == 2);
        hid.initFails = false;
        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) != 0);
    }

    void choosesTheConfigurationInterface()
    {
        // Entries by kind and hidraw number (lower case: will not open), then the
        // numbers tried: the last is opened, unless marked '-'.
        const char *const cases[] = {
            "K0 C1:1",
            // Only Generic Desktop / Keyboard together make the keyboard.
            "K0 V1:1", "K0 M1:1", "K0 N1:1",
            // The keyboard's node listed again under its consumer keys is still the keyboard.
            "K0 N0 U1 C2:2",
            // Without a configuration interface the first match opens (0/0: usage unknown).
            "K0:0", "U3 K4:3", "K5 U6:5",
            // A candidate that will not open is skipped, but not for the keyboard.
            "K0 c1 C2:12", "k0 U1:01", "K0 c1:1-", "c1 c2:12-"};
        const QByteArray kinds = "KCVMNU";
        const unsigned short pages[] = {GENERIC_DESKTOP, VENDOR_PAGE, VENDOR_PAGE,
                                        GENERIC_DESKTOP, 0x0C,        0};
        const unsigned short uses[] = {KEYBOARD_USAGE, 1, KEYBOARD_USAGE, 2, 1, 0};
        const auto path = [](char n) { return "/dev/hidraw" + std::string(1, n); };
        hid.input = {0x02};
        for (const char *c : cases) {
            hid.devices.clear();
            const char *d = c;
            for (; *d != ':'; d += d[2] == ' ' ? 3 : 2) {
                const auto k = kinds.indexOf(char(toupper(d[0])));
                hid.devices.push_back(
                    {path(d[1]), VENDOR, PID_KEYBOARD, pages[k], uses[k], isupper(d[0]) != 0});
            }
            Paths tried;
            for (++d; *d && *d != '-'; ++d)
                tried.push_back(path(*d));
            const bool found = *d != '-';
            hid.opens.clear();
            QVERIFY2((Init_HID(VENDOR, PID_KEYBOARD, 0) != 0) == found, c);
            QVERIFY2(hid.opens == tried && hid.initialised == found, c);
            QVERIFY2(hid.openPaths == (found ? Paths{tried.back()} : Paths{}), c);
            QVERIFY2((WriteOutputReport(report) != 0) == found, c);
            QVERIFY2((ReadInputReport(5000, report) != 0) == found, c);
        }
        QVERIFY(hid.writes.size() == 10 && hid.reads.size() == 10);
    }

    void reopeningClosingAndReports()
    {
        hid.devices = {{"/dev/hidraw0", VENDOR, PID_KEYBOARD, VENDOR_PAGE, 1},
                       {"/dev/hidraw1", VENDOR, PID_CDC, VENDOR_PAGE, 1}};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) != 0);
        QCOMPARE(hid.openPaths, Paths{"/dev/hidraw1"});
        // The old device is closed even when the new one is not there.
        hid.devices.resize(1);
        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) == 0 && hid.openPaths.empty() && !hid.initialised);
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        for (int closing = 0; closing < 2; ++closing) {
            QCOMPARE(CloseHandles(), 0);
            QVERIFY(hid.openPaths.empty() && !hid.initialised);
        }
        QVERIFY(WriteOutputReport(report) == 0 && hid.writes.empty());
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0 && WriteOutputReport(report) != 0);

        // Reports keep their layout; failures give zero.
        unsigned char out[HID_USB_REPORT_SIZE] = {0x00, 0x02, 0x01, 0xEE, 0x03, 0xEC};
        out[64] = 0x5A;
        QVERIFY(WriteOutputReport(out) != 0);
        QCOMPARE(bytes(hid.writes.back().data(), hid.writes.back().size()), bytes(out, sizeof out));

        // 64 data bytes come back without an id; a short report leaves no stale bytes.
        for (int i = 0; i < 64; ++i)
            hid.input.push_back(static_cast<unsigned char>(0x80 + i));
        QCOMPARE(readReport(), '\0' + bytes(hid.input.data(), 64));
        hid.input = {0x02, 0x01, 0xEE, 0x03, 0xEC};
        QCOMPARE(readReport(), QByteArray::fromHex("0002 01ee 03ec").leftJustified(65, '\0'));
        // hidapi's -1 means "wait forever"; a huge wait stays finite.
        QCOMPARE(readReport(UINT_MAX).size(), 65);
        QCOMPARE(hid.reads,
                 (std::vector<std::pair<int, size_t>>{{5000, 64}, {5000, 64}, {INT_MAX, 64}}));

        for (int result : {-1, 0, 40, 64}) {
            hid.writeResult = result;
            QVERIFY2(WriteOutputReport(report) == 0, qPrintable(QString::number(result)));
        }
        QCOMPARE(WriteOutputReport(nullptr), 0);
        for (int result : {0, -1}) {
            hid.readResult = result;
            QCOMPARE(readReport(), "failed" + QByteArray(HID_USB_REPORT_SIZE, '\0'));
        }
        QCOMPARE(ReadInputReport(5000, nullptr), 0);
        QCOMPARE(hid.reads.size(), size_t(5));
    }
};

QTEST_GUILESS_MAIN(HidUsbTest)
#include "test_hid_usb.moc"
