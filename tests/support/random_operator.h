#pragma once
// Seeded random operator actions on the form model: clicks on the controls
// the operator can reach, choices in the lists and the spin box, the two
// interface actions and, now and then, a whole block opened from a file.
#include "config/config_form.h"
#include "config/form_fields.h"
#include "config/form_settings.h"

#include <QRandomGenerator>

inline void randomOperatorAction(ConfigForm &form, QRandomGenerator &random)
{
    if (random.bounded(50) == 0) {
        uint8_t block[CONFIG_SERIALIZED_SIZE];
        for (uint8_t &byte : block)
            byte = static_cast<uint8_t>(random.bounded(256));
        form.load(block);
        return;
    }
    const auto control = static_cast<Control>(random.bounded(int(FORM_CONTROL_COUNT)));
    if (!unreachableReason(form, control).isEmpty())
        return;
    switch (controlKind(control)) {
    case ControlKind::CheckBox:
        form.click(control, !form.state(control).checked);
        break;
    case ControlKind::RadioButton:
        form.click(control, true);
        break;
    case ControlKind::Action:
        control == Control::actionSerial ? form.chooseSerial(0) : form.chooseKeyboard();
        break;
    case ControlKind::List:
        form.select(control, random.bounded(formListCount(fieldEditedBy(control)->list)));
        break;
    case ControlKind::SpinBox:
        form.select(control, random.bounded(REREADS_MIN, REREADS_MAX + 1));
        break;
    default:
        break;
    }
}
