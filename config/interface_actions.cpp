// The "Dispositivo" menu: which interface the reader is set to, which is also
// the link the commands take. The two actions are exclusive whatever the click
// did to their check marks.
#include "app/main_window.h"
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
    configRecord.set(Field::skm, ui->checkBox_SKM->isChecked());
    configRecord.set(Field::sendCrAfterData, ui->checkBox_CR->isChecked());
    on_comboBox_velocidade_currentIndexChanged(ui->comboBox_velocidade->currentIndex());
    if (!fillingForm)
        configRecord.settings[charBeforeCr] = listIndexToChar(ui->comboBox_CR->currentIndex());
    configRecord.markUserEdited();
}
