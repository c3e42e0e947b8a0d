// Lists and the spin box: each stores the value it now shows and marks the
// record. The character lists and the BCC list keep still while the program
// itself fills the form.
#include "app/main_window.h"
#include "config/character_lists.h"
#include "config/config_record.h"
#include "config/protocol_choices.h"
#include "ui_MainWindowForm.h"

namespace {
void store(ConfigRecord &record, BitField field, unsigned value)
{
    record.set(field, value);
    record.markUserEdited();
}

void storeCharacter(ConfigRecord &record, bool fillingForm, SettingByte byte, const QComboBox *list)
{
    if (fillingForm)
        return;
    record.settings[byte] = listIndexToChar(list->currentIndex());
    record.markUserEdited();
}

unsigned inRangeOrZero(int index, int last)
{
    return index >= 0 && index <= last ? static_cast<unsigned>(index) : 0;
}
} // namespace

void MainWindow::on_comboBox_velocidade_currentIndexChanged(int index)
{
    store(configRecord, Field::keyboardSpeed, inRangeOrZero(index, 3));
}

void MainWindow::on_comboBox_baud_currentIndexChanged(int index)
{
    // The list runs from 115200 (code 8) down to 1200 (code 1).
    store(configRecord, Field::baudCode,
          index >= 0 && index <= 7 ? static_cast<unsigned>(8 - index) : 0);
}

void MainWindow::on_comboBox_paridade_currentIndexChanged(int index)
{
    store(configRecord, Field::parity, inRangeOrZero(index, 2));
}

void MainWindow::on_comboBox_byte_currentIndexChanged(int index)
{
    store(configRecord, Field::sevenDataBits, index == 0 ? 1U : 0U);
}

void MainWindow::on_comboBox_stopBits_currentIndexChanged(int index)
{
    store(configRecord, Field::twoStopBits, index != 0 ? 1U : 0U);
}

void MainWindow::on_comboBox_protocol_currentIndexChanged(int index)
{
    storeProtocol(configRecord, index);
    configRecord.markUserEdited();
}

void MainWindow::on_spinBox_releituras_valueChanged(int value)
{
    configRecord.settings[rereadsPlusOne] = static_cast<uint8_t>(value + 1);
    configRecord.markUserEdited();
}

void MainWindow::on_comboBox_bcc_currentIndexChanged(int)
{
    if (fillingForm)
        return;
    configRecord.settings[bccInitialValue] = static_cast<uint8_t>(ui->comboBox_bcc->currentIndex());
    configRecord.markUserEdited();
}

void MainWindow::on_comboBox_indicadorErro_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, errorIndicatorChar, ui->comboBox_indicadorErro);
}

void MainWindow::on_comboBox_erroCMC7_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, cmc7SubstituteChar, ui->comboBox_erroCMC7);
}

void MainWindow::on_comboBox_bbSep1_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, bankSlipSeparator1, ui->comboBox_bbSep1);
}

void MainWindow::on_comboBox_bbSep2_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, bankSlipSeparator2, ui->comboBox_bbSep2);
}

void MainWindow::on_comboBox_concSep1_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, utilityBillSeparator1, ui->comboBox_concSep1);
}

void MainWindow::on_comboBox_concSep2_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, utilityBillSeparator2, ui->comboBox_concSep2);
}

void MainWindow::on_comboBox_CR_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, charBeforeCr, ui->comboBox_CR);
}

void MainWindow::on_comboBox_separadorCMC7_currentIndexChanged(int)
{
    storeCharacter(configRecord, fillingForm, cmc7SeparatorChar, ui->comboBox_separadorCMC7);
}
