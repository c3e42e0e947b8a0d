#pragma once
// The messages that report failures and notices to the operator, numbered 1
// to 10 as the commands return them (CommandFailure) and as start-up reports
// the HID access library. Every front end shows the same words.

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

// The entry of message n; null outside 1 to 10.
const CatalogueMessage *catalogueMessage(int n);
