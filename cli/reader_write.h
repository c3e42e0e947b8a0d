#pragma once
// Writing a configuration to the reader, as write, apply and set do.
#include "config/config_record.h"

class ReaderSession;
class Report;

// Writes the configuration and, when verify, reads it back and compares the
// 27 bytes. Returns EXIT_OK or the failure's code (reported).
int writeAndVerify(ReaderSession &reader, const uint8_t config[CONFIG_SERIALIZED_SIZE], bool verify,
                   Report &report);
