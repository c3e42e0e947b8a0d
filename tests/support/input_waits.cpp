// hidapi's wait for input is a poll() on the node: this one, found before the
// C library's, records the waits of the test's thread and may cut them short.
// <poll.h> stays out: its inline wrappers would clash with the definition.
#include "hidraw_readers.h"

#include <dlfcn.h>
#include <pthread.h>

struct pollfd;

InputWaits inputWaits;

namespace {
using PollFn = int (*)(pollfd *, unsigned long, int);
// Static initialisation runs on the main thread, the test's; the testbed's
// own thread polls too, and goes unrecorded.
const pthread_t testThread = pthread_self();
} // namespace

extern "C" int poll(pollfd *fds, unsigned long count, int timeout)
{
    static const auto next = reinterpret_cast<PollFn>(dlsym(RTLD_NEXT, "poll"));
    if (pthread_equal(pthread_self(), testThread)) {
        inputWaits.timeouts.push_back(timeout);
        if (inputWaits.noWait)
            timeout = 0;
    }
    return next(fds, count, timeout);
}
