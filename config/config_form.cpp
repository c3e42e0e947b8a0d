// The form model's state, its start-up, and the operator's actions that
// store one field each: the one-bit controls, the lists and the spin box.
// The rules of the controls that others depend on are in
// config_form_rules.cpp, the refresh in config_form_refresh.cpp.
#include "config/config_form.h"

#include "config/form_fields.h"
#include "config/protocol_choices.h"

#include <algorithm>

namespace {
using C = Control;

// The form's own initial states that differ from enabled, unchecked, 0.
struct InitialState
{
    Control control;
    bool enabled;
    bool checked;
    int value;
};

const InitialState initialStates[] = {
    {C::comboBox_velocidade, true, false, 3},
    {C::radioButton_abnt, true, true, 0},
    {C::checkBox_CR, true, true, 0},
    {C::comboBox_CR, true, false, -1},
    {C::groupBox_CDC, false, false, 0},
    {C::comboBox_baud, true, false, 6},
    {C::comboBox_stopBits, true, false, 1},
    {C::checkBox_bcc, true, true, 0},
    // Start-up hides the BCC list and takes it out of reach.
    {C::comboBox_bcc, false, false, -1},
    {C::checkBox_ackNak, true, true, 0},
    {C::checkBox_separadorCMC7, false, false, 0},
    {C::comboBox_separadorCMC7, false, false, 0},
    {C::checkBox_enviarQuestion, true, true, 0},
    {C::checkBox_subPorLetra, false, false, 0},
    {C::checkBox_esperarDocumento, false, false, 0},
    {C::comboBox_indicadorErro, false, false, 0},
    {C::radioButton_modeloFreio, true, true, 0},
    {C::radioButton_entrada, true, true, 0},
    {C::checkBox_freio, true, true, 0},
    {C::spinBox_releituras, true, false, 1},
    {C::radioButton_leituraOptica, true, true, 0},
    // Start-up hides it and takes it out of reach.
    {C::checkBox_check2de5, false, false, 0},
    {C::groupBox_cpSep, false, false, 0},
    {C::groupBox_bbSep, false, false, 0},
    {C::checkBox_zeros, false, false, 0},
    {C::checkBox_valor, false, false, 0},
    {C::checkBox_digitoBarras, false, false, 0},
    {C::actionTeclado, true, true, 0},
};

// The character lists and the record bytes they are set from at start-up, in
// that order.
const Control startUpCharacterLists[] = {
    C::comboBox_erroCMC7,      C::comboBox_bbSep1,   C::comboBox_bbSep2,
    C::comboBox_concSep1,      C::comboBox_concSep2, C::comboBox_separadorCMC7,
    C::comboBox_indicadorErro, C::comboBox_CR,
};

const int BCC_START_UP_POSITION = 2;

int listSize(Control list)
{
    const FormField *field = fieldEditedBy(list);
    return field ? formListCount(field->list) : 0;
}
} // namespace

ConfigForm::ConfigForm()
{
    for (const InitialState &initial : initialStates)
        at(initial.control) = {initial.enabled, initial.checked, initial.value};
    filling = true;
    // The guard keeps the BCC and character lists' handlers from storing:
    // the record gets the defaults, the name stays empty.
    setPosition(C::comboBox_bcc, BCC_START_UP_POSITION);
    configRecord.initialise();
    for (Control list : startUpCharacterLists)
        selectCharacter(list, configRecord.settings[fieldEditedBy(list)->bits.byte]);
    filling = false;
}

const ControlState &ConfigForm::state(Control control) const
{
    return states[static_cast<size_t>(control)];
}

ControlState &ConfigForm::at(Control control)
{
    return states[static_cast<size_t>(control)];
}

ConfigForm::Snapshot ConfigForm::snapshot() const
{
    Snapshot taken;
    std::copy(std::begin(states), std::end(states), taken.states);
    taken.name = shownName;
    return taken;
}

ChangedControls ConfigForm::changedSince(const Snapshot &before) const
{
    ChangedControls changed;
    for (size_t i = 0; i < FORM_CONTROL_COUNT; ++i) {
        const ControlState &now = states[i];
        const ControlState &then = before.states[i];
        if (now.enabled != then.enabled || now.checked != then.checked || now.value != then.value)
            changed.add(static_cast<Control>(i));
    }
    if (shownName != before.name)
        changed.add(C::lineEdit_cliente);
    return changed;
}

ChangedControls ConfigForm::click(Control button, bool checked)
{
    const Snapshot before = snapshot();
    setCheck(button, checked);
    clicked(button);
    return changedSince(before);
}

ChangedControls ConfigForm::select(Control control, int position)
{
    const Snapshot before = snapshot();
    setPosition(control, position);
    return changedSince(before);
}

