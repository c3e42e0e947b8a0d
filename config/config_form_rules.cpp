// The controls that other options depend on: each stores its field and
// enables, disables, checks or unchecks the controls that follow it. Some
// read another control's state rather than its field, and some leave a box
// checked while its bit is cleared: the form keeps what the operator chose
// there, the record what the reader is to do.
#include "config/config_form.h"

#include "config/form_fields.h"

namespace {
using C = Control;
} // namespace

void ConfigForm::disableAndUncheck(Control box)
{
    at(box).enabled = false;
    at(box).checked = false;
}

void ConfigForm::sendValueClicked()
{
    const bool checked = state(C::checkBox_valor).checked;
    configRecord.setOn(Field::sendValue, checked);
    // Zeros are only sent together with the amount; the zeros box keeps its mark.
    configRecord.setOn(Field::sendZeros, checked && state(C::checkBox_zeros).checked);
    mark();
}

void ConfigForm::checkDigitClicked()
{
    const bool checked = state(C::checkBox_digitoBarras).checked;
    at(C::checkBox_valor).enabled = checked;
    at(C::checkBox_zeros).enabled = checked;
    if (!checked) {
        // The boxes lose their marks, their bits stay.
        at(C::checkBox_valor).checked = false;
        at(C::checkBox_zeros).checked = false;
    }
    configRecord.setOn(Field::sendCheckDigit, checked);
    mark();
}

void ConfigForm::opticalModeClicked()
{
    // As read, a barcode goes out without separators, check digit, amount or zeros.
    configRecord.set(Field::opticalMode, 1);
    disableAndUncheck(C::checkBox_digitoBarras);
    at(C::groupBox_bbSep).enabled = false;
    at(C::groupBox_cpSep).enabled = false;
    for (SettingByte byte :
         {bankSlipSeparator1, bankSlipSeparator2, utilityBillSeparator1, utilityBillSeparator2})
        configRecord.settings[byte] = 0;
    disableAndUncheck(C::checkBox_zeros);
    disableAndUncheck(C::checkBox_valor);
    configRecord.set(Field::sendValue, 0);
    configRecord.set(Field::sendZeros, 0);
    configRecord.set(Field::sendCheckDigit, 0);
    mark();
}

void ConfigForm::typedModeClicked()
{
    configRecord.set(Field::opticalMode, 0);
    at(C::checkBox_digitoBarras).enabled = true;
    at(C::groupBox_bbSep).enabled = true;
    at(C::groupBox_cpSep).enabled = true;
    // The separators come back from the lists, which kept their selections,
    // whatever the guard says.
    for (Control list :
         {C::comboBox_bbSep1, C::comboBox_bbSep2, C::comboBox_concSep1, C::comboBox_concSep2})
        configRecord.settings[fieldEditedBy(list)->bits.byte] =
            static_cast<uint8_t>(formListValue(FormList::Characters, state(list).value));
    at(C::checkBox_zeros).enabled = true;
    at(C::checkBox_valor).enabled = true;
    sendValueClicked();
    configRecord.setOn(Field::sendZeros, state(C::checkBox_zeros).checked);
    mark();
    checkDigitClicked();
}

void ConfigForm::cmc7SeparatorClicked()
{
    const bool checked = state(C::checkBox_separadorCMC7).checked;
    configRecord.setOn(Field::cmc7SendSeparator, checked);
    at(C::comboBox_separadorCMC7).enabled = checked;
    if (checked && !filling)
        storeSelection(C::comboBox_separadorCMC7);
    mark();
}

void ConfigForm::cmc7CheckDigitClicked()
{
    const bool checked = state(C::checkBox_checkCMC7).checked;
    configRecord.setOn(Field::cmc7VerifyCheckDigit, checked);
    if (checked) {
        at(C::checkBox_separadorCMC7).enabled = true;
        at(C::comboBox_separadorCMC7).enabled = state(C::checkBox_separadorCMC7).checked;
        cmc7SeparatorClicked();
        if (!filling)
            storeSelection(C::comboBox_separadorCMC7);
        // The reversed-data box keeps its mark.
        configRecord.set(Field::cmc7SendReversedOnError, 0);
        at(C::checkBox_subPorLetra).enabled = true;
    } else {
        // The recover box keeps its mark; separator and letters keep their bits.
        configRecord.set(Field::cmc7Recover, 0);
        disableAndUncheck(C::checkBox_separadorCMC7);
        at(C::comboBox_separadorCMC7).enabled = false;
        disableAndUncheck(C::checkBox_subPorLetra);
    }
    mark();
}

void ConfigForm::errorIndicatorClicked()
{
    const bool checked = state(C::checkBox_indicaErro).checked;
    configRecord.setOn(Field::sendErrorIndicator, checked);
    at(C::comboBox_indicadorErro).enabled = checked;
    if (checked) {
        if (!filling)
            storeSelection(C::comboBox_indicadorErro);
    } else {
        configRecord.settings[errorIndicatorChar] = 0;
    }
    mark();
}

void ConfigForm::blockCheckClicked()
{
    // Not guarded: the hidden list's position is taken whatever the flag says.
    const bool checked = state(C::checkBox_bcc).checked;
    configRecord.setOn(Field::bccEnabled, checked);
    at(C::comboBox_bcc).enabled = checked;
    configRecord.settings[bccInitialValue] =
        checked ? static_cast<uint8_t>(state(C::comboBox_bcc).value) : 0;
    mark();
}

void ConfigForm::trayModelClicked()
{
    // A tray model has no parking choice.
    configRecord.set(Field::trayModel, 1);
    configRecord.set(Field::parkAtEntry, 0);
    at(C::groupBox_estacionar).enabled = false;
    const bool stop = state(C::checkBox_freio).checked;
    configRecord.setOn(Field::documentStop, stop);
    at(C::spinBox_releituras).enabled = stop;
    configRecord.settings[rereadsPlusOne] =
        stop ? static_cast<uint8_t>(state(C::spinBox_releituras).value + 1) : 1;
    mark();
}

void ConfigForm::brakeModelClicked()
{
    configRecord.set(Field::trayModel, 0);
    configRecord.set(Field::parkAtEntry, 0);
    configRecord.set(Field::documentStop, 0);
    const bool stop = state(C::checkBox_freio).checked;
    at(C::spinBox_releituras).enabled = stop;
    at(C::groupBox_estacionar).enabled = stop;
    if (stop) {
        configRecord.set(Field::documentStop, 1);
        configRecord.settings[rereadsPlusOne] =
            static_cast<uint8_t>(state(C::spinBox_releituras).value + 1);
    } else {
        configRecord.settings[rereadsPlusOne] = 1;
        if (state(C::radioButton_entrada).checked)
            configRecord.set(Field::parkAtEntry, 1);
    }
    mark();
}

void ConfigForm::documentStopClicked()
{
    const bool stop = state(C::checkBox_freio).checked;
    configRecord.setOn(Field::documentStop, stop);
    at(C::spinBox_releituras).enabled = stop;
    if (stop) {
        configRecord.settings[rereadsPlusOne] =
            static_cast<uint8_t>(state(C::spinBox_releituras).value + 1);
    } else {
        configRecord.settings[rereadsPlusOne] = 1;
        if (state(C::radioButton_modeloFreio).checked) {
            const bool atEntry = state(C::radioButton_entrada).checked;
            if (atEntry)
                configRecord.set(Field::parkAtEntry, 1);
            at(C::groupBox_estacionar).enabled = atEntry;
        }
    }
    mark();
}
