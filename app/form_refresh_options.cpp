// Form refresh of the options that other controls depend on. The enabled
// states follow the editing rules, so the form never offers a control that
// the rules would have disabled.
#include "app/list_selection.h"
#include "app/main_window.h"
#include "config/character_lists.h"
#include "config/config_record.h"
#include "ui_MainWindowForm.h"

void MainWindow::refreshCmc7()
{
    const bool verify = configRecord.isOn(Field::cmc7VerifyCheckDigit);
    const bool separator = verify && configRecord.isOn(Field::cmc7SendSeparator);
    const bool letters = verify && configRecord.isOn(Field::cmc7ReplaceBlockByLetters);
    ui->checkBox_checkCMC7->setChecked(verify);
    ui->checkBox_subPorLetra->setEnabled(verify);
    ui->checkBox_subPorLetra->setChecked(letters);
    // The separator can only be chosen while check digits are verified.
    ui->checkBox_separadorCMC7->setEnabled(verify);
    ui->checkBox_separadorCMC7->setChecked(separator);
    ui->comboBox_separadorCMC7->setEnabled(separator);
}

void MainWindow::refreshSendMode()
{
    const bool optical = configRecord.isOn(Field::opticalMode);
    ui->groupBox_bbSep->setEnabled(!optical);
    ui->groupBox_cpSep->setEnabled(!optical);
    ui->checkBox_digitoBarras->setEnabled(!optical);
    if (optical) {
        ui->radioButton_leituraOptica->setChecked(true);
        // As read, neither the amount nor the zeros can be chosen.
        for (QCheckBox *box : {ui->checkBox_valor, ui->checkBox_zeros}) {
            box->setEnabled(false);
            box->setChecked(false);
        }
        return;
    }
    ui->radioButton_leituraDigitado->setChecked(true);
    ui->checkBox_digitoBarras->setChecked(configRecord.isOn(Field::sendCheckDigit));
    const bool checkDigit = ui->checkBox_digitoBarras->isChecked();
    ui->checkBox_valor->setEnabled(checkDigit);
    ui->checkBox_zeros->setEnabled(checkDigit);
    ui->checkBox_valor->setChecked(configRecord.isOn(Field::sendValue));
    ui->checkBox_zeros->setChecked(configRecord.isOn(Field::sendZeros));
}

void MainWindow::refreshTraction()
{
    const bool tray = configRecord.isOn(Field::trayModel);
    const bool stop = configRecord.isOn(Field::documentStop);
    if (tray)
        ui->radioButton_modeloBandeja->setChecked(true);
    else
        ui->radioButton_modeloFreio->setChecked(true);
    ui->groupBox_estacionar->setEnabled(!tray && stop);
    ui->checkBox_freio->setChecked(stop);
    ui->spinBox_releituras->setEnabled(stop);
    // The spin box holds 0 to 3 and clamps the rest.
    if (stop)
        ui->spinBox_releituras->setValue(configRecord.settings[rereadsPlusOne] - 1);
    if (configRecord.isOn(Field::parkAtEntry))
        ui->radioButton_entrada->setChecked(true);
    else
        ui->radioButton_saida->setChecked(true);
}

void MainWindow::refreshErrorIndicator()
{
    const bool indicate = configRecord.isOn(Field::sendErrorIndicator);
    ui->checkBox_indicaErro->setChecked(indicate);
    ui->comboBox_indicadorErro->setEnabled(indicate);
    if (indicate)
        selectListPosition(ui->comboBox_indicadorErro,
                           charToListIndex(configRecord.settings[errorIndicatorChar]));
}
