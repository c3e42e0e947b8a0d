#pragma once
// The configuration form as plain data: the record and the state of every
// control the editing rules read or change, with the operator's actions on
// the controls as operations. A window shows it and forwards its widgets'
// signals to it; a headless tool edits a configuration through it the way an
// operator does, and gets exactly the records the window can produce.
#include "config/config_record.h"
#include "config/form_controls.h"

struct FormField;

#include <QString>
#include <bitset>

struct ControlState
{
    bool enabled = true;
    bool checked = false;
    // A list's position (-1: no item selected) or the spin box's value.
    int value = 0;
};

// The controls whose state an operation changed, for a view to redraw.
class ChangedControls
{
public:
    void add(Control control) { bits.set(static_cast<size_t>(control)); }
    bool contains(Control control) const { return bits.test(static_cast<size_t>(control)); }
    bool any() const { return bits.any(); }
    ChangedControls &operator|=(const ChangedControls &other)
    {
        bits |= other.bits;
        return *this;
    }

private:
    std::bitset<FORM_CONTROL_COUNT> bits;
};

class ConfigForm
{
public:
    // The start-up state: the record holds the defaults and an empty name;
    // the controls show the form's own initial states, where they differ from
    // the record, except the eight character lists, set from the record, and
    // the BCC list on 02.
    ConfigForm();

    const ConfigRecord &record() const { return configRecord; }
    const ControlState &state(Control control) const;
    // The text of lineEdit_cliente.
    const QString &nameText() const { return shownName; }
    // Raised while the form itself sets controls (start-up, refresh): the
    // character-list and BCC handlers then leave the record alone.
    bool fillingForm() const { return filling; }
    // For a caller that sets controls from code around the form's back.
    void setFillingForm(bool raised) { filling = raised; }
    // The COM port number the "Serial" action took last (0 until then).
    int serialPort() const { return portNumber; }

    // The operator clicked a check box or a radio button, which now shows
    // checked; the control's handler runs. A radio button unchecks its
    // partner, as the toolkit does.
    ChangedControls click(Control button, bool checked);
    // A list's position or the spin box's value changed (by the operator or
    // by the program): as with the toolkit's signals, the handler runs only
    // when the selection really changes. A position outside the list selects
    // no item; the spin box clamps to its range.
    ChangedControls select(Control control, int position);
    // "Dispositivo" > "Teclado".
    ChangedControls chooseKeyboard();
    // "Dispositivo" > "Serial", with the port the operator left current in
    // the port dialog (accepted or not), as its number.
    ChangedControls chooseSerial(int comPortNumber);

    // Installs a 27-byte serialized record and shows it on every control
    // (update_gui_from_file), running the handlers of the lists that move.
    ChangedControls load(const uint8_t block[CONFIG_SERIALIZED_SIZE]);
    // Replaces the record without showing it: the controls stay as they are.
    void replaceRecord(const ConfigRecord &record) { configRecord = record; }
    // What a save stores: the record, marked as the operator's.
    const ConfigRecord &recordToSave();

private:
    // What the controls showed before an operation, to report what it changed.
    struct Snapshot
    {
        ControlState states[FORM_CONTROL_COUNT];
        QString name;
    };
    Snapshot snapshot() const;
    ChangedControls changedSince(const Snapshot &before) const;
    ControlState &at(Control control);
    void mark() { configRecord.markUserEdited(); }

    // Handlers (config/config_form_*.cpp)
    void clicked(Control button);
    void storeSelection(Control control);
    void storeFlag(BitField field, Control box);
    void setCheck(Control control, bool checked);
    void disableAndUncheck(Control box);
    void setPosition(Control control, int position);
    void sendValueClicked();
    void checkDigitClicked();
    void opticalModeClicked();
    void typedModeClicked();
    void cmc7SeparatorClicked();
    void cmc7CheckDigitClicked();
    void errorIndicatorClicked();
    void blockCheckClicked();
    void trayModelClicked();
    void brakeModelClicked();
    void documentStopClicked();

    // Refresh steps (config/config_form_refresh.cpp)
    void refreshSerialInterface();
    void refreshKeyboardInterface();
    void refreshCmc7();
    void refreshSendMode();
    void refreshTraction();
    void refreshErrorIndicator();
    void selectCharacter(Control list, uint8_t byte);
    static bool hasRefreshRule(Control control);
    void showField(const FormField &field);

    ConfigRecord configRecord = {};
    ControlState states[FORM_CONTROL_COUNT];
    QString shownName;
    bool filling = false;
    int portNumber = 0;
};
