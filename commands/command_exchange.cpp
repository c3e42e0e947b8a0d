#include "app/main_window.h"

#include "commands/command_set.h"
#include "commands/wait_cursor.h"
#include "link/hid_library.h"
#include "link/hid_link.h"
#include "link/serial_link.h"
#include "platform/sleep.h"
#include "ui_MainWindowForm.h"

#include <QStatusBar>

namespace {
CommandFailure hidExchange(const CommandExchange &command, uint8_t *answer)
{
    if (command.identifyCdc) {
        const int found = hid_open_identify();
        if (found == 0)
            return READER_NOT_FOUND;
        if (found == 3)
            return CDC_READER_ON_HID;
    } else if (!hid_open()) {
        return READER_NOT_FOUND;
    }
    if (command.verdictOnceOpen != COMMAND_OK)
        return command.verdictOnceOpen;
    if (!hid_send_frame(command.request, command.length) || !hid_receive_frame(answer) ||
        answer[0] != command.request[0])
        return COMMUNICATION_ERROR;
    if (hidLibrary.CloseHandles() != 0)
        return CLOSE_FAILED;
    return COMMAND_OK;
}
} // namespace

CommandFailure MainWindow::serialExchange(const CommandExchange &command, uint8_t *answer)
{
    if (!GetSerialParams())
        return READER_NOT_FOUND;
    serial_load_settings(com_baud_rate);
    if (serial_open(&serial_port) != 0)
        return READER_NOT_FOUND;
    if (command.verdictOnceOpen != COMMAND_OK)
        return command.verdictOnceOpen;
    if (serial_send_frame(command.request, command.length) != 0)
        return COMMUNICATION_ERROR;
    platform_sleep(serial_answer_delay(com_baud_rate));
    if (serial_receive_frame(answer) != 0 || answer[0] != command.request[0])
        return COMMUNICATION_ERROR;
    serial_close();
    return COMMAND_OK;
}

void MainWindow::showProgress(const QString &text)
{
    statusBar()->showMessage(text);
    // The window blocks during the waits that follow: paint the text now.
    statusBar()->repaint();
}

bool MainWindow::exchange(const CommandExchange &command, uint8_t *answer)
{
    if (command.announce)
        showProgress(QStringLiteral("Detectando leitor"));
    CommandFailure failure;
    {
        WaitCursor busy;
        if (command.alwaysHid || ui->actionTeclado->isChecked()) {
            failure = hidExchange(command, answer);
        } else {
            failure = serialExchange(command, answer);
            if (failure != COMMAND_OK)
                serial_close();
        }
    }
    if (failure == COMMAND_OK)
        return true;
    show_error(failure);
    return false;
}
