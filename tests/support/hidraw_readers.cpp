#include "hidraw_readers.h"

// GLib's headers first: Qt's keyword macros (signals) would break them.
#include <umockdev.h>

#include <QString>

#include <cctype>
#include <linux/hidraw.h>
#include <sys/fsuid.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Report descriptors by kind. The keyboard (report 1) carries consumer keys
// (report 2) as a second top-level collection; the configuration interface
// takes and gives 64-byte unnumbered reports.
const struct
{
    char kind;
    const char *descriptor;
} DESCRIPTORS[] = {
    {KEYBOARD, "05010906A1018501050719E029E71500250175019508810295067508150025651900296581"
               "00C0050C0901A1018502150026FF0375109501190029FF8100C0"},
    {CONFIGURATION, "0600FF0901A101150026FF00750895400901810209019102C0"},
    {VENDOR_SIX, "0600FF0906A101150026FF00750895400901810209019102C0"},
    {MOUSE, "05010902A10105091901290315002501950375018102C0"},
    {CONSUMER, "050C0901A101150026FF0375109501190029FF8100C0"},
    {UNKNOWN, "750895408102"},
};
constexpr size_t INPUT_REPORT_SIZE = 64;
constexpr uint8_t UNNUMBERED_REPORT_ID = 0;
constexpr uid_t NOBODY = 65534;
constexpr mode_t NO_ACCESS = 0, OPEN_TO_ALL = 0666, SEARCHABLE = 0755;

Bytes descriptorOf(char kind)
{
    for (const auto &d : DESCRIPTORS)
        if (d.kind == kind) {
            const QByteArray bytes = QByteArray::fromHex(d.descriptor);
            return Bytes(bytes.begin(), bytes.end());
        }
    qFatal("no HID interface of kind %c", kind);
}

void add(_UMockdevTestbed *testbed, const QString &tree)
{
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, qPrintable(tree), &error))
        qFatal("%s: %s", qPrintable(tree), error->message);
}

// The reader's answers go out as input reports, without a report id.
void answer(HidrawNode &node, const uint8_t *report, size_t n)
{
    uint8_t answer[2 * ReaderModel::MAX_ANSWER] = {};
    const size_t length = node.reader->receive(report, n, answer, sizeof answer);
    node.reader->dropPartialFrame();
    for (size_t sent = 0; sent < length; sent += INPUT_REPORT_SIZE) {
        node.answers.emplace_back(answer + sent, answer + sent + INPUT_REPORT_SIZE);
        if (write(node.master, answer + sent, INPUT_REPORT_SIZE) != ssize_t(INPUT_REPORT_SIZE))
            qFatal("could not answer on %s", node.path.c_str());
    }
}

gboolean onWrite(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer data)
{
    auto &node = *static_cast<HidrawNode *>(data);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    const uint8_t *report = arg->data;
    auto n = static_cast<size_t>(arg->data_len);
    node.writes.emplace_back(report, report + n);
    if (node.writeResult) {
        umockdev_ioctl_client_complete(client, *node.writeResult, *node.writeResult < 0 ? EIO : 0);
        return TRUE;
    }
    // hidraw sends an unnumbered report without its report id byte.
    if (n > 0 && report[0] == UNNUMBERED_REPORT_ID)
        ++report, --n;
    if (node.reader)
        answer(node, report, n);
    umockdev_ioctl_client_complete(client, arg->data_len, 0);
    return TRUE;
}

gboolean onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer data)
{
    const Bytes &descriptor = static_cast<HidrawNode *>(data)->descriptor;
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    // hidapi opens only what answers this; the descriptor it reads from sysfs.
    if (umockdev_ioctl_client_get_request(client) != HIDIOCGRDESCSIZE)
        return FALSE; // the pseudo-terminal's own answer: not a HID request
    *reinterpret_cast<int *>(umockdev_ioctl_data_resolve(arg, 0, sizeof(int), nullptr)->data) =
        static_cast<int>(descriptor.size());
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}
} // namespace

HidrawNode &MockReader::node(char kind)
{
    for (HidrawNode &n : nodes)
        if (n.kind == kind)
            return n;
    qFatal("the reader on %s has no interface of kind %c", port.c_str(), kind);
}

HidrawReaders::HidrawReaders()
{
    testbed = umockdev_testbed_new();
    if (!umockdev_in_mock_environment())
        qFatal("run with umockdev's preload library (umockdev-wrapper)");
    gchar *dir = umockdev_testbed_get_root_dir(testbed);
    root = dir;
    g_free(dir);
    // An ordinary user must get as far as the nodes to be refused there.
    chmod(root.c_str(), SEARCHABLE);
}

