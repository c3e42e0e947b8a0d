// velorix-reader-sim: the simulated reader on a pseudo-terminal, for trying
// the configurator by hand in "Serial" mode.
//
//   velorix-reader-sim [--rate BAUD] [--link PATH] [--state FILE] [--readers N]
//   velorix-reader-sim --type cheque|boleto [--state FILE]
//
// Prints the device to open; with --link it also makes PATH a link to it
// (e.g. --link /tmp/ports/ttyACM0). With --state the reader keeps its
// configuration and serial number in FILE, read before every request and
// written after it, so a demo reader remembers them and shares them with the
// simulated HID reader of the demo. With --readers N it serves N readers,
// each on its own pseudo-terminal with its own serial number (000001 on)
// and state: the n-th links PATH with its number raised by n - 1 (ttyACM0,
// ttyACM1...) and keeps FILE-<n> (velorix-reader-2.state). Serves until
// interrupted. SIGUSR1 makes the first read a cheque: it sends the document
// as its configuration says, for trying "velorix-cli watch" and the window's
// read test; SIGUSR2 makes it read a bank slip. --type prints, on standard
// output, the keys the reader in keyboard mode types for that document (as
// bytes: a TAB is 0x09, ENTER 0x0D) and exits, for a demo that hands them to
// the X server as key events.
#include "platform/pseudo_terminal.h"
#include "platform/serial_device.h"
#include "sim/pty_reader.h"
#include "sim/reader_state.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

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

constexpr long MOST_READERS = 32;

void sendDocument(PtyReader &reader, ReaderModel &model, const std::string &state)
{
    const auto document = static_cast<SimDocument>(documentAsked - 1);
    documentAsked = 0;
    if (!state.empty())
        reader_state_load(model, state.c_str());
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
    long readers = 1;
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
        } else if (strcmp(argv[i], "--readers") == 0 && i + 1 < argc) {
            char *end = nullptr;
            options->readers = strtol(argv[++i], &end, 10);
            if (*end != '\0' || options->readers < 1 || options->readers > MOST_READERS)
                return false;
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

// The link of the i-th reader: the first's with its trailing number raised
// by i, or with "-<i + 1>" after it when it ends in none.
std::string linkOf(const char *first, size_t i)
{
    std::string link = first;
    if (i == 0)
        return link;
    size_t digits = link.size();
    while (digits > 0 && link[digits - 1] >= '0' && link[digits - 1] <= '9')
        --digits;
    if (digits == link.size())
        return link + "-" + std::to_string(i + 1);
    return link.substr(0, digits) + std::to_string(std::stol(link.substr(digits)) + long(i));
}

// One simulated reader on its pseudo-terminal, with its link and state file.
struct Served
{
    ReaderModel model;
    std::unique_ptr<PtyReader> reader;
    std::string link;
    std::string state;
    size_t shown = 0;
};

void printNewRequests(const ReaderModel &model, size_t *shown, int32_t rate, size_t index)
{
    for (; *shown < model.requests.size(); ++*shown) {
        if (index > 0)
            printf("reader %zu: ", index + 1);
        printf("request at %d baud:", rate);
        for (uint8_t byte : model.requests[*shown])
            printf(" %02X", byte);
        printf("\n");
    }
    fflush(stdout);
}

bool start(Served &served, const Options &options, size_t i)
{
    snprintf(served.model.serialNumber, sizeof served.model.serialNumber, "%06zu",
             (i + 1) % 1000000);
    served.reader = std::make_unique<PtyReader>(served.model, options.rate);
    if (!served.reader->isOpen()) {
        fprintf(stderr, "no pseudo-terminal available\n");
        return false;
    }
    if (options.state)
        served.state = reader_state_file(options.state, i);
    printf("%s\n", served.reader->devicePath());
    if (!options.link)
        return true;
    served.link = linkOf(options.link, i);
    unlink(served.link.c_str());
    if (symlink(served.reader->devicePath(), served.link.c_str()) != 0) {
        perror(served.link.c_str());
        return false;
    }
    printf("%s -> %s\n", served.link.c_str(), served.reader->devicePath());
    if (const int com = comNumberOf(served.link.c_str()))
        printf("in /dev this name is COM%d\n", com);
    return true;
}

void serve(Served &served, int32_t rate, size_t index, int waitMs)
{
    if (pty_wait_readable(served.reader->masterDevice(), waitMs)) {
        const size_t before = served.model.requests.size();
        if (!served.state.empty())
            reader_state_load(served.model, served.state.c_str());
        served.reader->service();
        if (!served.state.empty() && served.model.requests.size() != before)
            reader_state_save(served.model, served.state.c_str());
    }
    printNewRequests(served.model, &served.shown, rate, index);
}
} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parse(argc, argv, &options)) {
        fprintf(stderr,
                "usage: %s [--rate BAUD] [--link PATH] [--state FILE] [--readers N]\n"
                "       %s --type cheque|boleto [--state FILE]\n",
                argv[0], argv[0]);
        return 2;
    }
    if (options.type)
        return typeDocument(options);
    std::deque<Served> readers(static_cast<size_t>(options.readers));
    for (size_t i = 0; i < readers.size(); ++i)
        if (!start(readers[i], options, i))
            return 1;
    printf("reader at %d baud, 8 data bits, no parity (kill -USR1 %d reads a cheque, "
           "kill -USR2 %d a bank slip)\n",
           options.rate, static_cast<int>(getpid()), static_cast<int>(getpid()));
    fflush(stdout);

    signal(SIGINT, stop);
    signal(SIGTERM, stop);
    signal(SIGUSR1, readDocument);
    signal(SIGUSR2, readDocument);
    const int waitMs = 500 / static_cast<int>(readers.size());
    while (!stopping) {
        for (size_t i = 0; i < readers.size(); ++i)
            serve(readers[i], options.rate, i, waitMs);
        if (documentAsked)
            sendDocument(*readers.front().reader, readers.front().model, readers.front().state);
    }
    for (const Served &served : readers)
        if (!served.link.empty())
            unlink(served.link.c_str());
    return 0;
}
