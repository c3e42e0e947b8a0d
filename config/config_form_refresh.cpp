// Installs a whole configuration (from a file or from the reader) and shows it
// on every control. Lists and the spin box that move run their handlers, which
// store again the value just loaded; the guarded character lists stay quiet.
#include "config/config_form.h"

#include "config/form_fields.h"
#include "config/protocol_choices.h"

#include <algorithm>
#include <iterator>

namespace {
using C = Control;
} // namespace

ChangedControls ConfigForm::load(const uint8_t block[CONFIG_SERIALIZED_SIZE])
{
    const Snapshot before = snapshot();
    configRecord.deserialize(block);
    filling = true;

    shownName = configRecord.displayName();
    if (configRecord.isOn(Field::cdcInterface))
        refreshSerialInterface();
    else
        refreshKeyboardInterface();
    refreshCmc7();
    refreshSendMode();
    refreshTraction();
    refreshErrorIndicator();
    // Setting a box or a radio button runs no handler, and a list's handler
    // stores only its own field, so the order of the steps shows nowhere.
    for (const FormField &field : formFields())
        if (!hasRefreshRule(field.input))
            showField(field);

    filling = false;
    return changedSince(before);
}

bool ConfigForm::hasRefreshRule(Control control)
{
    // The controls shown by the steps below, and the BCC list, which the
    // refresh leaves alone.
    static const Control ruled[] = {
        C::actionSerial,          C::comboBox_velocidade,
        C::checkBox_SKM,          C::checkBox_CR,
        C::comboBox_baud,         C::comboBox_paridade,
        C::comboBox_byte,         C::comboBox_stopBits,
        C::comboBox_protocol,     C::checkBox_bcc,
        C::comboBox_bcc,          C::checkBox_ackNak,
        C::checkBox_checkCMC7,    C::checkBox_separadorCMC7,
        C::checkBox_subPorLetra,  C::radioButton_leituraOptica,
        C::checkBox_digitoBarras, C::checkBox_valor,
        C::checkBox_zeros,        C::radioButton_modeloBandeja,
        C::checkBox_freio,        C::spinBox_releituras,
        C::checkBox_indicaErro,   C::comboBox_indicadorErro,
        C::lineEdit_cliente,
    };
    return std::find(std::begin(ruled), std::end(ruled), control) != std::end(ruled);
}

// A field without a rule of its own shows as its control stands for it.
void ConfigForm::showField(const FormField &field)
{
    switch (field.kind) {
    case FieldKind::Flag:
        setCheck(field.input, configRecord.isOn(field.bits));
        break;
    case FieldKind::Pair:
        setCheck(configRecord.isOn(field.bits) ? field.input : field.inputWhenClear, true);
        break;
    case FieldKind::List:
    case FieldKind::Character:
        setPosition(field.input, formListPosition(field.list, configRecord.get(field.bits)));
        break;
    default:
        break;
    }
}

void ConfigForm::selectCharacter(Control list, uint8_t byte)
{
    setPosition(list, formListPosition(FormList::Characters, byte));
}

void ConfigForm::refreshSerialInterface()
{
    setCheck(C::actionSerial, true);
    setCheck(C::actionTeclado, false);
    at(C::groupBox_CDC).enabled = true;
    at(C::groupBox_teclado).enabled = false;

    // A code no item stands for leaves the speed list as it was.
    const int baud = formListPosition(FormList::BaudRate, configRecord.get(Field::baudCode));
    if (baud >= 0)
        setPosition(C::comboBox_baud, baud);
    // A parity no item stands for selects none.
    setPosition(C::comboBox_paridade,
                formListPosition(FormList::Parity, configRecord.get(Field::parity)));
    setPosition(C::comboBox_byte,
                formListPosition(FormList::DataBits, configRecord.get(Field::sevenDataBits)));
    setPosition(C::comboBox_stopBits,
                formListPosition(FormList::StopBits, configRecord.get(Field::twoStopBits)));

    // A block check only goes with the STX-D-ETX framing.
    const ProtocolChoice protocol = protocolOf(configRecord);
    if (protocol == PROTOCOL_STX_D_ETX) {
        setPosition(C::comboBox_protocol, protocol);
        at(C::checkBox_bcc).enabled = true;
        setCheck(C::checkBox_bcc, configRecord.isOn(Field::bccEnabled));
        at(C::comboBox_bcc).enabled = state(C::checkBox_bcc).checked;
    } else {
        disableAndUncheck(C::checkBox_bcc);
        at(C::comboBox_bcc).enabled = false;
        setPosition(C::comboBox_protocol, protocol);
    }
    if (configRecord.isOn(Field::bccEnabled))
        setCheck(C::checkBox_ackNak, configRecord.isOn(Field::ackNak));
}

