// One-bit controls: each stores its own bit and marks the record, nothing else.
#include "app/main_window.h"
#include "config/config_record.h"
#include "ui_MainWindowForm.h"

namespace {
void storeBox(ConfigRecord &record, BitField field, const QAbstractButton *box)
{
    record.setOn(field, box->isChecked());
    record.markUserEdited();
}

// A radio button stands for one value of its field, whatever its state.
void storeChoice(ConfigRecord &record, BitField field, unsigned value)
{
    record.set(field, value);
    record.markUserEdited();
}
} // namespace

void MainWindow::on_checkBox_SKM_clicked()
{
    storeBox(configRecord, Field::skm, ui->checkBox_SKM);
}

void MainWindow::on_checkBox_CR_clicked()
{
    storeBox(configRecord, Field::sendCrAfterData, ui->checkBox_CR);
}

void MainWindow::on_checkBox_zeros_clicked()
{
    storeBox(configRecord, Field::sendZeros, ui->checkBox_zeros);
}

void MainWindow::on_checkBox_recuperarCMC7_clicked()
{
    storeBox(configRecord, Field::cmc7Recover, ui->checkBox_recuperarCMC7);
}

void MainWindow::on_checkBox_enviarInvertido_clicked()
{
    storeBox(configRecord, Field::cmc7SendReversedOnError, ui->checkBox_enviarInvertido);
}

void MainWindow::on_checkBox_tipoDecodificado_clicked()
{
    storeBox(configRecord, Field::dataTypeIdentifier, ui->checkBox_tipoDecodificado);
}

void MainWindow::on_checkBox_subPorLetra_clicked()
{
    storeBox(configRecord, Field::cmc7ReplaceBlockByLetters, ui->checkBox_subPorLetra);
}

void MainWindow::on_checkBox_enviarQuestion_clicked()
{
    storeBox(configRecord, Field::cmc7SendOnError, ui->checkBox_enviarQuestion);
}

void MainWindow::on_checkBox_esperarDocumento_clicked()
{
    storeBox(configRecord, Field::waitForDocument, ui->checkBox_esperarDocumento);
}

void MainWindow::on_checkBox_check2de5_clicked()
{
    storeBox(configRecord, Field::verify2of5CheckDigit, ui->checkBox_check2de5);
}

void MainWindow::on_checkBox_ackNak_clicked()
{
    storeBox(configRecord, Field::ackNak, ui->checkBox_ackNak);
}

void MainWindow::on_radioButton_abnt_clicked()
{
    storeChoice(configRecord, Field::abntLayout, 1);
}

void MainWindow::on_radioButton_eng_clicked()
{
    storeChoice(configRecord, Field::abntLayout, 0);
}

void MainWindow::on_radioButton_entrada_clicked()
{
    storeChoice(configRecord, Field::parkAtEntry, 1);
}

void MainWindow::on_radioButton_saida_clicked()
{
    storeChoice(configRecord, Field::parkAtEntry, 0);
}
