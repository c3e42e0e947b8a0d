#include "cli/exit_codes.h"

#include <csignal>

int exitCodeOfSignal(int signal)
{
    switch (signal) {
    case SIGHUP:
        return EXIT_HUNG_UP;
    case SIGTERM:
        return EXIT_TERMINATED;
    default:
        return EXIT_INTERRUPTED;
    }
}

const char *errorCodeName(int code)
{
    switch (code) {
    case EXIT_USAGE:
        return "usage";
    case EXIT_NOT_FOUND:
        return "not_found";
    case EXIT_COMMUNICATION:
        return "communication";
    case EXIT_CDC_ON_HID:
        return "cdc_on_hid";
    case EXIT_FILE:
        return "file";
    case EXIT_VERIFY_FAILED:
        return "read_back";
    case EXIT_PORT_UNAVAILABLE:
        return "port_busy";
    case EXIT_HUNG_UP:
        return "hung_up";
    case EXIT_INTERRUPTED:
        return "interrupted";
    case EXIT_TERMINATED:
        return "terminated";
    default:
        return "failed";
    }
}
