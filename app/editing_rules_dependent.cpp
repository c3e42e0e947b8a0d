// Controls that other options depend on: each stores its field and enables,
// disables, checks or unchecks the controls that follow it.
#include "app/main_window.h"
#include "config/character_lists.h"
#include "config/config_record.h"
#include "ui_MainWindowForm.h"

namespace {
void disableAndUncheck(QAbstractButton *box)
{
    box->setEnabled(false);
    box->setChecked(false);
}
} // namespace

void MainWindow::on_checkBox_valor_clicked()
{
    const bool checked = ui->checkBox_valor->isChecked();
    configRecord.setOn(Field::sendValue, checked);
    // Zeros are only sent together with the amount.
    configRecord.setOn(Field::sendZeros, checked && ui->checkBox_zeros->isChecked());
    configRecord.markUserEdited();
}

void MainWindow::on_checkBox_digitoBarras_clicked()
{
    const bool checked = ui->checkBox_digitoBarras->isChecked();
    ui->checkBox_valor->setEnabled(checked);
    ui->checkBox_zeros->setEnabled(checked);
    if (!checked) {
        ui->checkBox_valor->setChecked(false);
        ui->checkBox_zeros->setChecked(false);
    }
    configRecord.setOn(Field::sendCheckDigit, checked);
    configRecord.markUserEdited();
}

void MainWindow::on_radioButton_leituraOptica_clicked()
{
    // As read, a barcode goes out without separators, check digit, amount or zeros.
    configRecord.set(Field::opticalMode, 1);
    disableAndUncheck(ui->checkBox_digitoBarras);
    ui->groupBox_bbSep->setEnabled(false);
    ui->groupBox_cpSep->setEnabled(false);
    for (SettingByte byte :
         {bankSlipSeparator1, bankSlipSeparator2, utilityBillSeparator1, utilityBillSeparator2})
        configRecord.settings[byte] = 0;
    disableAndUncheck(ui->checkBox_zeros);
    disableAndUncheck(ui->checkBox_valor);
    configRecord.set(Field::sendValue, 0);
    configRecord.set(Field::sendZeros, 0);
    configRecord.set(Field::sendCheckDigit, 0);
    configRecord.markUserEdited();
}

void MainWindow::on_radioButton_leituraDigitado_clicked()
{
    configRecord.set(Field::opticalMode, 0);
    ui->checkBox_digitoBarras->setEnabled(true);
    ui->groupBox_bbSep->setEnabled(true);
    ui->groupBox_cpSep->setEnabled(true);
    // The separators come back from the lists, which kept their selections.
    configRecord.settings[bankSlipSeparator1] =
        listIndexToChar(ui->comboBox_bbSep1->currentIndex());
    configRecord.settings[bankSlipSeparator2] =
        listIndexToChar(ui->comboBox_bbSep2->currentIndex());
    configRecord.settings[utilityBillSeparator1] =
        listIndexToChar(ui->comboBox_concSep1->currentIndex());
    configRecord.settings[utilityBillSeparator2] =
        listIndexToChar(ui->comboBox_concSep2->currentIndex());
    ui->checkBox_zeros->setEnabled(true);
    ui->checkBox_valor->setEnabled(true);
    on_checkBox_valor_clicked();
    configRecord.setOn(Field::sendZeros, ui->checkBox_zeros->isChecked());
    configRecord.markUserEdited();
    on_checkBox_digitoBarras_clicked();
}

void MainWindow::on_checkBox_separadorCMC7_clicked()
{
    const bool checked = ui->checkBox_separadorCMC7->isChecked();
    configRecord.setOn(Field::cmc7SendSeparator, checked);
    ui->comboBox_separadorCMC7->setEnabled(checked);
    if (checked && !fillingForm)
        on_comboBox_separadorCMC7_currentIndexChanged(ui->comboBox_separadorCMC7->currentIndex());
    configRecord.markUserEdited();
}

