#pragma once
// Configuration files as velorix-cli reads and writes them, through the
// window's own helpers (config/config_file_format.h): read as the window
// reads them, saved as the window saves.
#include "config/config_record.h"

#include <QString>

class Report;

enum class FileUse
{
    Show,  // decoded only: a file that is not what the window saves gets a warning
    Write, // written to a reader: such a file is refused unless accepted
};

// Reads the 27 configuration bytes of the file at path ("-": standard input). A missing,
// unreadable or non-regular file fails; so, for FileUse::Write unless
// acceptShort, does a file that is not 28 bytes with the count byte 0x1A
// (the message says how many bytes it has). Returns 0 or the exit code,
// with the failure in the report.
int readConfigurationFile(const QString &path, FileUse use, bool acceptShort, Report &report,
                          uint8_t config[CONFIG_SERIALIZED_SIZE]);

// Saves the 27 bytes as the window's file; the old file stays whole until
// the new one is complete. Returns 0 or the exit code (reported).
int saveConfigurationFile(const QString &path, const uint8_t config[CONFIG_SERIALIZED_SIZE],
                          Report &report);

// Writes a configuration to standard output ("-"); the report's lines then
// go to standard error. Returns 0 or the exit code (reported).
int saveStandardOutput(const QByteArray &bytes, Report &report);

// Reports that the file at path could not be saved, and why; returns the exit code.
int reportUnsaved(const QString &path, Report &report);
