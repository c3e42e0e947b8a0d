// The one request/answer exchange that every reader command follows.
#include "commands/reader_commands.h"
#include "link/hid_link.h"
#include "platform/sleep.h"

CommandFailure ReaderCommands::hidExchange(const CommandExchange &command, uint8_t *answer)
{
    const HidLibrary *library = &session.hidLibrary;
    if (command.identifyCdc) {
        const int found = hid_open_identify(library);
        if (found == HID_NOT_FOUND)
            return READER_NOT_FOUND;
        if (found == HID_FOUND_CDC)
            return CDC_READER_ON_HID;
    } else if (hid_open(library) == 0) {
        return READER_NOT_FOUND;
    }
    if (command.verdictOnceOpen != COMMAND_OK)
        return command.verdictOnceOpen;
    if ((hid_send_frame(library, command.request, command.length) == 0) ||
        (hid_receive_frame(library, answer) == 0) || answer[0] != command.request[0])
        return COMMUNICATION_ERROR;
    if (library->CloseHandles() != 0)
        return CLOSE_FAILED;
    return COMMAND_OK;
}

CommandFailure ReaderCommands::serialExchange(const CommandExchange &command, uint8_t *answer)
{
    SerialPortSettings *port = &session.serial_port;
    if (!session.detectReader())
        return READER_NOT_FOUND;
    serial_load_settings(port, session.com_port_number, session.com_baud_rate);
    if (serial_open(port) != SERIAL_OPENED)
        return READER_NOT_FOUND;
    if (command.verdictOnceOpen != COMMAND_OK)
        return command.verdictOnceOpen;
    if (serial_send_frame(port, command.request, command.length) != SERIAL_DONE)
        return COMMUNICATION_ERROR;
    platform_sleep(serial_answer_delay(session.com_baud_rate));
    if (serial_receive_frame(port, answer) != SERIAL_DONE || answer[0] != command.request[0])
        return COMMUNICATION_ERROR;
    serial_close(port);
    return COMMAND_OK;
}

CommandFailure ReaderCommands::exchange(ReaderLink link, const CommandExchange &command,
                                        uint8_t *answer)
{
    if (command.announce)
        observer.progress(QString::fromUtf8(PROGRESS_DETECTING));
    observer.waitBegins();
    CommandFailure failure;
    if (command.alwaysHid || link == ReaderLink::Hid) {
        failure = hidExchange(command, answer);
    } else {
        failure = serialExchange(command, answer);
        if (failure != COMMAND_OK)
            serial_close(&session.serial_port);
    }
    observer.waitEnds();
    return failure;
}
