#pragma once
// Settings by name, performed on the form the way the operator would: the
// click on the field's control or the choice in its list, in order, so that
// dependent options follow as in the window. A control the form keeps out
// of reach (hidden, or disabled in that state) refuses its setting, naming
// the options it depends on.
#include "config/config_form.h"
#include "config/form_fields.h"

struct Profile;

// Why the operator cannot reach the control in the form's present state,
// or empty when the operator can.
QString unreachableReason(const ConfigForm &form, Control control);

// Performs one setting: the profile name is written as it is; any other field
// through its control. False, with the reason in why, when the form refuses
// it (the form may then be part-way: work on a copy).
bool performSetting(ConfigForm &form, const FormField &field, const FieldValue &value,
                    QString *why);

// A profile's settings in its order; a refusal names its line.
bool performProfile(ConfigForm &form, const Profile &profile, QString *why);
