#pragma once
// The reader's configuration record: 19 setting bytes and an 8-byte profile
// name. Its serialized form (name first, then the settings) is what the
// reader receives and returns and what a configuration file stores.
#include <QString>
#include <cstddef>
#include <cstdint>

constexpr size_t CONFIG_SETTINGS_SIZE = 19;
constexpr size_t CONFIG_NAME_SIZE = 8;
constexpr size_t CONFIG_SERIALIZED_SIZE = CONFIG_NAME_SIZE + CONFIG_SETTINGS_SIZE;

extern const uint8_t DEFAULT_SETTINGS[CONFIG_SETTINGS_SIZE];

// A field packed into one setting byte.
struct BitField
{
    uint8_t byte;
    uint8_t mask;
};

namespace Field {
constexpr BitField baudCode{0, 0x0F};
constexpr BitField parity{0, 0x30};
constexpr BitField sevenDataBits{0, 0x40};
constexpr BitField twoStopBits{0, 0x80};
constexpr BitField sendValue{1, 0x01};
constexpr BitField sendZeros{1, 0x02};
constexpr BitField opticalMode{1, 0x04};
constexpr BitField skm{1, 0x08};
constexpr BitField sendCrAfterData{1, 0x20};
constexpr BitField keyboardSpeed{1, 0xC0};
constexpr BitField cmc7SendSeparator{2, 0x01};
constexpr BitField cmc7Recover{2, 0x02};
constexpr BitField sendCheckDigit{2, 0x04};
constexpr BitField cmc7SendReversedOnError{2, 0x08};
constexpr BitField sendErrorIndicator{2, 0x10};
constexpr BitField trayModel{2, 0x20};
constexpr BitField parkAtEntry{2, 0x40};
constexpr BitField documentStop{2, 0x80};
constexpr BitField dataTypeIdentifier{3, 0x01};
constexpr BitField cmc7ReplaceBlockByLetters{3, 0x02};
constexpr BitField cmc7SendOnError{3, 0x04};
constexpr BitField cmc7VerifyCheckDigit{3, 0x08};
constexpr BitField waitForDocument{3, 0x10};
constexpr BitField verify2of5CheckDigit{3, 0x20};
constexpr BitField abntLayout{3, 0x40};
constexpr BitField cdcInterface{3, 0x80};
constexpr BitField ackNak{18, 0x01};
constexpr BitField bccEnabled{18, 0x02};
} // namespace Field

// Setting bytes that hold one value each.
enum SettingByte : uint8_t
{
    rereadsPlusOne = 4,
    errorIndicatorChar = 5,
    cmc7SubstituteChar = 6,
    bankSlipSeparator1 = 7,
    bankSlipSeparator2 = 8,
    utilityBillSeparator1 = 9,
    utilityBillSeparator2 = 10,
    charBeforeCr = 11,
    cmc7SeparatorChar = 12,
    headerByte1 = 13,
    headerByte2 = 14,
    trailerByte1 = 15,
    trailerByte2 = 16,
    bccInitialValue = 17,
};

struct ConfigRecord
{
    uint8_t settings[CONFIG_SETTINGS_SIZE];
    uint8_t profileName[CONFIG_NAME_SIZE];

    // Zero the settings, then copy DEFAULT_SETTINGS; the name is not touched.
    void initialise();
    // Writes "USERCONF" into the profile name (no terminating zero).
    void markUserEdited();
    void serialize(uint8_t out[CONFIG_SERIALIZED_SIZE]) const;
    // Overwrites name and settings byte for byte, without any check.
    void deserialize(const uint8_t in[CONFIG_SERIALIZED_SIZE]);
    // The name up to its first zero byte, at most 8 Latin-1 characters.
    QString displayName() const;

    unsigned get(BitField field) const;
    // Clears the field's mask and sets the new value; other bits stay.
    void set(BitField field, unsigned value);
    // A one-bit field as yes or no.
    bool isOn(BitField field) const { return get(field) != 0; }
    void setOn(BitField field, bool on) { set(field, on ? 1U : 0U); }
};
