// The HID access library, built on a stand-in for hidapi: which device it
// opens, what it sends and reads, and that it leaves nothing open.
#include "fixtures/fake_hidapi.h"
#include "hid_usb/hid_usb.h"

#include <QTest>

#include <climits>

namespace {
const unsigned short VENDOR = 0x0802;
const unsigned short PID_KEYBOARD = 0x3002;
const unsigned short PID_CDC = 0x3003;
const unsigned short VENDOR_PAGE = 0xFF00;
const unsigned short GENERIC_DESKTOP = 0x01;
const unsigned short KEYBOARD_USAGE = 0x06;

// The reader's configuration interface.
FakeHidDevice configuration(const char *path, unsigned short product = PID_KEYBOARD)
{
    return {path, VENDOR, product, VENDOR_PAGE, 0x01, 1};
}

// The boot keyboard interface a reader in keyboard mode also presents.
FakeHidDevice keyboard(const char *path)
{
    return {path, VENDOR, PID_KEYBOARD, GENERIC_DESKTOP, KEYBOARD_USAGE, 0};
}

FakeHidDevice withUsage(const char *path, unsigned short page, unsigned short usage)
{
    return {path, VENDOR, PID_KEYBOARD, page, usage, 2};
}

FakeHidDevice refused(FakeHidDevice device)
{
    device.openable = false;
    return device;
}

QByteArray bytes(const unsigned char *data, int n)
{
    return QByteArray(reinterpret_cast<const char *>(data), n);
}

QByteArray bytes(const std::vector<unsigned char> &data)
{
    return bytes(data.data(), int(data.size()));
}

std::vector<std::string> paths(std::initializer_list<std::string> list)
{
    return list;
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
        QCOMPARE(fake_hidapi().unfreedEnumerations(), 0);
        QVERIFY(fake_hidapi().openPaths().empty());
        QVERIFY(!fake_hidapi().initialised);
    }