void MainWindow::on_checkBox_checkCMC7_clicked()
{
    const bool checked = ui->checkBox_checkCMC7->isChecked();
    configRecord.setOn(Field::cmc7VerifyCheckDigit, checked);
    if (checked) {
        ui->checkBox_separadorCMC7->setEnabled(true);
        ui->comboBox_separadorCMC7->setEnabled(ui->checkBox_separadorCMC7->isChecked());
        on_checkBox_separadorCMC7_clicked();
        if (!fillingForm)
            on_comboBox_separadorCMC7_currentIndexChanged(
                ui->comboBox_separadorCMC7->currentIndex());
        configRecord.set(Field::cmc7SendReversedOnError, 0);
        ui->checkBox_subPorLetra->setEnabled(true);
    } else {
        configRecord.set(Field::cmc7Recover, 0);
        disableAndUncheck(ui->checkBox_separadorCMC7);
        ui->comboBox_separadorCMC7->setEnabled(false);
        disableAndUncheck(ui->checkBox_subPorLetra);
    }
    configRecord.markUserEdited();
}

void MainWindow::on_checkBox_indicaErro_clicked()
{
    const bool checked = ui->checkBox_indicaErro->isChecked();
    configRecord.setOn(Field::sendErrorIndicator, checked);
    ui->comboBox_indicadorErro->setEnabled(checked);
    if (checked) {
        if (!fillingForm)
            on_comboBox_indicadorErro_currentIndexChanged(
                ui->comboBox_indicadorErro->currentIndex());
    } else {
        configRecord.settings[errorIndicatorChar] = 0;
    }
    configRecord.markUserEdited();
}

void MainWindow::on_checkBox_bcc_clicked()
{
    const bool checked = ui->checkBox_bcc->isChecked();
    configRecord.setOn(Field::bccEnabled, checked);
    ui->comboBox_bcc->setEnabled(checked);
    configRecord.settings[bccInitialValue] =
        checked ? static_cast<uint8_t>(ui->comboBox_bcc->currentIndex()) : 0;
    configRecord.markUserEdited();
}

void MainWindow::on_radioButton_modeloBandeja_clicked()
{
    // A tray model has no parking choice.
    configRecord.set(Field::trayModel, 1);
    configRecord.set(Field::parkAtEntry, 0);
    ui->groupBox_estacionar->setEnabled(false);
    const bool stop = ui->checkBox_freio->isChecked();
    configRecord.setOn(Field::documentStop, stop);
    ui->spinBox_releituras->setEnabled(stop);
    configRecord.settings[rereadsPlusOne] =
        stop ? static_cast<uint8_t>(ui->spinBox_releituras->value() + 1) : 1;
    configRecord.markUserEdited();
}

void MainWindow::on_radioButton_modeloFreio_clicked()
{
    configRecord.set(Field::trayModel, 0);
    configRecord.set(Field::parkAtEntry, 0);
    configRecord.set(Field::documentStop, 0);
    const bool stop = ui->checkBox_freio->isChecked();
    ui->spinBox_releituras->setEnabled(stop);
    ui->groupBox_estacionar->setEnabled(stop);
    if (stop) {
        configRecord.set(Field::documentStop, 1);
        configRecord.settings[rereadsPlusOne] =
            static_cast<uint8_t>(ui->spinBox_releituras->value() + 1);
    } else {
        configRecord.settings[rereadsPlusOne] = 1;
        if (ui->radioButton_entrada->isChecked())
            configRecord.set(Field::parkAtEntry, 1);
    }
    configRecord.markUserEdited();
}

void MainWindow::on_checkBox_freio_clicked()
{
    const bool stop = ui->checkBox_freio->isChecked();
    configRecord.setOn(Field::documentStop, stop);
    ui->spinBox_releituras->setEnabled(stop);
    if (stop) {
        configRecord.settings[rereadsPlusOne] =
            static_cast<uint8_t>(ui->spinBox_releituras->value() + 1);
    } else {
        configRecord.settings[rereadsPlusOne] = 1;
        if (ui->radioButton_modeloFreio->isChecked()) {
            const bool atEntry = ui->radioButton_entrada->isChecked();
            if (atEntry)
                configRecord.set(Field::parkAtEntry, 1);
            ui->groupBox_estacionar->setEnabled(atEntry);
        }
    }
    configRecord.markUserEdited();
}
