// Serial number and firmware version.
#include "app/main_window.h"

#include "commands/answer_text.h"
#include "commands/command_set.h"
#include "ui_MainWindowForm.h"

#include <algorithm>
#include <cstdio>

void MainWindow::on_pushButton_firmware_clicked()
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_GET_FIRMWARE};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    if (!exchange({request, 1}, answer))
        return;
    ui->lineEdit_firmware->setText(answerText(answer));
    showProgress(QStringLiteral("Concluído"));
}

void MainWindow::on_pushButton_getSerial_clicked()
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_GET_SERIAL};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    if (!exchange({request, 1}, answer))
        return;
    // The field's six-character limit and the digit filter apply.
    ui->lineEdit_serial->setText(answerText(answer));
    showProgress(QStringLiteral("Concluído"));
}

void MainWindow::on_pushButton_wrtSerial_clicked()
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    const QString text = ui->lineEdit_serial->text();
    CommandExchange command{request, 7};
    int number = 0;
    if (text.size() == 6) {
        number = text.toInt(nullptr, 10);
        request[0] = CMD_SET_SERIAL;
        // Six digits and the terminating zero fit the zeroed buffer.
        snprintf(reinterpret_cast<char *>(request + 1), 7, "%06d", number);
    } else {
        // No request is built; the verdict waits until the link is open.
        command.verdictOnceOpen = SERIAL_NUMBER_LENGTH;
    }
    if (!exchange(command, answer))
        return;
    char next[16];
    snprintf(next, sizeof next, "%06d", number + 1);
    ui->lineEdit_serial->setText(QString::fromLatin1(next));
    showProgress(QStringLiteral("Concluído"));
}

void MainWindow::on_lineEdit_serial_textChanged(const QString &text)
{
    // Drop the last character while any non-digit remains; setting the
    // shorter text runs this filter again on it.
    const bool onlyDigits =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; });
    if (!onlyDigits)
        ui->lineEdit_serial->setText(text.left(text.size() - 1));
}

void MainWindow::on_actionDFU_triggered()
{
    uint8_t request[COMMAND_BUFFER_SIZE] = {CMD_ENTER_DFU};
    uint8_t answer[COMMAND_BUFFER_SIZE] = {};
    CommandExchange command{request, 1};
    command.alwaysHid = true;
    if (!exchange(command, answer))
        return;
    showProgress(QStringLiteral("Leitor em modo DFU"));
}
