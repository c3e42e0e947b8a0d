#pragma once
// Readers on a mocked kernel: umockdev's testbed holds each reader's sysfs
// tree (USB device, interfaces, HID devices with their report descriptors)
// and its hidraw nodes, and the simulated reader answers behind them. The
// process must run with umockdev's preload library.
#include "sim/reader_model.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _UMockdevTestbed;

using Bytes = std::vector<uint8_t>;

// The interfaces a reader may show, by the letter of HidrawReaders::plug.
enum HidrawKind : char
{
    KEYBOARD = 'K',      // boot keyboard, the same node listed again for its consumer keys
    CONFIGURATION = 'C', // vendor page: the interface that answers the command set
    VENDOR_SIX = 'V',    // vendor page, usage 6 (not a keyboard)
    MOUSE = 'M',         // generic desktop, usage 2
    CONSUMER = 'N',      // consumer keys alone
    UNKNOWN = 'U',       // no collection: hidapi cannot tell its usage
};

// One hidraw node: what the program wrote to it and what it was sent back.
struct HidrawNode
{
    char kind;
    std::string path;              // "/dev/hidraw3"
    ReaderModel *reader = nullptr; // answers on the configuration interface only
    Bytes descriptor;
    std::vector<Bytes> writes;       // every write, as the program wrote it
    std::vector<Bytes> answers;      // every input report sent
    int master = -1;                 // the test's side of the node's pseudo-terminal
    std::optional<long> writeResult; // what writes return when set (-1: EIO), else all written
    std::string syspath;
};

struct MockReader
{
    std::string port; // USB port path, "1-2"
    ReaderModel model;
    std::deque<HidrawNode> nodes; // in the order hidapi lists them
    std::string syspath;          // of the USB device

    HidrawNode &node(char kind); // the first of that kind
};

class HidrawReaders
{
public:
    HidrawReaders();
    ~HidrawReaders();
    HidrawReaders(const HidrawReaders &) = delete;
    HidrawReaders &operator=(const HidrawReaders &) = delete;

    // Plugs a USB device in on the port path given, with one HID interface
    // and hidraw node per letter of kinds (a HidrawKind; lower case: only
    // root may open it), numbered on from the last node.
    MockReader &plug(const std::string &port, uint16_t productId, const char *kinds = "KC",
                     uint16_t vendorId = ReaderModel::VENDOR_ID);
    // Takes the reader's devices away, nodes and all.
    void unplug(MockReader &reader);
    // Only root may open the node now, as without the udev rules (a test run
    // as root takes an OrdinaryUser to be refused); allow undoes it.
    void refuse(const HidrawNode &node) const;
    void allow(const HidrawNode &node) const;

private:
    void addNode(HidrawNode &node, const std::string &interfacePath, uint16_t vendorId,
                 uint16_t productId);

    _UMockdevTestbed *testbed;
    std::string root;
    std::vector<std::unique_ptr<MockReader>> readers;
    int nextNode = 0;
};

// While it lives, the calling thread meets file permissions as "nobody",
// which root otherwise passes.
struct OrdinaryUser
{
    OrdinaryUser();
    ~OrdinaryUser();
    const int previous;
};

// hidapi's waits for input (poll), recorded; while noWait is set they end at
// once, as if the wait had run out.
struct InputWaits
{
    std::vector<int> timeouts;
    bool noWait = false;
};
extern InputWaits inputWaits;
