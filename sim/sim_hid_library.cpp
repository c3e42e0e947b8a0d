#include "sim/sim_hid.h"

#include "sim/reader_state.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {
SimHid sim;

// A demo keeps its readers in state files beside this library, shared with
// the readers that velorix-reader-sim serves on pseudo-terminals. The first
// file's presence switches that on; tests have none.
std::string libraryFolder()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void *>(&velorix_sim_hid), &info) || !info.dli_fname)
        return {};
    const std::string file = info.dli_fname;
    return file.substr(0, file.find_last_of('/') + 1);
}

// The state file of reader i: velorix-reader.state, velorix-reader-2.state...
std::string stateFileOf(size_t i)
{
    static const std::string first = libraryFolder() + "velorix-reader.state";
    return reader_state_file(first, i);
}

bool demo()
{
    static const bool on = access(stateFileOf(0).c_str(), F_OK) == 0;
    return on;
}

// A demo's readers are those with a state file, read afresh.
void loadDemoReaders()
{
    if (!demo())
        return;
    while (access(stateFileOf(sim.readerCount()).c_str(), F_OK) == 0)
        sim.addReader();
    for (size_t i = 0; i < sim.readerCount(); ++i)
        reader_state_load(sim.readerAt(i), stateFileOf(i).c_str());
}

void forgetDevice()
{
    sim.deviceOpen = false;
    sim.openReader = 0;
    sim.openProductId = 0;
    sim.inputPending = false;
}

bool openReader(size_t i)
{
    ReaderModel &reader = sim.readerAt(i);
    if (!reader.open())
        return false;
    sim.deviceOpen = true;
    sim.openReader = i;
    sim.openProductId = reader.productId();
    return true;
}

std::string pathOf(size_t i)
{
    return SIM_HID_PATH_PREFIX + std::to_string(i);
}

// The answer goes back as one input report; what does not fit is lost, as
// it would be on the wire.
void queueInput(const uint8_t *answer, size_t n)
{
    sim.input.fill(0);
    const size_t data = std::min(n, sim.input.size() - 1);
    memcpy(sim.input.data() + 1, answer, data);
    sim.inputPending = n > 0;
}
} // namespace

extern "C" {

SimHid *velorix_sim_hid(void)
{
    return &sim;
}

int Init_HID(unsigned short vendorId, unsigned short productId, int reserved)
{
    forgetDevice();
    loadDemoReaders();
    bool found = false;
    for (size_t i = 0; !found && i < sim.readerCount(); ++i)
        found = vendorId == ReaderModel::VENDOR_ID && productId == sim.readerAt(i).productId() &&
                openReader(i);
    sim.inits.push_back({vendorId, productId, reserved, found ? 1 : 0});
    return found ? 1 : 0;
}

int Enumerate_HID(unsigned short vendorId, unsigned short productId, HidUsbDevice *devices,
                  int capacity)
{
    ++sim.enumerations;
    loadDemoReaders();
    int found = 0;
    for (size_t i = 0; i < sim.readerCount(); ++i) {
        const ReaderModel &reader = sim.readerAt(i);
        if (vendorId != ReaderModel::VENDOR_ID || productId != reader.productId() ||
            !reader.present())
            continue;
        if (devices && found < capacity) {
            HidUsbDevice &device = devices[found];
            snprintf(device.path, sizeof device.path, "%s", pathOf(i).c_str());
            snprintf(device.portPath, sizeof device.portPath, "1-%zu", i + 1);
            device.productId = productId;
        }
        ++found;
    }
    return found;
}

int Open_HID_Path(const char *path)
{
    forgetDevice();
    sim.pathOpens.push_back(path ? path : "");
    loadDemoReaders();
    for (size_t i = 0; path && i < sim.readerCount(); ++i)
        if (pathOf(i) == path)
            return openReader(i) ? 1 : 0;
    return 0;
}

int WriteOutputReport(unsigned char *report)
{
    HidReport sent;
    memcpy(sent.data(), report, sent.size());
    sim.writes.push_back(sent);
    ReaderModel &reader = sim.readerAt(sim.openReader);
    if (sim.failWrite || !sim.deviceOpen || !reader.present())
        return 0;
    uint8_t answer[2 * ReaderModel::MAX_ANSWER];
    const size_t requests = reader.requests.size();
    const size_t n = reader.receive(sent.data() + 1, sent.size() - 1, answer, sizeof answer);
    reader.dropPartialFrame();
    if (demo() && reader.requests.size() != requests)
        reader_state_save(reader, stateFileOf(sim.openReader).c_str());
    queueInput(answer, n);
    return 1;
}

int ReadInputReport(unsigned int timeoutMs, unsigned char *report)
{
    sim.readTimeouts.push_back(timeoutMs);
    if (!sim.deviceOpen || !sim.inputPending)
        return 0;
    memcpy(report, sim.input.data(), sim.input.size());
    sim.inputPending = false;
    return 1;
}

int CloseHandles(void)
{
    ++sim.closeCalls;
    if (sim.failClose)
        return 1;
    forgetDevice();
    return 0;
}
}
