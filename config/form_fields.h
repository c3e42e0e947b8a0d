#pragma once
// The fields of the configuration as the form presents them: the form's
// labels, its group titles and the items of its fixed lists. The window fills
// its six fixed lists from here and a headless front end decodes a record
// with the same words, so that both speak of a setting alike.
#include "config/config_record.h"

#include <QList>
#include <QString>
#include <QStringList>

// The six lists whose items the form itself defines, in the form's order.
enum class FormList
{
    KeyboardSpeed, // position = keyboardSpeed
    BaudRate,      // position = 8 - baudCode: 115200 first, 1200 last
    DataBits,      // "7 Bits" (sevenDataBits set), "8 Bits"
    StopBits,      // "1 Stop Bit", "2 Stop Bits" (twoStopBits set)
    Parity,        // position = parity
    Protocol,      // position = ProtocolChoice
};

QStringList formListItems(FormList list);

// The line rate that the record's baudCode stands for (the number the
// "Baudrate" list shows), or 0 for a code no item stands for.
int32_t baudRateOfCode(unsigned code);

// One field of the record, decoded for a person.
struct DecodedField
{
    QString key;   // stable name: the record field's name (for scripts)
    QString group; // the title of the form's group box that holds it
    QString label; // the form's label for it
    QString value; // the item, state or character the form would show
    // The field's bits as they stand: a number, or the bytes in hex for the
    // fields of more than one byte (profile name, protocol).
    QString raw;
};

// Every field of the record, in the form's order; together they cover each
// bit of the 27 serialized bytes, reserved bits included (as raw values), so
// two records decode alike exactly when their bytes are equal. A value that
// no item of the form stands for shows as its raw number.
QList<DecodedField> decodeConfig(const ConfigRecord &record);

// The control of the form (object name) that shows each field's label, for
// checking the form against this table: key, object name.
struct FieldControl
{
    const char *key;
    const char *objectName;
};
QList<FieldControl> formFieldControls();
