#pragma once
// A configuration shown field by field with the form's labels and choices
// (config/form_fields.h), as text and as JSON, and the fields in which two
// configurations differ.
#include "config/config_record.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

// Text lines: each group's title, then "  label: value" for its fields.
QStringList configLines(const uint8_t config[CONFIG_SERIALIZED_SIZE]);

// {"profile", "bytes", "fields": [{"key", "group", "label", "value", "raw"}]}
QJsonObject configJson(const uint8_t config[CONFIG_SERIALIZED_SIZE]);

// The fields that differ: [{"key", "group", "label", "a", "b", "a_raw", "b_raw"}].
QJsonArray configDifferences(const uint8_t a[CONFIG_SERIALIZED_SIZE],
                             const uint8_t b[CONFIG_SERIALIZED_SIZE]);

// One text line per difference: "group / label: a -> b".
QStringList differenceLines(const QJsonArray &differences);
