#include "sim/sim_hid.h"

#include "sim/reader_state.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {
SimHid sim;

// A demo keeps its reader in a state file beside this library, shared with
// the reader that velorix-reader-sim serves on a pseudo-terminal. The file's
// presence switches that on; tests have none.
const char *demoStateFile()
{
    static const std::string path = [] {
        Dl_info info;
        if (!dladdr(reinterpret_cast<void *>(&velorix_sim_hid), &info) || !info.dli_fname)
            return std::string();
        std::string file = info.dli_fname;
        file = file.substr(0, file.find_last_of('/') + 1) + "velorix-reader.state";
        return access(file.c_str(), F_OK) == 0 ? file : std::string();
    }();
    return path.empty() ? nullptr : path.c_str();
}

void forgetDevice()
{
    sim.deviceOpen = false;
    sim.openProductId = 0;
    sim.inputPending = false;
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
    if (const char *state = demoStateFile())
        reader_state_load(sim.reader, state);
    const bool found = vendorId == ReaderModel::VENDOR_ID && productId == sim.reader.productId() &&
                       sim.reader.open();
    if (found) {
        sim.deviceOpen = true;
        sim.openProductId = productId;
    }
    sim.inits.push_back({vendorId, productId, reserved, found ? 1 : 0});
    return found ? 1 : 0;
}

int WriteOutputReport(unsigned char *report)
{
    HidReport sent;
    memcpy(sent.data(), report, sent.size());
    sim.writes.push_back(sent);
    if (sim.failWrite || !sim.deviceOpen || !sim.reader.present())
        return 0;
    uint8_t answer[2 * ReaderModel::MAX_ANSWER];
    const size_t requests = sim.reader.requests.size();
    const size_t n = sim.reader.receive(sent.data() + 1, sent.size() - 1, answer, sizeof answer);
    sim.reader.dropPartialFrame();
    const char *state = demoStateFile();
    if (state && sim.reader.requests.size() != requests)
        reader_state_save(sim.reader, state);
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
