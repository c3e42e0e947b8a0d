#pragma once
// The reader as velorix-cli reaches it: over HID, as the window starts, over
// the serial port that --port names, or the one --device names among those
// attached, with the window's detection, waits and failures. With several
// readers attached and no --device it takes none. A failure becomes its exit
// code and the catalogue's text in the report.
#include "cli/port_name.h"
#include "cli/stderr_progress.h"
#include "cli/wire_tracer.h"
#include "commands/link_session.h"
#include "commands/reader_commands.h"

struct CliOptions;
class Report;

class ReaderSession
{
public:
    ReaderSession(const CliOptions &options, Report &report);
    ~ReaderSession();
    ReaderSession(const ReaderSession &) = delete;
    ReaderSession &operator=(const ReaderSession &) = delete;

    // Names the port or loads the HID access library and chooses the reader.
    // False when no reader can be had; the failure is then in the report.
    bool open();

    // Reports a command's failure, once; true when the command succeeded.
    bool succeeded(CommandFailure failure);

    // The reader chosen, and the link it is reached by.
    const Reader &link() const { return chosen; }
    const PortName &port() const { return portName; }
    ReaderCommands &commands() { return readerCommands; }

    // Reads the reader's configuration; false when that failed (reported).
    bool readConfiguration(uint8_t config[CONFIG_SERIALIZED_SIZE]);

    // A port that would not open: held by another program, or no reader.
    // Reports which and returns its exit code.
    int reportPortNotOpened();

private:
    bool choosePort(const QString &text);
    bool chooseAttached();

    const CliOptions &options;
    Report &report;
    LinkSession session;
    StderrProgress progress;
    WireTracer tracer;
    ReaderCommands readerCommands{session, progress};
    PortName portName;
    bool serial = false;
    Reader chosen;
};
