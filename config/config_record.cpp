#include "config/config_record.h"

#include <bit>
#include <cstring>

const uint8_t DEFAULT_SETTINGS[CONFIG_SETTINGS_SIZE] = {
    0xD2, 0xF7, 0xC4, 0x44, 0x02, 0x21, 0x3F, 0x09, 0x09, 0x09,
    0x09, 0x00, 0x0D, 0x02, 0x00, 0x03, 0x00, 0x02, 0x03,
};

void ConfigRecord::initialise()
{
    memset(settings, 0, sizeof settings);
    memcpy(settings, DEFAULT_SETTINGS, sizeof settings);
}

void ConfigRecord::markUserEdited()
{
    memcpy(profileName, "USERCONF", CONFIG_NAME_SIZE);
}

void ConfigRecord::serialize(uint8_t out[CONFIG_SERIALIZED_SIZE]) const
{
    memcpy(out, profileName, CONFIG_NAME_SIZE);
    memcpy(out + CONFIG_NAME_SIZE, settings, CONFIG_SETTINGS_SIZE);
}

void ConfigRecord::deserialize(const uint8_t in[CONFIG_SERIALIZED_SIZE])
{
    memcpy(profileName, in, CONFIG_NAME_SIZE);
    memcpy(settings, in + CONFIG_NAME_SIZE, CONFIG_SETTINGS_SIZE);
}

QString ConfigRecord::displayName() const
{
    const char *name = reinterpret_cast<const char *>(profileName);
    return QString::fromLatin1(name, static_cast<qsizetype>(strnlen(name, CONFIG_NAME_SIZE)));
}

unsigned ConfigRecord::get(BitField field) const
{
    return (settings[field.byte] & field.mask) >> std::countr_zero(field.mask);
}

void ConfigRecord::set(BitField field, unsigned value)
{
    const uint8_t bits = static_cast<uint8_t>(value << std::countr_zero(field.mask)) & field.mask;
    settings[field.byte] = static_cast<uint8_t>((settings[field.byte] & ~field.mask) | bits);
}
