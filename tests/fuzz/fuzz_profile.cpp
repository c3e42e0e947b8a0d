// libFuzzer target of the profile reader, whose oracle is the round trip:
// whatever it reads as a complete profile prints as text and as JSON and
// reads back to the same record; any 27 bytes do the same; and a refusal,
// of the reader or of the form model performing a partial profile, names
// its line.
#include "config/config_profile.h"
#include "config/form_settings.h"

#include <QJsonDocument>
#include <cstdlib>
#include <cstring>

namespace {
void check(bool holds)
{
    if (!holds)
        abort();
}

bool sameRecord(const ConfigRecord &a, const ConfigRecord &b)
{
    uint8_t left[CONFIG_SERIALIZED_SIZE];
    uint8_t right[CONFIG_SERIALIZED_SIZE];
    a.serialize(left);
    b.serialize(right);
    return memcmp(left, right, sizeof left) == 0;
}

ConfigRecord readBack(const QByteArray &profile)
{
    Profile read;
    QString error;
    check(isProfile(profile) && readProfile(profile, &read, &error) && read.complete());
    return read.record();
}

void roundTrip(const ConfigRecord &record)
{
    const QByteArray text = profileLines(record).join(QLatin1Char('\n')).toUtf8() + '\n';
    const QByteArray json = QJsonDocument(QJsonObject{{"config", profileJson(record)}}).toJson();
    check(sameRecord(readBack(text), record));
    check(sameRecord(readBack(json), record));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size >= CONFIG_SERIALIZED_SIZE) {
        ConfigRecord record;
        record.deserialize(data);
        roundTrip(record);
    }
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    Profile profile;
    QString error;
    if (!isProfile(input))
        return 0;
    if (!readProfile(input, &profile, &error)) {
        check(error.startsWith(QLatin1String("linha ")));
        return 0;
    }
    if (profile.complete()) {
        roundTrip(profile.record());
        return 0;
    }
    ConfigForm form;
    check(performProfile(form, profile, &error) || error.startsWith(QLatin1String("linha ")));
    return 0;
}
