// The reader commands on the window: each slot takes what the form holds,
// runs the command on the selected link and shows what came back.
#include "app/main_window.h"

#include "commands/message_catalogue.h"
#include "ui_MainWindowForm.h"

#include <algorithm>

Reader MainWindow::selectedReader() const
{
    return ui->actionTeclado->isChecked() ? Reader::firstHid()
                                          : Reader::comPort(linkSession.com_port_number);
}

bool MainWindow::succeeded(CommandFailure failure)
{
    if (failure == COMMAND_OK)
        return true;
    show_error(failureMessage(failure));
    return false;
}

bool MainWindow::GetSerialParams()
{
    return linkSession.detectReader();
}

void MainWindow::on_pushButton_firmware_clicked()
{
    runExclusive([this] {
        QString version;
        if (succeeded(commands.readFirmware(selectedReader(), &version)))
            ui->lineEdit_firmware->setText(version);
    });
}

void MainWindow::on_pushButton_getSerial_clicked()
{
    runExclusive([this] {
        QString serialNumber;
        // The field's six-character limit and the digit filter apply.
        if (succeeded(commands.readSerialNumber(selectedReader(), &serialNumber)))
            ui->lineEdit_serial->setText(serialNumber);
    });
}

void MainWindow::on_pushButton_wrtSerial_clicked()
{
    runExclusive([this] {
        QString next;
        if (succeeded(
                commands.writeSerialNumber(selectedReader(), ui->lineEdit_serial->text(), &next)))
            ui->lineEdit_serial->setText(next);
    });
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
    runExclusive([this] { succeeded(commands.enterDfu(selectedReader())); });
}

void MainWindow::readConfigurationIntoForm()
{
    uint8_t config[CONFIG_SERIALIZED_SIZE];
    if (succeeded(commands.readConfiguration(selectedReader(), config)))
        update_gui_from_file(reinterpret_cast<char *>(config));
}

void MainWindow::on_pushButton_getConfig_clicked()
{
    runExclusive([this] { readConfigurationIntoForm(); });
}

void MainWindow::on_pushButton_config_clicked()
{
    runExclusive(
        [this] { succeeded(commands.writeConfiguration(selectedReader(), form.record())); });
}

void MainWindow::on_actionDefault_triggered()
{
    runExclusive([this] {
        if (!succeeded(commands.restoreDefaults(selectedReader())))
            return;
        readConfigurationIntoForm();
        progress.progress(QString::fromUtf8(PROGRESS_DONE));
    });
}
