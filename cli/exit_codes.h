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
    EXIT_INTERRUPTED = 130,    // interrupted (Ctrl+C, SIGTERM) while waiting on the reader
};
