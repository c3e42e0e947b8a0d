#pragma once
// Keeps what a simulated reader stores (its configuration and serial number)
// in a small text file, so that a demo reader remembers a write across runs
// and two simulators of the same reader (HID and pty) share it.
#include "sim/reader_model.h"

#include <string>

// Loads the file into the reader. False, with the reader unchanged, when the
// file is missing, empty or not a reader state.
bool reader_state_load(ReaderModel &reader, const char *path);

// Writes the reader's state to the file (replacing it whole). False on error.
bool reader_state_save(const ReaderModel &reader, const char *path);

// The state file of the i-th of several readers (from 0), beside the first's:
// velorix-reader.state, velorix-reader-2.state, velorix-reader-3.state...
std::string reader_state_file(const std::string &first, size_t i);
