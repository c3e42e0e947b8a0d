#pragma once
// The form language on the form model (config/config_form.h), without a window.
#include "config/config_form.h"
#include "config/form_fields.h"
#include "form_steps.h"

inline Control namedControl(const QString &name)
{
    Control control{};
    if (!controlNamed(name.toLatin1().constData(), &control))
        qFatal("no control %s", qPrintable(name));
    return control;
}

// What differs between the model and a line of expectations: the record items
// of form_steps.h, and for a control "name:EC" (E/e enabled or not, C/c
// checked or not), "name#N" (position or value) and "name=TEXT" (what it shows).
inline QString formMismatches(const ConfigForm *form, const char *expected)
{
    QStringList wrong;
    for (const auto &[name, op, value] : formItems(expected)) {
        QString actual, want = value;
        if (!recordItem(form->record(), name, value, &actual, &want)) {
            const Control control = namedControl(name);
            const ControlState &state = form->state(control);
            if (op == ':')
                for (const QChar flag : value)
                    actual += (flag.toLower() == 'e' ? state.enabled : state.checked)
                                  ? flag.toUpper()
                                  : flag.toLower();
            else if (op == '#')
                actual = QString::number(state.value);
            else
                actual = control == Control::lineEdit_cliente
                             ? form->nameText()
                             : formListItems(fieldEditedBy(control)->list).value(state.value);
        }
        if (actual != want)
            wrong << QStringLiteral("%1%2 is %3, not %4").arg(name, op, actual, want);
    }
    return wrong.join(QStringLiteral("; "));
}

// Edits: "name!" the operator's click (a box toggles, a radio button checks,
// "actionTeclado!" and "actionSerial!" choose an interface, the serial one
// with port 0), "name#N" moves a list or the spin box, the record edits of
// form_steps.h write the record behind the controls' back, and "filling=1" or
// "filling=0" raises or lowers the guard.
inline void editModel(ConfigForm *form, const char *edits)
{
    for (const auto &[name, op, value] : formItems(edits)) {
        ConfigRecord record = form->record();
        if (name == QLatin1String("filling")) {
            form->setFillingForm(value == QLatin1String("1"));
        } else if (editRecord(record, name, value)) {
            form->replaceRecord(record);
        } else if (op == '#') {
            form->select(namedControl(name), value.toInt());
        } else if (name == QLatin1String("actionTeclado")) {
            form->chooseKeyboard();
        } else if (name == QLatin1String("actionSerial")) {
            form->chooseSerial(0);
        } else {
            const Control control = namedControl(name);
            form->click(control, controlKind(control) == ControlKind::RadioButton ||
                                     !form->state(control).checked);
        }
    }
}
