// velorix-reader-sim: the simulated reader on a pseudo-terminal, for trying
// the configurator by hand in "Serial" mode.
//
//   velorix-reader-sim [--rate BAUD] [--link PATH] [--state FILE]
//   velorix-reader-sim --type cheque|boleto [--state FILE]
//
// Prints the device to open; with --link it also makes PATH a link to it
// (e.g. --link /tmp/ports/ttyACM0). With --state the reader keeps its
// configuration and serial number in FILE, read before every request and
// written after it, so a demo reader remembers them and shares them with the
// simulated HID reader of the demo. Serves until interrupted. SIGUSR1 makes
// it read a cheque: it sends the document as its configuration says, for
// trying "velorix-cli watch" and the window's read test; SIGUSR2 makes it
// read a bank slip. --type prints, on standard output, the keys the reader
// in keyboard mode types for that document (as bytes: a TAB is 0x09, ENTER
// 0x0D) and exits, for a demo that hands them to the X server as key events.
#include "platform/pseudo_terminal.h"
#include "platform/serial_device.h"
#include "sim/pty_reader.h"
#include "sim/reader_state.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopping = 0;
// The document a signal asked for, plus one; 0 for none.
volatile std::sig_atomic_t documentAsked = 0;

void stop(int)
{
    stopping = 1;
}

void readDocument(int number)
{
    documentAsked = 1 + (number == SIGUSR2 ? SIM_BANK_SLIP : SIM_CHEQUE);
}

void sendDocument(PtyReader &reader, ReaderModel &model, const char *state)
{
    const auto document = static_cast<SimDocument>(documentAsked - 1);
    documentAsked = 0;
    if (state)
        reader_state_load(model, state);
    bool garbled = false;
    const size_t sent = reader.sendDocument(&garbled, document);
    printf("document read: %zu bytes sent%s\n", sent,
           garbled ? ", as noise: the line is not set as the reader's serial interface" : "");
    fflush(stdout);
}

struct Options
{
    int32_t rate = 2400;
    const char *link = nullptr;
    const char *state = nullptr;
    const char *type = nullptr; // "cheque" or "boleto": print the keys typed, then exit
};

bool parse(int argc, char **argv, Options *options)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
            char *end = nullptr;
            const long rate = strtol(argv[++i], &end, 10);
            if (*end != '\0' || rate <= 0 || rate > 4000000)
                return false;
            options->rate = static_cast<int32_t>(rate);
        } else if (strcmp(argv[i], "--link") == 0 && i + 1 < argc) {
            options->link = argv[++i];
        } else if (strcmp(argv[i], "--state") == 0 && i + 1 < argc) {
            options->state = argv[++i];
        } else if (strcmp(argv[i], "--type") == 0 && i + 1 < argc &&
                   (strcmp(argv[i + 1], "cheque") == 0 || strcmp(argv[i + 1], "boleto") == 0)) {
            options->type = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

// The COM number under which the configurator finds a link of this name,
// once the link is in /dev; 0 for a name outside the COM table.
int comNumberOf(const char *link)
{
    const char *name = strrchr(link, '/');
    name = name ? name + 1 : link;
    char path[256];
    // The COM numbers run without a gap from COM1.
    for (int n = 1; serial_device_path(n, path, sizeof path); ++n)
        if (strcmp(strrchr(path, '/') + 1, name) == 0)
            return n;
    return 0;
}

int typeDocument(const Options &options)
{
    ReaderModel model;
    if (options.state)
        reader_state_load(model, options.state);
    uint8_t keys[DOCUMENT_MAX_SIZE];
    const SimDocument document = strcmp(options.type, "boleto") == 0 ? SIM_BANK_SLIP : SIM_CHEQUE;
    const size_t n = document_send(model.configuration, document, SIM_KEYBOARD, keys);
    return fwrite(keys, 1, n, stdout) == n ? 0 : 1;
}

void printNewRequests(const ReaderModel &model, size_t *shown, int32_t rate)
{
    for (; *shown < model.requests.size(); ++*shown) {
        printf("request at %d baud:", rate);
        for (uint8_t byte : model.requests[*shown])
            printf(" %02X", byte);
        printf("\n");
    }
    fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parse(argc, argv, &options)) {
        fprintf(stderr,
                "usage: %s [--rate BAUD] [--link PATH] [--state FILE]\n"
                "       %s --type cheque|boleto [--state FILE]\n",
                argv[0], argv[0]);
        return 2;
    }
    if (options.type)
        return typeDocument(options);
    ReaderModel model;
    PtyReader reader(model, options.rate);
    if (!reader.isOpen()) {
        fprintf(stderr, "no pseudo-terminal available\n");
        return 1;
    }
    if (options.link) {
        unlink(options.link);
        if (symlink(reader.devicePath(), options.link) != 0) {
            perror(options.link);
            return 1;
        }
    }
    printf("%s\n", reader.devicePath());
    if (options.link) {
        printf("%s -> %s\n", options.link, reader.devicePath());
        if (const int com = comNumberOf(options.link))
            printf("in /dev this name is COM%d\n", com);
    }
    printf("reader at %d baud, 8 data bits, no parity (kill -USR1 %d reads a cheque, "
           "kill -USR2 %d a bank slip)\n",
           options.rate, static_cast<int>(getpid()), static_cast<int>(getpid()));
    fflush(stdout);

    signal(SIGINT, stop);
    signal(SIGTERM, stop);
    signal(SIGUSR1, readDocument);
    signal(SIGUSR2, readDocument);
    size_t shown = 0;
    while (!stopping) {
        if (pty_wait_readable(reader.masterDevice(), 500)) {
            const size_t before = model.requests.size();
            if (options.state)
                reader_state_load(model, options.state);
            reader.service();
            if (options.state && model.requests.size() != before)
                reader_state_save(model, options.state);
        }
        printNewRequests(model, &shown, options.rate);
        if (documentAsked)
            sendDocument(reader, model, options.state);
    }
    if (options.link)
        unlink(options.link);
    return 0;
}
