#include "platform/interrupts.h"

#include <csignal>
#include <unistd.h>

namespace {
constexpr int INTERRUPT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
InterruptHandler installed = nullptr;

void onSignal(int signal)
{
    if (installed)
        installed(signal);
}
} // namespace

void platform_catch_interrupts(InterruptHandler handler)
{
    installed = handler;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: waits end early
    for (int signal : INTERRUPT_SIGNALS)
        sigaction(signal, &action, nullptr);
}

void platform_exit_now(int status)
{
    _exit(status);
}
