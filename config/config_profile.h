#pragma once
// A configuration as text that a person edits and git diffs: one field a line
// in the form's words, under the form's group titles, comments allowed
// ("# ..."), reserved bits as numbers; and the same fields as JSON. Reading a
// profile back gives the same 27 bytes. A profile that gives only some
// fields is a list of settings, performed on the form as the operator would
// (config/form_settings.h).
#include "config/form_fields.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>

struct ProfileSetting
{
    int line; // where the profile gives it, counted from 1
    const FormField *field;
    FieldValue value;
};

struct Profile
{
    QList<ProfileSetting> settings; // in the profile's order, each field once

    // Every field of the record is given.
    bool complete() const;
    // The record a complete profile stands for.
    ConfigRecord record() const;
};

// Each group's title, then "  label: value" for its fields.
QStringList profileLines(const ConfigRecord &record);
// {"profile", "bytes", "fields": [{"key", "group", "label", "value", "raw"}]}
QJsonObject profileJson(const ConfigRecord &record);

// Whether the content is a profile, text or JSON, rather than the raw bytes
// of a configuration file.
bool isProfile(const QByteArray &content);
// Reads a text or JSON profile. False when it is not one, with the reason,
// "linha N: ...", in error.
bool readProfile(const QByteArray &content, Profile *profile, QString *error);
