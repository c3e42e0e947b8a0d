#include "config/form_fields.h"

#include "config/character_lists.h"
#include "config/protocol_choices.h"

#include <cstring>
#include <iterator>

namespace {
const char *const speedItems[] = {"18 toques por segundo", "35 toques por segundo",
                                  "70 toques por segundo", "140 toques por segundo"};
const char *const baudItems[] = {"115200", "57600", "38400", "19200",
                                 "9600",   "4800",  "2400",  "1200"};
const char *const dataBitsItems[] = {"7 Bits", "8 Bits"};
const char *const stopBitsItems[] = {"1 Stop Bit", "2 Stop Bits"};
const char *const parityItems[] = {"Nenhum", "Ímpar", "Par"};
const char *const protocolItems[] = {"STX-D-ETX", "D-CR-LF", "D-CR", "NENHUM"};

struct ListItems
{
    const char *const *items;
    int count;
};

ListItems itemsOf(FormList list)
{
    switch (list) {
    case FormList::KeyboardSpeed:
        return {speedItems, int(std::size(speedItems))};
    case FormList::BaudRate:
        return {baudItems, int(std::size(baudItems))};
    case FormList::DataBits:
        return {dataBitsItems, int(std::size(dataBitsItems))};
    case FormList::StopBits:
        return {stopBitsItems, int(std::size(stopBitsItems))};
    case FormList::Parity:
        return {parityItems, int(std::size(parityItems))};
    case FormList::Protocol:
        return {protocolItems, int(std::size(protocolItems))};
    }
    return {nullptr, 0};
}

// The list position that stands for a field's value (out of range: none).
int positionOf(FormList list, unsigned value)
{
    const int v = static_cast<int>(value);
    switch (list) {
    case FormList::BaudRate:
        return v >= 1 ? int(std::size(baudItems)) - v : -1;
    case FormList::DataBits:
        return 1 - v;
    default:
        return v;
    }
}

enum class Kind
{
    Name,      // the profile name
    Flag,      // a check box
    Pair,      // two radio buttons (or the two interface actions)
    List,      // one of the fixed lists
    Character, // one of the character lists
    Rereads,   // the spin box, stored plus one
    HexByte,   // the BCC value list
    Protocol,  // header and trailer bytes, one list item
    Reserved,  // bits no control writes
};

struct FieldEntry
{
    const char *key;
    const char *group;
    const char *label;
    const char *control; // the form's object that shows the label
    Kind kind;
    BitField bits; // whole byte for the one-byte kinds
    FormList list = FormList::KeyboardSpeed;
    const char *whenSet = nullptr; // Pair
    const char *whenClear = nullptr;
};

constexpr BitField wholeByte(uint8_t byte)
{
    return {byte, 0xFF};
}

const char gConfig[] = "Configuração";
const char gKeyboard[] = "Comunicação Teclado";
const char gSerial[] = "Comunicação Serial";
const char gProtocol[] = "Protocolo";
const char gCmc7[] = "CMC-7";
const char gGeneral[] = "Geral";
const char gTraction[] = "Tracionamento";
const char gBarcodes[] = "Barras";
const char gBankSlip[] = "Boleto Bancário";
const char gUtility[] = "Concessionárias";
const char gReserved[] = "Reservado";

// In the form's order, group by group.
const FieldEntry fields[] = {
    {"profileName", gConfig, "Cliente", "label_10", Kind::Name, {}},
    {"cdcInterface",
     gConfig,
     "Dispositivo",
     "menuDispositivo",
     Kind::Pair,
     Field::cdcInterface,
     {},
     "Serial",
     "Teclado"},
    {"keyboardSpeed", gKeyboard, "Velocidade", "label", Kind::List, Field::keyboardSpeed,
     FormList::KeyboardSpeed},
    {"abntLayout",
     gKeyboard,
     "Tipo de Teclado",
     "groupBox_tipoe_teclado",
     Kind::Pair,
     Field::abntLayout,
     {},
     "ABNT",
     "Inglês"},
    {"skm", gKeyboard, "Habilitar SKM", "checkBox_SKM", Kind::Flag, Field::skm},
    {"sendCrAfterData", gKeyboard, "Enviar CR após os dados", "checkBox_CR", Kind::Flag,
     Field::sendCrAfterData},
    {"charBeforeCr", gKeyboard, "Caractere antes de CR", "label_16", Kind::Character,
     wholeByte(charBeforeCr)},
    {"baudCode", gSerial, "Baudrate", "label_2", Kind::List, Field::baudCode, FormList::BaudRate},
    {"parity", gSerial, "Paridade", "label_3", Kind::List, Field::parity, FormList::Parity},
    {"sevenDataBits", gSerial, "Byte", "label_4", Kind::List, Field::sevenDataBits,
     FormList::DataBits},
    {"twoStopBits", gSerial, "Stop Bits", "label_5", Kind::List, Field::twoStopBits,
     FormList::StopBits},
    {"protocol", gSerial, "Protocolo", "groupBox_10", Kind::Protocol, {}},
    {"bccEnabled", gProtocol, "Enviar BCC", "checkBox_bcc", Kind::Flag, Field::bccEnabled},
    {"bccInitialValue", gProtocol, "Valor inicial", "label_bccInicial", Kind::HexByte,
     wholeByte(bccInitialValue)},
    {"ackNak", gProtocol, "ACK/NAK", "checkBox_ackNak", Kind::Flag, Field::ackNak},
    {"cmc7VerifyCheckDigit", gCmc7, "Verificar Check Digit CMC7", "checkBox_checkCMC7", Kind::Flag,
     Field::cmc7VerifyCheckDigit},
    {"cmc7SendSeparator", gCmc7, "Enviar separador", "checkBox_separadorCMC7", Kind::Flag,
     Field::cmc7SendSeparator},
    {"cmc7SeparatorChar", gCmc7, "Separador", "label_13", Kind::Character,
     wholeByte(cmc7SeparatorChar)},
    {"cmc7Recover", gCmc7, "Tentar recuperar os dados", "checkBox_recuperarCMC7", Kind::Flag,
     Field::cmc7Recover},
    {"cmc7SubstituteChar", gCmc7, "Substituição", "label_8", Kind::Character,
     wholeByte(cmc7SubstituteChar)},
    {"cmc7SendReversedOnError", gCmc7, "Enviar dados invertidos em caso de erro",
     "checkBox_enviarInvertido", Kind::Flag, Field::cmc7SendReversedOnError},
    {"cmc7SendOnError", gCmc7, "Enviar dados em caso de erro", "checkBox_enviarQuestion",
     Kind::Flag, Field::cmc7SendOnError},
    {"cmc7ReplaceBlockByLetters", gCmc7,
     "Substituir bloco por letras em caso de erro de check digit", "checkBox_subPorLetra",
     Kind::Flag, Field::cmc7ReplaceBlockByLetters},
    {"sendErrorIndicator", gGeneral, "Enviar indicação de erro", "checkBox_indicaErro", Kind::Flag,
     Field::sendErrorIndicator},
    {"errorIndicatorChar", gGeneral, "Indicador de erro", "label_7", Kind::Character,
     wholeByte(errorIndicatorChar)},
    {"waitForDocument", gGeneral, "Esperar documento", "checkBox_esperarDocumento", Kind::Flag,
     Field::waitForDocument},
    {"dataTypeIdentifier", gGeneral, "Identificador de tipo de dado", "checkBox_tipoDecodificado",
     Kind::Flag, Field::dataTypeIdentifier},
    {"trayModel",
     gTraction,
     "Modelo",
     "groupBox_8",
     Kind::Pair,
     Field::trayModel,
     {},
     "Com bandeja",
     "Freio"},
    {"parkAtEntry",
     gTraction,
     "Estacionar documento",
     "groupBox_estacionar",
     Kind::Pair,
     Field::parkAtEntry,
     {},
     "Entrada",
     "Saída"},
    {"documentStop", gTraction, "Habilitar parada do documento", "checkBox_freio", Kind::Flag,
     Field::documentStop},
    {"rereadsPlusOne", gTraction, "Número de releituras", "label_6", Kind::Rereads,
     wholeByte(rereadsPlusOne)},
    {"opticalMode",
     gBarcodes,
     "Modo de envio",
     "groupBox_modo",
     Kind::Pair,
     Field::opticalMode,
     {},
     "Leitura óptica",
     "Como digitado"},
    {"sendCheckDigit", gBarcodes, "Enviar dígito geral", "checkBox_digitoBarras", Kind::Flag,
     Field::sendCheckDigit},
    {"sendValue", gBarcodes, "Enviar valor", "checkBox_valor", Kind::Flag, Field::sendValue},
    {"sendZeros", gBarcodes, "Enviar zeros", "checkBox_zeros", Kind::Flag, Field::sendZeros},
    {"verify2of5CheckDigit", gBarcodes,
     "Verificação de check digit para códigos 2 de 5 intercalado", "checkBox_check2de5", Kind::Flag,
     Field::verify2of5CheckDigit},
    {"bankSlipSeparator1", gBankSlip, "1º separador", "label_11", Kind::Character,
     wholeByte(bankSlipSeparator1)},
    {"bankSlipSeparator2", gBankSlip, "2º separador", "label_12", Kind::Character,
     wholeByte(bankSlipSeparator2)},
    {"utilityBillSeparator1", gUtility, "1º separador", "label_14", Kind::Character,
     wholeByte(utilityBillSeparator1)},
    {"utilityBillSeparator2", gUtility, "2º separador", "label_15", Kind::Character,
     wholeByte(utilityBillSeparator2)},
    {"reservedByte1Bit4", gReserved, "Byte 1, bit 4", nullptr, Kind::Reserved, {1, 0x10}},
    {"reservedByte18Bits2to7",
     gReserved,
     "Byte 18, bits 2 a 7",
     nullptr,
     Kind::Reserved,
     {18, 0xFC}},
};

QString hexBytes(const uint8_t *bytes, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(n)).toHex(' ').toUpper();
}

