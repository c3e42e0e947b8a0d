#pragma once
// The exit codes of velorix-cli, each telling one outcome apart. The help
// text and the manual page list them; scripts and configuration tools rely
// on them, so a code never changes its meaning.

enum ExitCode : int
{
    EXIT_OK = 0,               // done; apply: the reader already had the configuration
    EXIT_DIFFERENT = 1,        // diff: the configurations differ
    EXIT_USAGE = 2,            // bad usage: command, option, value, or a port that does not exist
    EXIT_NOT_FOUND = 3,        // "Dispositivo não encontrado" (or no HID access library)
    EXIT_COMMUNICATION = 4,    // "Erro de comunicação"
    EXIT_CDC_ON_HID = 5,       // "Dispositivo tipo CDC detectado": writing over HID refused
    EXIT_FILE = 6,             // a configuration file cannot be read or written
    EXIT_VERIFY_FAILED = 7,    // the configuration read back differs from the one written
    EXIT_PORT_UNAVAILABLE = 8, // the port is held by another program, or not ours to open
    EXIT_CHANGED = 10,         // apply: the configuration was written (and checked)
    // Ended by a signal, as a shell reports it (128 + the signal), the port closed first.
    EXIT_HUNG_UP = 129,     // SIGHUP: the terminal went away
    EXIT_INTERRUPTED = 130, // SIGINT: interrupted (Ctrl+C) while waiting on the reader
    EXIT_TERMINATED = 143,  // SIGTERM: stopped by another program (kill, a service manager)
};

// The exit code for the end a signal asks for.
int exitCodeOfSignal(int signal);

// The symbolic name of a failure's exit code, for the JSON "error_code"
// ("not_found", "communication", ...): a script tests it rather than a number.
const char *errorCodeName(int code);