ChangedControls ConfigForm::chooseKeyboard()
{
    const Snapshot before = snapshot();
    configRecord.set(Field::cdcInterface, 0);
    setCheck(C::actionTeclado, true);
    setCheck(C::actionSerial, false);
    at(C::groupBox_teclado).enabled = true;
    at(C::groupBox_CDC).enabled = false;
    // The keyboard settings come back from what the form shows.
    storeFlag(Field::skm, C::checkBox_SKM);
    storeFlag(Field::sendCrAfterData, C::checkBox_CR);
    storeSelection(C::comboBox_velocidade);
    if (!filling)
        configRecord.settings[charBeforeCr] =
            static_cast<uint8_t>(formListValue(FormList::Characters, state(C::comboBox_CR).value));
    mark();
    return changedSince(before);
}

ChangedControls ConfigForm::chooseSerial(int comPortNumber)
{
    const Snapshot before = snapshot();
    portNumber = comPortNumber;
    configRecord.set(Field::cdcInterface, 1);
    setCheck(C::actionSerial, true);
    setCheck(C::actionTeclado, false);
    at(C::groupBox_teclado).enabled = false;
    at(C::groupBox_CDC).enabled = true;
    // The serial settings come back from what the form shows.
    for (Control list :
         {C::comboBox_baud, C::comboBox_paridade, C::comboBox_stopBits, C::comboBox_byte})
        storeSelection(list);
    blockCheckClicked();
    if (state(C::checkBox_bcc).checked && !filling)
        configRecord.settings[bccInitialValue] = static_cast<uint8_t>(state(C::comboBox_bcc).value);
    storeFlag(Field::ackNak, C::checkBox_ackNak);
    return changedSince(before);
}

const ConfigRecord &ConfigForm::recordToSave()
{
    mark();
    return configRecord;
}

void ConfigForm::setCheck(Control control, bool checked)
{
    at(control).checked = checked;
    // Radio buttons are exclusive within their pair, as the toolkit keeps them.
    const FormField *field = fieldEditedBy(control);
    if (checked && controlKind(control) == ControlKind::RadioButton && field)
        at(control == field->input ? field->inputWhenClear : field->input).checked = false;
}

void ConfigForm::storeFlag(BitField field, Control box)
{
    configRecord.setOn(field, state(box).checked);
    mark();
}

// Selects a position as a list or the spin box does: a position outside a
// list selects nothing, the spin box clamps, and the handler runs only when
// the selection changes.
void ConfigForm::setPosition(Control control, int position)
{
    int resulting = position;
    if (controlKind(control) == ControlKind::SpinBox)
        resulting = std::clamp(position, REREADS_MIN, REREADS_MAX);
    else if (position < 0 || position >= listSize(control))
        resulting = -1;
    if (resulting == state(control).value)
        return;
    at(control).value = resulting;
    storeSelection(control);
}

// The handler of a list or of the spin box: it stores what the control now
// shows and marks the record. The character and BCC lists keep still while
// the form is being filled.
void ConfigForm::storeSelection(Control control)
{
    const FormField &field = *fieldEditedBy(control);
    const int position = state(control).value;
    switch (field.kind) {
    case FieldKind::Protocol:
        storeProtocol(configRecord, static_cast<int>(formListValue(field.list, position)));
        break;
    case FieldKind::Rereads:
        configRecord.settings[field.bits.byte] = static_cast<uint8_t>(position + 1);
        break;
    case FieldKind::Character:
    case FieldKind::HexByte:
        if (filling)
            return;
        configRecord.settings[field.bits.byte] =
            static_cast<uint8_t>(formListValue(field.list, position));
        break;
    default:
        configRecord.set(field.bits, formListValue(field.list, position));
        break;
    }
    mark();
}

// A control without a rule of its own stores its bit: a check box its state,
// a radio button the value it stands for.
void ConfigForm::clicked(Control button)
{
    switch (button) {
    case C::checkBox_valor:
        return sendValueClicked();
    case C::checkBox_digitoBarras:
        return checkDigitClicked();
    case C::radioButton_leituraOptica:
        return opticalModeClicked();
    case C::radioButton_leituraDigitado:
        return typedModeClicked();
    case C::checkBox_separadorCMC7:
        return cmc7SeparatorClicked();
    case C::checkBox_checkCMC7:
        return cmc7CheckDigitClicked();
    case C::checkBox_indicaErro:
        return errorIndicatorClicked();
    case C::checkBox_bcc:
        return blockCheckClicked();
    case C::radioButton_modeloBandeja:
        return trayModelClicked();
    case C::radioButton_modeloFreio:
        return brakeModelClicked();
    case C::checkBox_freio:
        return documentStopClicked();
    default:
        break;
    }
    const FormField *field = fieldEditedBy(button);
    if (!field)
        return;
    if (field->kind == FieldKind::Pair)
        configRecord.set(field->bits, button == field->input ? 1U : 0U);
    else
        configRecord.setOn(field->bits, state(button).checked);
    mark();
}
