#pragma once
// The configurations a command takes: a configuration file (.cfg) or a text
// or JSON profile, told apart by their content, and "reader"; and the
// formats a result is saved in, chosen by the file's extension.
#include "cli/config_files.h"
#include "config/config_profile.h"

enum class ConfigFormat
{
    File, // the window's 28 bytes
    Text, // what show prints
    Json, // what show --json prints
};

// What a path's extension asks for: .cfg, .json, anything else text.
ConfigFormat formatForPath(const QString &path);

struct ConfigInput
{
    uint8_t config[CONFIG_SERIALIZED_SIZE] = {}; // a file's, or a complete profile's
    Profile profile;                             // what a profile gives
    ConfigFormat format = ConfigFormat::File;

    // A profile that gives some fields only: settings for another configuration.
    bool partial() const { return format != ConfigFormat::File && !profile.complete(); }
    // The configuration it stands for on top of base: its own when whole,
    // else base loaded on the form and the settings performed there.
    // Returns 0 or EXIT_USAGE (reported).
    int resolve(const uint8_t base[CONFIG_SERIALIZED_SIZE], uint8_t out[CONFIG_SERIALIZED_SIZE],
                Report &report) const;
};

// Reads what path holds. A bad profile fails with EXIT_USAGE and its line.
// Returns 0 or the exit code (reported).
int readConfigInput(const QString &path, FileUse use, bool acceptShort, Report &report,
                    ConfigInput *input);

// A whole configuration: a partial profile is refused. format, when given,
// receives what the file was.
int readWholeConfiguration(const QString &path, FileUse use, Report &report,
                           uint8_t config[CONFIG_SERIALIZED_SIZE], ConfigFormat *format = nullptr);

// Saves the configuration in the format; the old file stays whole until
// the new one is complete. Returns 0 or the exit code (reported).
int saveConfiguration(const QString &path, ConfigFormat format,
                      const uint8_t config[CONFIG_SERIALIZED_SIZE], Report &report);

// --check: what writing target over current would change, listed in the
// form's words. EXIT_CHANGED when something would, EXIT_OK when not.
int reportCheck(const uint8_t current[CONFIG_SERIALIZED_SIZE],
                const uint8_t target[CONFIG_SERIALIZED_SIZE], Report &report);
