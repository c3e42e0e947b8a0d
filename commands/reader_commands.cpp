// The reader commands: what each one sends and what it takes from the answer.
#include "commands/reader_commands.h"

#include "commands/answer_text.h"
#include "platform/sleep.h"

#include <cstdio>
#include <cstring>

namespace {
// The serial number travels as six ASCII digits after the command byte.
constexpr size_t SERIAL_NUMBER_DIGITS = 6;
constexpr size_t SET_SERIAL_LENGTH = 1 + SERIAL_NUMBER_DIGITS;
} // namespace

void ReaderCommands::done(const char *text)
{
    observer.progress(QString::fromUtf8(text));
}

CommandFailure ReaderCommands::readText(const Reader &reader, CommandByte command, QString *text)
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {command};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    const CommandFailure failure = exchange(reader, {request, 1}, answer);
    if (failure != COMMAND_OK)
        return failure;
    *text = answerText(answer);
    done(PROGRESS_DONE);
    return COMMAND_OK;
}

CommandFailure ReaderCommands::readFirmware(const Reader &reader, QString *version)
{
    return readText(reader, CMD_GET_FIRMWARE, version);
}

CommandFailure ReaderCommands::readSerialNumber(const Reader &reader, QString *serialNumber)
{
    return readText(reader, CMD_GET_SERIAL, serialNumber);
}

CommandFailure ReaderCommands::writeSerialNumber(const Reader &reader, const QString &text,
                                                 QString *next)
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    CommandExchange command{request, SET_SERIAL_LENGTH};
    int number = 0;
    if (text.size() == static_cast<qsizetype>(SERIAL_NUMBER_DIGITS)) {
        number = text.toInt(nullptr, 10);
        request[0] = CMD_SET_SERIAL;
        // Six digits and the terminating zero fit the zeroed buffer.
        snprintf(reinterpret_cast<char *>(request + 1), SERIAL_NUMBER_DIGITS + 1, "%06d", number);
    } else {
        // No request is built; the verdict waits until the link is open.
        command.verdictOnceOpen = SERIAL_NUMBER_LENGTH;
    }
    const CommandFailure failure = exchange(reader, command, answer);
    if (failure != COMMAND_OK)
        return failure;
    char following[16];
    snprintf(following, sizeof following, "%06d", number + 1);
    *next = QString::fromLatin1(following);
    done(PROGRESS_DONE);
    return COMMAND_OK;
}

CommandFailure ReaderCommands::readConfiguration(const Reader &reader,
                                                 uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_GET_CONFIG};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    const CommandFailure failure = exchange(reader, {request, 1}, answer);
    if (failure != COMMAND_OK)
        return failure;
    memcpy(config, answer + 1, CONFIG_SERIALIZED_SIZE);
    done(PROGRESS_DONE);
    return COMMAND_OK;
}

CommandFailure ReaderCommands::writeConfiguration(const Reader &reader, const ConfigRecord &record)
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_SET_CONFIG};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    record.serialize(request + 1);
    CommandExchange command{request, 1 + CONFIG_SERIALIZED_SIZE};
    command.identifyCdc = true;
    const CommandFailure failure = exchange(reader, command, answer);
    if (failure != COMMAND_OK)
        return failure;
    done(PROGRESS_DONE);
    return COMMAND_OK;
}

CommandFailure ReaderCommands::restoreDefaults(const Reader &reader)
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_SET_DEFAULTS};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    CommandExchange command{request, 1};
    command.announce = false;
    const CommandFailure failure = exchange(reader, command, answer);
    if (failure != COMMAND_OK)
        return failure;
    observer.waitBegins();
    platform_sleep(FACTORY_RESTORE_WAIT_MS);
    observer.waitEnds();
    return COMMAND_OK;
}

CommandFailure ReaderCommands::enterDfu(const Reader &reader)
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_ENTER_DFU};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    CommandExchange command{request, 1};
    command.alwaysHid = true;
    const CommandFailure failure = exchange(reader, command, answer);
    if (failure != COMMAND_OK)
        return failure;
    done(PROGRESS_DFU);
    return COMMAND_OK;
}
