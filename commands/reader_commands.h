#pragma once
// The reader commands, free of any window: each builds its request, runs the
// one exchange on the link it is given and hands back what the answer says.
// A failure is returned as the message number that reports it; the caller
// reports it, once. Progress texts reach the caller through its observer.
#include "commands/command_set.h"
#include "commands/link_session.h"
#include "commands/reader.h"
#include "config/config_record.h"

#include <QString>

// Progress texts, shown exactly as the operators know them.
inline constexpr char PROGRESS_DETECTING[] = "Detectando leitor";
inline constexpr char PROGRESS_DONE[] = "Concluído";
inline constexpr char PROGRESS_DFU[] = "Leitor em modo DFU";

// Milliseconds the reader needs to store its factory configuration before it
// can be read back.
constexpr uint32_t FACTORY_RESTORE_WAIT_MS = 2000;

// How a front end follows a command: the window paints the texts on its
// status bar and shows the wait cursor, a headless program prints them.
class CommandObserver
{
public:
    virtual void progress(const QString &text) = 0;
    // Around the part of a command that blocks on the link.
    virtual void waitBegins() {}
    virtual void waitEnds() {}

protected:
    ~CommandObserver() = default;
};

class ReaderCommands
{
public:
    ReaderCommands(LinkSession &linkSession, CommandObserver &commandObserver)
        : session(linkSession), observer(commandObserver)
    {}

    // The firmware version, the answer's text as it is.
    CommandFailure readFirmware(const Reader &reader, QString *version);
    // The serial number, the answer's text as it is (unchecked).
    CommandFailure readSerialNumber(const Reader &reader, QString *serialNumber);
    // Writes a six-character serial number. A text of another length fails
    // with SERIAL_NUMBER_LENGTH, but only once the link is open. On success
    // *next holds the following number, printed as six digits or more.
    CommandFailure writeSerialNumber(const Reader &reader, const QString &text, QString *next);
    // The reader's 27 configuration bytes, serialized as the record is.
    CommandFailure readConfiguration(const Reader &reader, uint8_t config[CONFIG_SERIALIZED_SIZE]);
    // Writes the record. On HID a reader presenting its CDC product is refused
    // with CDC_READER_ON_HID before anything is sent.
    CommandFailure writeConfiguration(const Reader &reader, const ConfigRecord &record);
    // Has the reader restore its factory configuration, without announcing
    // it, then waits FACTORY_RESTORE_WAIT_MS; reading it back is the caller's.
    CommandFailure restoreDefaults(const Reader &reader);
    // Switches the reader into its firmware-update mode, always over HID
    // (its listed HID interface, else the first reader).
    CommandFailure enterDfu(const Reader &reader);

    // The exchange every command follows: announce, open the link, check the
    // verdict, send, receive, check the echo, close. The COM port is closed
    // whatever happens.
    CommandFailure exchange(const Reader &reader, const CommandExchange &command, uint8_t *answer);

private:
    // A command whose answer is a text (firmware version, serial number).
    CommandFailure readText(const Reader &reader, CommandByte command, QString *text);
    void done(const char *text);

    LinkSession &session;
    CommandObserver &observer;
};
