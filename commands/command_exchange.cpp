// The one request/answer exchange that every reader command follows.
#include "commands/hid_command_link.h"
#include "commands/reader_commands.h"
#include "commands/serial_command_link.h"

namespace {
CommandFailure run(CommandLink &link, const CommandExchange &command, uint8_t *answer)
{
    if (const CommandFailure opened = link.open(command.identifyCdc); opened != COMMAND_OK)
        return opened;
    if (command.verdictOnceOpen != COMMAND_OK)
        return command.verdictOnceOpen;
    if (!link.send(command.request, command.length) || !link.receive(answer) ||
        answer[0] != command.request[0])
        return COMMUNICATION_ERROR;
    return link.close();
}
} // namespace

CommandFailure ReaderCommands::exchange(const Reader &reader, const CommandExchange &command,
                                        uint8_t *answer)
{
    if (command.announce)
        observer.progress(QString::fromUtf8(PROGRESS_DETECTING));
    observer.waitBegins();
    HidCommandLink hid(session.hidLibrary, reader.hid);
    SerialCommandLink serial(session, reader);
    CommandLink &link = command.alwaysHid || reader.link == ReaderLink::Hid
                            ? static_cast<CommandLink &>(hid)
                            : static_cast<CommandLink &>(serial);
    const CommandFailure failure = run(link, command, answer);
    if (failure != COMMAND_OK)
        link.abandon();
    observer.waitEnds();
    return failure;
}
