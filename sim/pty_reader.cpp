#include "sim/pty_reader.h"

#include "platform/pseudo_terminal.h"
#include "platform/serial_device.h"

namespace {
// A rate the link never uses: until the configurator sets the line, the
// reader does not understand it.
constexpr int32_t UNSET_RATE = 300;
constexpr size_t CHUNK = 512;
// What a byte sent at other line settings turns into on the host's side.
constexpr uint8_t NOISE_PATTERN = 0x55;
} // namespace

PtyReader::PtyReader(ReaderModel &readerModel, int32_t lineRate)
    : baudRate(lineRate), model(readerModel)
{
    master = pty_open_master(path, sizeof path);
    if (master < 0)
        return;
    // Held open so that the line, its settings and its queued bytes outlive
    // each exchange, as they do on a real port; raw, so nothing is echoed.
    keepOpen = pty_open_slave(path);
    if (keepOpen < 0 || serial_device_configure(keepOpen, UNSET_RATE, 8, 'n', 1) != 0) {
        pty_close(keepOpen);
        pty_close(master);
        keepOpen = master = -1;
    }
}

PtyReader::~PtyReader()
{
    pty_close(keepOpen);
    pty_close(master);
}

bool PtyReader::lineMatches(int32_t *lineRate) const
{
    SerialLineSettings line;
    if (!serial_device_line_settings(master, &line))
        return false;
    *lineRate = line.baudRate;
    // The host hears the answer at its input rate, the reader the request at
    // its output rate: both must be the reader's.
    return line.baudRate == baudRate && line.inputBaudRate == baudRate && line.dataBits == 8 &&
           line.parity == 'n';
}

size_t PtyReader::service()
{
    if (master < 0)
        return 0;
    uint8_t received[CHUNK];
    uint8_t answers[CHUNK];
    size_t answered = 0;
    int got;
    while ((got = serial_device_read(master, received, sizeof received)) > 0) {
        int32_t lineRate = -1;
        const bool understood = lineMatches(&lineRate);
        ratesHeard.push_back(lineRate);
        if (!understood) {
            garbledBytes += static_cast<size_t>(got);
            continue;
        }
        const size_t n = model.receive(received, static_cast<size_t>(got), answers, sizeof answers);
        // One write per batch: the configurator's single read then finds all
        // of it, as it would find a reader's answers queued in the driver.
        if (n > 0 && serial_device_write(master, answers, n) == static_cast<int>(n))
            answered += n;
    }
    return answered;
}

size_t PtyReader::sendDocument(bool *garbled, SimDocument kind)
{
    uint8_t document[DOCUMENT_MAX_SIZE];
    const size_t n = document_send(model.configuration, kind, SIM_SERIAL, document);
    const DocumentLine wanted = document_line(model.configuration);
    SerialLineSettings line;
    const bool understood = serial_device_line_settings(master, &line) &&
                            line.baudRate == wanted.baudRate && line.dataBits == wanted.dataBits &&
                            line.parity == wanted.parity && line.stopBits == wanted.stopBits;
    if (!understood)
        for (size_t i = 0; i < n; ++i)
            document[i] ^= NOISE_PATTERN;
    if (garbled)
        *garbled = !understood;
    const int written = serial_device_write(master, document, n);
    return written > 0 ? static_cast<size_t>(written) : 0;
}