HidrawReaders::~HidrawReaders()
{
    g_object_unref(testbed);
}

MockReader &HidrawReaders::plug(const std::string &port, uint16_t productId, const char *kinds,
                                uint16_t vendorId)
{
    readers.push_back(std::make_unique<MockReader>());
    MockReader &reader = *readers.back();
    reader.port = port;
    reader.syspath = "/devices/pci0000:00/0000:00:14.0/usb1/" + port;
    add(testbed, QString::asprintf("P: %s\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
                                   "A: idVendor=%04x\nA: idProduct=%04x\nA: product=Leitor\n",
                                   reader.syspath.c_str(), vendorId, productId));
    for (int i = 0; kinds[i]; ++i) {
        HidrawNode &node = reader.nodes.emplace_back();
        node.kind = static_cast<char>(toupper(kinds[i]));
        node.descriptor = descriptorOf(node.kind);
        if (node.kind == CONFIGURATION)
            node.reader = &reader.model;
        const std::string interface = reader.syspath + "/" + port + ":1." + std::to_string(i);
        add(testbed, QString::asprintf("P: %s\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n"
                                       "A: bInterfaceClass=03\nA: bInterfaceNumber=%02d\n",
                                       interface.c_str(), i));
        addNode(node, interface, vendorId, productId);
        if (islower(kinds[i]))
            refuse(node);
    }
    return reader;
}

void HidrawReaders::addNode(HidrawNode &node, const std::string &interfacePath, uint16_t vendorId,
                            uint16_t productId)
{
    const int number = nextNode++;
    const std::string name = "hidraw" + std::to_string(number);
    node.path = "/dev/" + name;
    const std::string hid =
        interfacePath +
        QString::asprintf("/0003:%04X:%04X.%04X", vendorId, productId, number + 1).toStdString();
    node.syspath = hid + "/hidraw/" + name;
    const QByteArray descriptor = QByteArray(reinterpret_cast<const char *>(node.descriptor.data()),
                                             qsizetype(node.descriptor.size()))
                                      .toHex();
    add(testbed, QString::asprintf("P: %s\nE: SUBSYSTEM=hid\nE: HID_ID=0003:%08X:%08X\n"
                                   "E: HID_NAME=Velorix Leitor\nE: HID_UNIQ=%d\n"
                                   "H: report_descriptor=%s\n\nP: %s\nN: %s\nE: SUBSYSTEM=hidraw\n"
                                   "E: DEVNAME=%s\nL: device=../..\n",
                                   hid.c_str(), vendorId, productId, number, descriptor.data(),
                                   node.syspath.c_str(), name.c_str(), node.path.c_str()));
    node.master = umockdev_testbed_get_dev_fd(testbed, node.path.c_str());
    UMockdevIoctlBase *handler = umockdev_ioctl_base_new();
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(onIoctl), &node);
    g_signal_connect(handler, "handle-write", G_CALLBACK(onWrite), &node);
    if (node.master < 0 ||
        !umockdev_testbed_attach_ioctl(testbed, node.path.c_str(), handler, nullptr))
        qFatal("%s cannot be played", node.path.c_str());
    g_object_unref(handler);
    // Any user reaches the player; the node's own mode decides who opens it.
    chmod((root + "/ioctl" + node.path).c_str(), OPEN_TO_ALL);
    allow(node);
}

void HidrawReaders::unplug(MockReader &reader)
{
    for (const HidrawNode &node : reader.nodes)
        umockdev_testbed_remove_device(testbed, ("/sys" + node.syspath).c_str());
    umockdev_testbed_remove_device(testbed, ("/sys" + reader.syspath).c_str());
}

// The node is a link to the pseudo-terminal, whose mode is what open checks.
void HidrawReaders::refuse(const HidrawNode &node) const
{
    chmod((root + node.path).c_str(), NO_ACCESS);
}

void HidrawReaders::allow(const HidrawNode &node) const
{
    chmod((root + node.path).c_str(), OPEN_TO_ALL);
}

// The file system identity is the thread's own, and root's power over files
// goes with it.
OrdinaryUser::OrdinaryUser() : previous(setfsuid(NOBODY)) {}

OrdinaryUser::~OrdinaryUser()
{
    setfsuid(static_cast<uid_t>(previous));
}
