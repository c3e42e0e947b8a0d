#include "sim/sim_hid.h"

#include <algorithm>
#include <cstring>

namespace {
SimHid sim;

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
    const size_t n = sim.reader.receive(sent.data() + 1, sent.size() - 1, answer, sizeof answer);
    sim.reader.dropPartialFrame();
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
