#pragma once
// The command line of velorix-cli: one command, its arguments and options.
#include <QString>
#include <QStringList>
#include <cstdint>

enum class CliCommand
{
    Read,
    Write,
    Apply,
    Serial,
    Firmware,
    Info,
    Show,
    Diff,
    Watch,
    Set,
    Convert,
    List,
};

struct CliOptions
{
    CliCommand command = CliCommand::Info;
    QString commandName;
    QStringList arguments; // what follows the command
    bool json = false;
    bool verbose = false; // -v: every frame on the wire, on standard error
    bool quiet = false;   // -q: no progress, no warnings; failures only
    QString port;         // empty: the HID link
    QString device;       // --device: the reader among those attached (empty: the only one)
    bool all = false;     // --all: every reader attached, one after the other
    int32_t baudRate = 0; // 0: not given
    QString output;       // read -o
    bool verify = true;
    bool acceptShort = false;
    bool check = false; // apply, write, set: list what would change, write nothing
    // watch: line settings that override the configuration's (0: not given)
    char parity = 0;
    int dataBits = 0;
    int stopBits = 0;
};

struct ParsedCommandLine
{
    enum Outcome
    {
        Run,
        Help,
        Version,
        Usage, // error holds what is wrong
    };
    Outcome outcome = Usage;
    CliOptions options;
    QString error;
};

ParsedCommandLine parseCommandLine(const QStringList &arguments);

// --help: the commands, the options, the JSON output and the exit codes.
QString helpText();