    void opensTheDeviceWithTheIdsAsked()
    {
        FakeHidapi &hid = fake_hidapi();
        FakeHidDevice stranger = configuration("/dev/hidraw0");
        stranger.vendorId = 0x1234;
        hid.devices = {stranger, configuration("/dev/hidraw1", PID_CDC)};
        QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0), 0);
        QVERIFY(hid.opens.empty());
        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) != 0);
        QCOMPARE(hid.enumerations.size(), size_t(2));
        QCOMPARE(hid.enumerations[0].vendorId, VENDOR);
        QCOMPARE(hid.enumerations[0].productId, PID_KEYBOARD);
        QCOMPARE(hid.enumerations[1].vendorId, VENDOR);
        QCOMPARE(hid.enumerations[1].productId, PID_CDC);
        QCOMPARE(hid.opens, paths({"/dev/hidraw1"}));
        QCOMPARE(hid.openPaths(), paths({"/dev/hidraw1"}));

        // hidapi takes a zero id for "any": that must not open a stranger.
        QCOMPARE(Init_HID(0, 0, 0), 0);
        QCOMPARE(Init_HID(VENDOR, 0, 0), 0);
        QCOMPARE(Init_HID(0, PID_CDC, 0), 0);
        QCOMPARE(hid.enumerations.size(), size_t(2));
        QVERIFY(hid.openPaths().empty());
    }

    void choosesTheConfigurationInterfaceOverTheKeyboard()
    {
        FakeHidapi &hid = fake_hidapi();
        unsigned char report[HID_USB_REPORT_SIZE] = {};
        hid.devices = {keyboard("/dev/hidraw0"), configuration("/dev/hidraw1")};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.opens, paths({"/dev/hidraw1"}));
        QVERIFY(WriteOutputReport(report) != 0);
        QCOMPARE(hid.writePaths, paths({"/dev/hidraw1"}));

        // Only Generic Desktop / Keyboard together make the keyboard.
        const unsigned short others[][2] = {
            {VENDOR_PAGE, KEYBOARD_USAGE}, {GENERIC_DESKTOP, 0x02}, {0x0C, 0x01}};
        for (const auto &usage : others) {
            hid.devices = {keyboard("/dev/hidraw0"), withUsage("/dev/hidraw1", usage[0], usage[1])};
            hid.opens.clear();
            QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
            QCOMPARE(hid.opens, paths({"/dev/hidraw1"}));
        }

        // The keyboard's node listed again under its consumer keys is still
        // the keyboard; an entry of unknown usage is no better.
        hid.devices = {keyboard("/dev/hidraw0"), withUsage("/dev/hidraw0", 0x0C, 0x01),
                       withUsage("/dev/hidraw1", 0, 0), configuration("/dev/hidraw2")};
        hid.opens.clear();
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.opens, paths({"/dev/hidraw2"}));
    }

    void withoutAConfigurationInterfaceTheFirstMatchIsOpened()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {keyboard("/dev/hidraw0")};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.openPaths(), paths({"/dev/hidraw0"}));

        // A backend that cannot tell the usages gives 0/0 for every entry.
        hid.devices = {withUsage("/dev/hidraw3", 0, 0), keyboard("/dev/hidraw4")};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.openPaths(), paths({"/dev/hidraw3"}));
        hid.devices = {keyboard("/dev/hidraw5"), withUsage("/dev/hidraw6", 0, 0)};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.openPaths(), paths({"/dev/hidraw5"}));
        QCOMPARE(hid.opens, paths({"/dev/hidraw0", "/dev/hidraw3", "/dev/hidraw5"}));
    }

    void aCandidateThatWillNotOpenIsSkipped()
    {
        FakeHidapi &hid = fake_hidapi();
        unsigned char report[HID_USB_REPORT_SIZE] = {};
        hid.devices = {keyboard("/dev/hidraw0"), refused(configuration("/dev/hidraw1")),
                       configuration("/dev/hidraw2")};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.opens, paths({"/dev/hidraw1", "/dev/hidraw2"}));
        QCOMPARE(hid.openPaths(), paths({"/dev/hidraw2"}));

        hid.devices = {refused(keyboard("/dev/hidraw0")), withUsage("/dev/hidraw1", 0, 0)};
        hid.opens.clear();
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.opens, paths({"/dev/hidraw0", "/dev/hidraw1"}));

        // A configuration interface that refuses is not replaced by the keyboard.
        hid.devices = {keyboard("/dev/hidraw0"), refused(configuration("/dev/hidraw1"))};
        hid.opens.clear();
        QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0), 0);
        QCOMPARE(hid.opens, paths({"/dev/hidraw1"}));

        // A device that is there but will not open at all is not found.
        hid.devices = {refused(configuration("/dev/hidraw1")),
                       refused(configuration("/dev/hidraw2"))};
        hid.opens.clear();
        QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0), 0);
        QCOMPARE(hid.opens, paths({"/dev/hidraw1", "/dev/hidraw2"}));
        QVERIFY(!hid.initialised);
        QCOMPARE(WriteOutputReport(report), 0);
        QCOMPARE(ReadInputReport(5000, report), 0);
        QVERIFY(hid.writes.empty());
        QVERIFY(hid.readWaits.empty());

        // Nor does anything open when hidapi cannot start.
        hid.devices = {configuration("/dev/hidraw1")};
        hid.initFails = true;
        size_t enumerated = hid.enumerations.size();
        QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0), 0);
        QCOMPARE(hid.enumerations.size(), enumerated);
        hid.initFails = false;
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
    }

    void initialisingAgainClosesTheOpenDevice()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {configuration("/dev/hidraw0"), configuration("/dev/hidraw1", PID_CDC)};
        unsigned char report[HID_USB_REPORT_SIZE] = {};

        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.closes, 1);
        QCOMPARE(hid.openPaths(), paths({"/dev/hidraw0"}));

        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) != 0);
        QCOMPARE(hid.closes, 2);
        QCOMPARE(hid.openPaths(), paths({"/dev/hidraw1"}));
        QVERIFY(WriteOutputReport(report) != 0);
        QCOMPARE(hid.writePaths, paths({"/dev/hidraw1"}));

        // The old device is closed even when the new one is not there.
        hid.devices.clear();
        QCOMPARE(Init_HID(VENDOR, PID_KEYBOARD, 0), 0);
        QCOMPARE(hid.closes, 3);
        QVERIFY(hid.openPaths().empty());
        QVERIFY(!hid.initialised);
        QCOMPARE(WriteOutputReport(report), 0);
        QCOMPARE(hid.writes.size(), size_t(1));
    }

    void reportsKeepTheirLayout()
    {
        FakeHidapi &hid = fake_hidapi();
        hid.devices = {configuration("/dev/hidraw0")};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);

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

        hid.devices = {configuration("/dev/hidraw0", PID_CDC)};
        QVERIFY(Init_HID(VENDOR, PID_CDC, 0) != 0);
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
        hid.devices = {configuration("/dev/hidraw0")};
        unsigned char report[HID_USB_REPORT_SIZE] = {};
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(CloseHandles(), 0);
        QCOMPARE(hid.closes, 1);
        QVERIFY(hid.openPaths().empty());
        QVERIFY(!hid.initialised);
        QCOMPARE(WriteOutputReport(report), 0);
        QVERIFY(hid.writes.empty());

        // Closing again has nothing to do and is not a failure.
        QCOMPARE(CloseHandles(), 0);
        QCOMPARE(hid.closes, 1);

        // The next command opens afresh.
        QVERIFY(Init_HID(VENDOR, PID_KEYBOARD, 0) != 0);
        QCOMPARE(hid.initCalls, 2);
        QVERIFY(WriteOutputReport(report) != 0);
    }
};

QTEST_GUILESS_MAIN(HidUsbTest)
#include "test_hid_usb.moc"
