// The "Dispositivo" menu: which interface the reader is set to, which is also
// the link the commands take. The two actions are exclusive whatever the click
// did to their check marks.
#include "app/main_window.h"
#include "app/serial_port_dialog.h"
#include "config/character_lists.h"
#include "config/config_record.h"
#include "ui_MainWindowForm.h"

void MainWindow::on_actionTeclado_triggered()
{
    configRecord.set(Field::cdcInterface, 0);
    ui->actionTeclado->setChecked(true);
    ui->actionSerial->setChecked(false);
    ui->groupBox_teclado->setEnabled(true);
    ui->groupBox_CDC->setEnabled(false);

    // The keyboard settings come back from what the form shows.
    configRecord.setOn(Field::skm, ui->checkBox_SKM->isChecked());
    configRecord.setOn(Field::sendCrAfterData, ui->checkBox_CR->isChecked());
    on_comboBox_velocidade_currentIndexChanged(ui->comboBox_velocidade->currentIndex());
    if (!fillingForm)
        configRecord.settings[charBeforeCr] = listIndexToChar(ui->comboBox_CR->currentIndex());
    configRecord.markUserEdited();
}

void MainWindow::on_actionSerial_triggered()
{
    {
        // The port is taken whether the operator accepts the dialog or not.
        SerialPortDialog dialog;
        dialog.exec();
        linkSession.com_port_number = portNumberFromItem(dialog.portList()->currentText());
    }
    configRecord.set(Field::cdcInterface, 1);
    ui->actionSerial->setChecked(true);
    ui->actionTeclado->setChecked(false);
    ui->groupBox_teclado->setEnabled(false);
    ui->groupBox_CDC->setEnabled(true);

    // The serial settings come back from what the form shows.
    on_comboBox_baud_currentIndexChanged(ui->comboBox_baud->currentIndex());
    on_comboBox_paridade_currentIndexChanged(ui->comboBox_paridade->currentIndex());
    on_comboBox_stopBits_currentIndexChanged(ui->comboBox_stopBits->currentIndex());
    on_comboBox_byte_currentIndexChanged(ui->comboBox_byte->currentIndex());
    on_checkBox_bcc_clicked();
    if (ui->checkBox_bcc->isChecked() && !fillingForm)
        configRecord.settings[bccInitialValue] =
            static_cast<uint8_t>(ui->comboBox_bcc->currentIndex());
    configRecord.setOn(Field::ackNak, ui->checkBox_ackNak->isChecked());
    configRecord.markUserEdited();
}
