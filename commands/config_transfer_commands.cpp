// Reading, writing and restoring the reader's configuration.
#include "app/main_window.h"

#include "commands/command_set.h"
#include "commands/wait_cursor.h"
#include "config/config_record.h"
#include "platform/sleep.h"

void MainWindow::on_pushButton_getConfig_clicked()
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_GET_CONFIG};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    if (!exchange({request, 1}, answer))
        return;
    update_gui_from_file(reinterpret_cast<char *>(answer + 1));
    showProgress(QStringLiteral("Concluído"));
}

void MainWindow::on_pushButton_config_clicked()
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_SET_CONFIG};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    configRecord.serialize(request + 1);
    CommandExchange command{request, 1 + CONFIG_SERIALIZED_SIZE};
    command.identifyCdc = true;
    if (!exchange(command, answer))
        return;
    showProgress(QStringLiteral("Concluído"));
}

void MainWindow::on_actionDefault_triggered()
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_SET_DEFAULTS};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    CommandExchange command{request, 1};
    command.announce = false;
    if (!exchange(command, answer))
        return;
    {
        // The reader needs time to store its factory configuration.
        WaitCursor busy;
        platform_sleep(2000);
    }
    on_pushButton_getConfig_clicked();
    showProgress(QStringLiteral("Concluído"));
}