void ConfigForm::refreshKeyboardInterface()
{
    setCheck(C::actionTeclado, true);
    setCheck(C::actionSerial, false);
    at(C::groupBox_teclado).enabled = true;
    at(C::groupBox_CDC).enabled = false;
    setPosition(C::comboBox_velocidade,
                formListPosition(FormList::KeyboardSpeed, configRecord.get(Field::keyboardSpeed)));
    setCheck(C::checkBox_SKM, configRecord.isOn(Field::skm));
    setCheck(C::checkBox_CR, configRecord.isOn(Field::sendCrAfterData));
}

// The enabled states follow the editing rules, so the form never offers a
// control that the rules would have disabled.
void ConfigForm::refreshCmc7()
{
    const bool verify = configRecord.isOn(Field::cmc7VerifyCheckDigit);
    const bool separator = verify && configRecord.isOn(Field::cmc7SendSeparator);
    setCheck(C::checkBox_checkCMC7, verify);
    at(C::checkBox_subPorLetra).enabled = verify;
    setCheck(C::checkBox_subPorLetra,
             verify && configRecord.isOn(Field::cmc7ReplaceBlockByLetters));
    // The separator can only be chosen while check digits are verified.
    at(C::checkBox_separadorCMC7).enabled = verify;
    setCheck(C::checkBox_separadorCMC7, separator);
    at(C::comboBox_separadorCMC7).enabled = separator;
}

void ConfigForm::refreshSendMode()
{
    const bool optical = configRecord.isOn(Field::opticalMode);
    at(C::groupBox_bbSep).enabled = !optical;
    at(C::groupBox_cpSep).enabled = !optical;
    at(C::checkBox_digitoBarras).enabled = !optical;
    if (optical) {
        setCheck(C::radioButton_leituraOptica, true);
        // As read, neither the amount nor the zeros can be chosen.
        disableAndUncheck(C::checkBox_valor);
        disableAndUncheck(C::checkBox_zeros);
        return;
    }
    setCheck(C::radioButton_leituraDigitado, true);
    setCheck(C::checkBox_digitoBarras, configRecord.isOn(Field::sendCheckDigit));
    const bool checkDigit = state(C::checkBox_digitoBarras).checked;
    at(C::checkBox_valor).enabled = checkDigit;
    at(C::checkBox_zeros).enabled = checkDigit;
    setCheck(C::checkBox_valor, configRecord.isOn(Field::sendValue));
    setCheck(C::checkBox_zeros, configRecord.isOn(Field::sendZeros));
}

void ConfigForm::refreshTraction()
{
    const bool tray = configRecord.isOn(Field::trayModel);
    const bool stop = configRecord.isOn(Field::documentStop);
    setCheck(tray ? C::radioButton_modeloBandeja : C::radioButton_modeloFreio, true);
    at(C::groupBox_estacionar).enabled = !tray && stop;
    setCheck(C::checkBox_freio, stop);
    at(C::spinBox_releituras).enabled = stop;
    if (stop)
        setPosition(C::spinBox_releituras, configRecord.settings[rereadsPlusOne] - 1);
}

void ConfigForm::refreshErrorIndicator()
{
    const bool indicate = configRecord.isOn(Field::sendErrorIndicator);
    setCheck(C::checkBox_indicaErro, indicate);
    at(C::comboBox_indicadorErro).enabled = indicate;
    if (indicate)
        selectCharacter(C::comboBox_indicadorErro, configRecord.settings[errorIndicatorChar]);
}