QString hexValue(unsigned value)
{
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// A value that no item of the form stands for.
QString outOfList(unsigned value)
{
    return QStringLiteral("%1 (fora da lista)").arg(hexValue(value));
}

QString listValue(FormList list, unsigned value)
{
    const ListItems items = itemsOf(list);
    const int position = positionOf(list, value);
    if (position < 0 || position >= items.count)
        return outOfList(value);
    return QString::fromUtf8(items.items[position]);
}

QString characterValue(uint8_t code)
{
    // Codes that only look like an item (0x1D to 0x1F) are not that item.
    const int position = charToListIndex(code);
    if (position < 0 || position >= CHARACTER_LIST_SIZE || listIndexToChar(position) != code)
        return outOfList(code);
    return characterListItem(position);
}

QString protocolValue(const ConfigRecord &record)
{
    const ProtocolChoice choice = protocolOf(record);
    ConfigRecord canonical = record;
    storeProtocol(canonical, choice);
    QString value = QString::fromUtf8(protocolItems[choice]);
    const uint8_t *bytes = record.settings + headerByte1;
    if (memcmp(bytes, canonical.settings + headerByte1, 4) != 0)
        value += QStringLiteral(" (bytes %1)").arg(hexBytes(bytes, 4));
    return value;
}

QString rereadsValue(uint8_t stored)
{
    if (stored < 1 || stored > 4)
        return QStringLiteral("%1 (fora da faixa)").arg(hexValue(stored));
    return QString::number(stored - 1);
}

DecodedField decode(const FieldEntry &entry, const ConfigRecord &record)
{
    DecodedField field{QString::fromLatin1(entry.key),
                       QString::fromUtf8(entry.group),
                       QString::fromUtf8(entry.label),
                       {},
                       {}};
    const unsigned value = record.get(entry.bits);
    field.raw = QString::number(value);
    switch (entry.kind) {
    case Kind::Name:
        field.value = record.displayName();
        field.raw = hexBytes(record.profileName, CONFIG_NAME_SIZE);
        break;
    case Kind::Flag:
        field.value = value != 0 ? QStringLiteral("sim") : QString::fromUtf8("não");
        break;
    case Kind::Pair:
        field.value = QString::fromUtf8(value != 0 ? entry.whenSet : entry.whenClear);
        break;
    case Kind::List:
        field.value = listValue(entry.list, value);
        break;
    case Kind::Character:
        field.value = characterValue(static_cast<uint8_t>(value));
        break;
    case Kind::Rereads:
        field.value = rereadsValue(static_cast<uint8_t>(value));
        break;
    case Kind::HexByte:
        field.value = hexListItem(static_cast<int>(value));
        break;
    case Kind::Protocol:
        field.value = protocolValue(record);
        field.raw = hexBytes(record.settings + headerByte1, 4);
        break;
    case Kind::Reserved:
        field.value = field.raw;
        break;
    }
    return field;
}
} // namespace

QStringList formListItems(FormList list)
{
    const ListItems items = itemsOf(list);
    QStringList texts;
    for (int i = 0; i < items.count; ++i)
        texts << QString::fromUtf8(items.items[i]);
    return texts;
}

int32_t baudRateOfCode(unsigned code)
{
    const int position = positionOf(FormList::BaudRate, code);
    if (position < 0 || position >= int(std::size(baudItems)))
        return 0;
    return QString::fromLatin1(baudItems[position]).toInt();
}

QList<DecodedField> decodeConfig(const ConfigRecord &record)
{
    QList<DecodedField> decoded;
    for (const FieldEntry &entry : fields)
        decoded << decode(entry, record);
    return decoded;
}

QList<FieldControl> formFieldControls()
{
    QList<FieldControl> controls;
    for (const FieldEntry &entry : fields)
        if (entry.control)
            controls.append(FieldControl{entry.key, entry.control});
    return controls;
}
