// Installs a whole configuration (from a file or from the reader) and shows it
// on every control. Lists and the spin box that move run their handlers, which
// store again the value just loaded; the guarded character lists stay quiet.
#include "app/list_selection.h"
#include "app/main_window.h"
#include "config/character_lists.h"
#include "config/config_record.h"
#include "config/protocol_choices.h"
#include "ui_MainWindowForm.h"

namespace {
void selectCharacter(QComboBox *list, const ConfigRecord &record, SettingByte byte)
{
    selectListPosition(list, charToListIndex(record.settings[byte]));
}
} // namespace

void MainWindow::update_gui_from_file(char *file)
{
    configRecord.deserialize(reinterpret_cast<const uint8_t *>(file));
    fillingForm = true;

    ui->lineEdit_cliente->setText(configRecord.displayName());
    if (configRecord.isOn(Field::abntLayout))
        ui->radioButton_abnt->setChecked(true);
    else
        ui->radioButton_eng->setChecked(true);
    if (configRecord.isOn(Field::cdcInterface))
        refreshSerialInterface();
    else
        refreshKeyboardInterface();

    selectCharacter(ui->comboBox_bbSep1, configRecord, bankSlipSeparator1);
    selectCharacter(ui->comboBox_bbSep2, configRecord, bankSlipSeparator2);
    selectCharacter(ui->comboBox_concSep1, configRecord, utilityBillSeparator1);
    selectCharacter(ui->comboBox_concSep2, configRecord, utilityBillSeparator2);
    selectCharacter(ui->comboBox_CR, configRecord, charBeforeCr);

    refreshCmc7();
    selectCharacter(ui->comboBox_separadorCMC7, configRecord, cmc7SeparatorChar);
    selectCharacter(ui->comboBox_erroCMC7, configRecord, cmc7SubstituteChar);
    ui->checkBox_recuperarCMC7->setChecked(configRecord.isOn(Field::cmc7Recover));
    ui->checkBox_enviarInvertido->setChecked(configRecord.get(Field::cmc7SendReversedOnError) !=
                                             0u);
    ui->checkBox_check2de5->setChecked(configRecord.isOn(Field::verify2of5CheckDigit));

    refreshSendMode();
    ui->checkBox_enviarQuestion->setChecked(configRecord.isOn(Field::cmc7SendOnError));
    ui->checkBox_esperarDocumento->setChecked(configRecord.isOn(Field::waitForDocument));
    refreshTraction();
    ui->checkBox_tipoDecodificado->setChecked(configRecord.isOn(Field::dataTypeIdentifier));
    refreshErrorIndicator();

    fillingForm = false;
}

void MainWindow::refreshSerialInterface()
{
    ui->actionSerial->setChecked(true);
    ui->actionTeclado->setChecked(false);
    ui->groupBox_CDC->setEnabled(true);
    ui->groupBox_teclado->setEnabled(false);

    // Codes 1 (1200) to 8 (115200) stand at positions 7 to 0; others leave the list.
    const unsigned baud = configRecord.get(Field::baudCode);
    if (baud >= 1 && baud <= 8)
        selectListPosition(ui->comboBox_baud, 8 - static_cast<int>(baud));
    selectListPosition(ui->comboBox_paridade, static_cast<int>(configRecord.get(Field::parity)));
    selectListPosition(ui->comboBox_byte, configRecord.isOn(Field::sevenDataBits) ? 0 : 1);
    selectListPosition(ui->comboBox_stopBits, configRecord.isOn(Field::twoStopBits) ? 1 : 0);

    // A block check only goes with the STX-D-ETX framing.
    const ProtocolChoice protocol = protocolOf(configRecord);
    if (protocol == PROTOCOL_STX_D_ETX) {
        selectListPosition(ui->comboBox_protocol, protocol);
        ui->checkBox_bcc->setEnabled(true);
        ui->checkBox_bcc->setChecked(configRecord.isOn(Field::bccEnabled));
        ui->comboBox_bcc->setEnabled(ui->checkBox_bcc->isChecked());
    } else {
        ui->checkBox_bcc->setEnabled(false);
        ui->checkBox_bcc->setChecked(false);
        ui->comboBox_bcc->setEnabled(false);
        selectListPosition(ui->comboBox_protocol, protocol);
    }
    if (configRecord.isOn(Field::bccEnabled))
        ui->checkBox_ackNak->setChecked(configRecord.isOn(Field::ackNak));
}

void MainWindow::refreshKeyboardInterface()
{
    ui->actionTeclado->setChecked(true);
    ui->actionSerial->setChecked(false);
    ui->groupBox_teclado->setEnabled(true);
    ui->groupBox_CDC->setEnabled(false);
    selectListPosition(ui->comboBox_velocidade,
                       static_cast<int>(configRecord.get(Field::keyboardSpeed)));
    ui->checkBox_SKM->setChecked(configRecord.isOn(Field::skm));
    ui->checkBox_CR->setChecked(configRecord.isOn(Field::sendCrAfterData));
}
