#pragma once
// The fields of the configuration as the form presents them, in one table:
// for each field its label and group, the control that edits it and the
// mapping between its list's positions and the field's values. The form
// model edits and shows a record through it, the window fills its lists and
// binds its widgets from it, and a headless front end decodes a record with
// the same words, so that all of them speak of a setting alike.
#include "config/config_record.h"
#include "config/form_controls.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <span>

// The lists of the form. The first six are the lists whose items the form
// itself defines, in the form's order.
enum class FormList
{
    KeyboardSpeed, // position = keyboardSpeed
    BaudRate,      // position = 8 - baudCode: 115200 first, 1200 last
    DataBits,      // "7 Bits" (sevenDataBits set), "8 Bits"
    StopBits,      // "1 Stop Bit", "2 Stop Bits" (twoStopBits set)
    Parity,        // position = parity
    Protocol,      // position = ProtocolChoice
    Characters,    // NULL, TAB, ENTER, SPACE, '!' to '~', BCKSPC (listIndexToChar)
    HexValues,     // 00 to FF, position = value
};
constexpr int FIXED_FORM_LISTS = 6;

QStringList formListItems(FormList list);
int formListCount(FormList list);
// The value that the item at this position stands for; a position outside
// the list (-1: no item) stands for the value the list's handler stores then.
unsigned formListValue(FormList list, int position);
// The position of the item that stands for this value. For the character
// list this is charToListIndex, which may lie outside the list; for the
// others a value no item stands for gives -1.
int formListPosition(FormList list, unsigned value);

// The line rate that the record's baudCode stands for (the number the
// "Baudrate" list shows), or 0 for a code no item stands for.
int32_t baudRateOfCode(unsigned code);

// "Número de releituras": the spin box's range; the record holds value + 1.
constexpr int REREADS_MIN = 0;
constexpr int REREADS_MAX = 3;

enum class FieldKind
{
    Name,      // the profile name, shown in a line edit
    Flag,      // a check box
    Pair,      // two radio buttons (or the two interface actions)
    List,      // one of the fixed lists
    Character, // one of the character lists
    Rereads,   // the spin box, stored plus one
    HexByte,   // the BCC value list
    Protocol,  // header and trailer bytes, one list item
    Reserved,  // bits no control writes
};

struct FormField
{
    const char *key;   // stable name: the record field's name (for scripts)
    const char *group; // the title of the form's group box that holds it
    const char *label; // the form's label for it
    FieldKind kind;
    BitField bits; // whole byte for the one-byte kinds; none for Name and Protocol
    // The control that edits it; for a Pair the one that sets the field.
    // None for Reserved.
    Control input = Control::lineEdit_cliente;
    Control inputWhenClear = Control::lineEdit_cliente; // Pair: the one that clears it
    FormList list = FormList::KeyboardSpeed;            // List, Character, HexByte
    const char *whenSet = nullptr;                      // Pair: the texts of its two choices
    const char *whenClear = nullptr;
};

// Every field of the record, in the form's order; together they cover each
// bit of the 27 serialized bytes, reserved bits included.
std::span<const FormField> formFields();
// The field that this control edits, or null (the group boxes).
const FormField *fieldEditedBy(Control control);

// One field of the record, decoded for a person.
struct DecodedField
{
    QString key;   // FormField::key
    QString group; // FormField::group
    QString label; // FormField::label
    QString value; // the item, state or character the form would show
    // The field's bits as they stand: a number, or the bytes in hex for the
    // fields of more than one byte (profile name, protocol).
    QString raw;
};

// Every field, decoded, in the table's order, so two records decode alike
// exactly when their bytes are equal. A value that no item of the form
// stands for shows as its raw number, and so does a profile name that is not
// plain text: "(bytes 46 41 ...)".
QList<DecodedField> decodeConfig(const ConfigRecord &record);

// A field's value read back from the words decodeConfig shows.
struct FieldValue
{
    unsigned value = 0;                   // the field's bits, for the one-byte kinds
    uint8_t bytes[CONFIG_NAME_SIZE] = {}; // Name: its 8 bytes; Protocol: bytes 13 to 16
    bool offered = true;                  // one of the form's own choices
};

// The inverse of decodeConfig for one field: the value the text shows, in
// the form's words or as the raw number (the form's word wins where a number
// is both). False when the text is no value of the field.
bool parseFieldValue(const FormField &field, const QString &text, FieldValue *value);
// The values a field takes, in the form's words, for a message.
QString acceptedValues(const FormField &field);
// Writes the value into the field's bits, nothing else.
void storeFieldValue(ConfigRecord &record, const FormField &field, const FieldValue &value);
// Whether the record's field holds this value.
bool fieldHolds(const ConfigRecord &record, const FormField &field, const FieldValue &value);

// "Grupo/Rótulo" of a field, as messages name it.
QString fieldTitle(const FormField &field);
// The field a name stands for: its key, its "Grupo/Rótulo", or a label that
// one field alone has (letter case aside). Null when none; ambiguous, when
// given, receives the fields a shared label could mean.
const FormField *fieldNamed(const QString &name, QStringList *ambiguous = nullptr);
// A field's label within a group (a profile's lines), or null.
const FormField *fieldInGroup(const QString &group, const QString &label);
// Whether a group of the form has this title.
bool isFormGroup(const QString &title);
