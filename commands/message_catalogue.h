#pragma once
// The messages that report failures and notices to the operator, numbered 1
// to 10: a command's failure (failureMessage) and start-up's report of the
// HID access library. Every front end shows the same words.
#include "commands/command_set.h"

enum class MessageKind
{
    None, // nothing is shown
    Critical,
    Warning,
};

struct CatalogueMessage
{
    MessageKind kind;
    const char *title; // UTF-8
    const char *text;  // UTF-8, exactly as the operators have always seen it
    bool onStatusBar;  // the window repeats the text on its status bar
};

constexpr int MESSAGE_FIRST = 1;
constexpr int MESSAGE_LAST = 10;
constexpr int MESSAGE_FILE_NOT_OPENED = 8;
constexpr int MESSAGE_HID_LIBRARY_MISSING = 9;
constexpr int MESSAGE_HID_LIBRARY_INCOMPLETE = 10;

constexpr int MESSAGE_NOT_FOUND = 1;
constexpr int MESSAGE_CDC_DETECTED = 3;
constexpr int MESSAGE_COMMUNICATION = 4;
constexpr int MESSAGE_CLOSE_FAILED = 5; // shows nothing
constexpr int MESSAGE_SERIAL_LENGTH = 6;

// The message that reports a command's failure; 0 for COMMAND_OK.
int failureMessage(CommandFailure failure);

// The entry of message n; null outside 1 to 10.
const CatalogueMessage *catalogueMessage(int n);
