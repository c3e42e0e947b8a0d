#pragma once
// The simulated reader behind a pseudo-terminal, standing in for a reader in
// CDC mode on a serial port. Like a real UART it understands the host only
// while the line is set to its own rate, for input and output alike (8 data
// bits, no parity); at any other setting what arrives is noise to it and
// goes unanswered.
//
// Nothing runs by itself: service() takes what the configurator has written
// and writes the answers back. A test calls it from the replaced sleep; the
// command-line simulator calls it whenever bytes arrive.
#include "sim/document_read.h"
#include "sim/reader_model.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class PtyReader
{
public:
    PtyReader(ReaderModel &model, int32_t baudRate);
    ~PtyReader();
    PtyReader(const PtyReader &) = delete;
    PtyReader &operator=(const PtyReader &) = delete;

    // False when no pseudo-terminal could be had.
    bool isOpen() const { return master >= 0; }

    // The device the configurator opens (a /dev/pts entry).
    const char *devicePath() const { return path; }

    // The master side, for waiting on it and for tests that talk to the line.
    int masterDevice() const { return master; }

    // Answers what has arrived. Returns the number of answer bytes written.
    size_t service();

    // Sends what the reader sends when a cheque (or another document) passes through it
    // (sim/document_read.h). When the host's line is not set as the reader's
    // serial interface is configured, the host gets noise instead, as from a
    // real UART. Returns the number of bytes written; *garbled tells which.
    size_t sendDocument(bool *garbled = nullptr, SimDocument document = SIM_CHEQUE);

    int32_t baudRate; // the reader's own rate

    // The line rate each time bytes arrived, in order.
    std::vector<int32_t> ratesHeard;
    // Bytes that arrived at another setting than the reader's.
    size_t garbledBytes = 0;

private:
    bool lineMatches(int32_t *lineRate) const;

    ReaderModel &model;
    int master = -1;
    int keepOpen = -1; // a slave descriptor, so the line survives between exchanges
    char path[256] = {};
};
