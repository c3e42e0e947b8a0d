#include "config/form_fields.h"

#include "config/character_lists.h"
#include "config/protocol_choices.h"

#include <QRegularExpression>
#include <bit>
#include <cstring>
#include <iterator>
#include <vector>

namespace {
const char *const speedItems[] = {"18 toques por segundo", "35 toques por segundo",
                                  "70 toques por segundo", "140 toques por segundo"};
const char *const baudItems[] = {"115200", "57600", "38400", "19200",
                                 "9600",   "4800",  "2400",  "1200"};
const char *const dataBitsItems[] = {"7 Bits", "8 Bits"};
const char *const stopBitsItems[] = {"1 Stop Bit", "2 Stop Bits"};
const char *const parityItems[] = {"Nenhum", "Ímpar", "Par"};
const char *const protocolItems[] = {"STX-D-ETX", "D-CR-LF", "D-CR", "NENHUM"};

// A list's items and, position by position, the values they stand for.
struct ListItems
{
    const char *const *items;
    const unsigned *values;
    int count;
    unsigned whenNone; // what the list's handler stores for a position outside it
};

const unsigned speedValues[] = {0, 1, 2, 3};
const unsigned baudValues[] = {8, 7, 6, 5, 4, 3, 2, 1};
const unsigned dataBitsValues[] = {1, 0};
const unsigned stopBitsValues[] = {0, 1};
const unsigned parityValues[] = {0, 1, 2};
const unsigned protocolValues[] = {PROTOCOL_STX_D_ETX, PROTOCOL_D_CR_LF, PROTOCOL_D_CR,
                                   PROTOCOL_NONE};
static_assert(std::size(baudValues) == std::size(baudItems));

template <size_t N>
constexpr ListItems fixedList(const char *const (&items)[N], const unsigned (&values)[N],
                              unsigned whenNone = 0)
{
    return {items, values, int(N), whenNone};
}

ListItems itemsOf(FormList list)
{
    switch (list) {
    case FormList::KeyboardSpeed:
        return fixedList(speedItems, speedValues);
    case FormList::BaudRate:
        return fixedList(baudItems, baudValues);
    case FormList::DataBits:
        return fixedList(dataBitsItems, dataBitsValues);
    case FormList::StopBits:
        // Any position but "1 Stop Bit" stands for two.
        return fixedList(stopBitsItems, stopBitsValues, 1);
    case FormList::Parity:
        return fixedList(parityItems, parityValues);
    case FormList::Protocol:
        // Outside the list: storeProtocol writes four zero bytes.
        return fixedList(protocolItems, protocolValues, PROTOCOL_NONE + 1);
    case FormList::Characters:
        return {nullptr, nullptr, CHARACTER_LIST_SIZE, 0};
    case FormList::HexValues:
        return {nullptr, nullptr, HEX_LIST_SIZE, 0};
    }
    return {nullptr, nullptr, 0, 0};
}

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

using C = Control;
using K = FieldKind;

// In the form's order, group by group.
const FormField fields[] = {
    {"profileName", gConfig, "Cliente", K::Name, {}, C::lineEdit_cliente},
    {"cdcInterface",
     gConfig,
     "Dispositivo",
     K::Pair,
     Field::cdcInterface,
     C::actionSerial,
     C::actionTeclado,
     {},
     "Serial",
     "Teclado"},
    {"keyboardSpeed",
     gKeyboard,
     "Velocidade",
     K::List,
     Field::keyboardSpeed,
     C::comboBox_velocidade,
     {},
     FormList::KeyboardSpeed},
    {"abntLayout",
     gKeyboard,
     "Tipo de Teclado",
     K::Pair,
     Field::abntLayout,
     C::radioButton_abnt,
     C::radioButton_eng,
     {},
     "ABNT",
     "Inglês"},
    {"skm", gKeyboard, "Habilitar SKM", K::Flag, Field::skm, C::checkBox_SKM},
    {"sendCrAfterData", gKeyboard, "Enviar CR após os dados", K::Flag, Field::sendCrAfterData,
     C::checkBox_CR},
    {"charBeforeCr",
     gKeyboard,
     "Caractere antes de CR",
     K::Character,
     wholeByte(charBeforeCr),
     C::comboBox_CR,
     {},
     FormList::Characters},
    {"baudCode",
     gSerial,
     "Baudrate",
     K::List,
     Field::baudCode,
     C::comboBox_baud,
     {},
     FormList::BaudRate},
    {"parity",
     gSerial,
     "Paridade",
     K::List,
     Field::parity,
     C::comboBox_paridade,
     {},
     FormList::Parity},
    {"sevenDataBits",
     gSerial,
     "Byte",
     K::List,
     Field::sevenDataBits,
     C::comboBox_byte,
     {},
     FormList::DataBits},
    {"twoStopBits",
     gSerial,
     "Stop Bits",
     K::List,
     Field::twoStopBits,
     C::comboBox_stopBits,
     {},
     FormList::StopBits},
    {"protocol",
     gSerial,
     "Protocolo",
     K::Protocol,
     {},
     C::comboBox_protocol,
     {},
     FormList::Protocol},
    {"bccEnabled", gProtocol, "Enviar BCC", K::Flag, Field::bccEnabled, C::checkBox_bcc},
    {"bccInitialValue",
     gProtocol,
     "Valor inicial",
     K::HexByte,
     wholeByte(bccInitialValue),
     C::comboBox_bcc,
     {},
     FormList::HexValues},
    {"ackNak", gProtocol, "ACK/NAK", K::Flag, Field::ackNak, C::checkBox_ackNak},
    {"cmc7VerifyCheckDigit", gCmc7, "Verificar Check Digit CMC7", K::Flag,
     Field::cmc7VerifyCheckDigit, C::checkBox_checkCMC7},
    {"cmc7SendSeparator", gCmc7, "Enviar separador", K::Flag, Field::cmc7SendSeparator,
     C::checkBox_separadorCMC7},
    {"cmc7SeparatorChar",
     gCmc7,
     "Separador",
     K::Character,
     wholeByte(cmc7SeparatorChar),
     C::comboBox_separadorCMC7,
     {},
     FormList::Characters},
    {"cmc7Recover", gCmc7, "Tentar recuperar os dados", K::Flag, Field::cmc7Recover,
     C::checkBox_recuperarCMC7},
    {"cmc7SubstituteChar",
     gCmc7,
     "Substituição",
     K::Character,
     wholeByte(cmc7SubstituteChar),
     C::comboBox_erroCMC7,
     {},
     FormList::Characters},
    {"cmc7SendReversedOnError", gCmc7, "Enviar dados invertidos em caso de erro", K::Flag,
     Field::cmc7SendReversedOnError, C::checkBox_enviarInvertido},
    {"cmc7SendOnError", gCmc7, "Enviar dados em caso de erro", K::Flag, Field::cmc7SendOnError,
     C::checkBox_enviarQuestion},
    {"cmc7ReplaceBlockByLetters", gCmc7,
     "Substituir bloco por letras em caso de erro de check digit", K::Flag,
     Field::cmc7ReplaceBlockByLetters, C::checkBox_subPorLetra},
    {"sendErrorIndicator", gGeneral, "Enviar indicação de erro", K::Flag, Field::sendErrorIndicator,
     C::checkBox_indicaErro},
    {"errorIndicatorChar",
     gGeneral,
     "Indicador de erro",
     K::Character,
     wholeByte(errorIndicatorChar),
     C::comboBox_indicadorErro,
     {},
     FormList::Characters},
    {"waitForDocument", gGeneral, "Esperar documento", K::Flag, Field::waitForDocument,
     C::checkBox_esperarDocumento},
    {"dataTypeIdentifier", gGeneral, "Identificador de tipo de dado", K::Flag,
     Field::dataTypeIdentifier, C::checkBox_tipoDecodificado},
    {"trayModel",
     gTraction,
     "Modelo",
     K::Pair,
     Field::trayModel,
     C::radioButton_modeloBandeja,
     C::radioButton_modeloFreio,
     {},
     "Com bandeja",
     "Freio"},
    {"parkAtEntry",
     gTraction,
     "Estacionar documento",
     K::Pair,
     Field::parkAtEntry,
     C::radioButton_entrada,
     C::radioButton_saida,
     {},
     "Entrada",
     "Saída"},
    {"documentStop", gTraction, "Habilitar parada do documento", K::Flag, Field::documentStop,
     C::checkBox_freio},
    {"rereadsPlusOne", gTraction, "Número de releituras", K::Rereads, wholeByte(rereadsPlusOne),
     C::spinBox_releituras},
    {"opticalMode",
     gBarcodes,
     "Modo de envio",
     K::Pair,
     Field::opticalMode,
     C::radioButton_leituraOptica,
     C::radioButton_leituraDigitado,
     {},
     "Leitura óptica",
     "Como digitado"},
    {"sendCheckDigit", gBarcodes, "Enviar dígito geral", K::Flag, Field::sendCheckDigit,
     C::checkBox_digitoBarras},
    {"sendValue", gBarcodes, "Enviar valor", K::Flag, Field::sendValue, C::checkBox_valor},
    {"sendZeros", gBarcodes, "Enviar zeros", K::Flag, Field::sendZeros, C::checkBox_zeros},
    {"verify2of5CheckDigit", gBarcodes,
     "Verificação de check digit para códigos 2 de 5 intercalado", K::Flag,
     Field::verify2of5CheckDigit, C::checkBox_check2de5},
    {"bankSlipSeparator1",
     gBankSlip,
     "1º separador",
     K::Character,
     wholeByte(bankSlipSeparator1),
     C::comboBox_bbSep1,
     {},
     FormList::Characters},
    {"bankSlipSeparator2",
     gBankSlip,
     "2º separador",
     K::Character,
     wholeByte(bankSlipSeparator2),
     C::comboBox_bbSep2,
     {},
     FormList::Characters},
    {"utilityBillSeparator1",
     gUtility,
     "1º separador",
     K::Character,
     wholeByte(utilityBillSeparator1),
     C::comboBox_concSep1,
     {},
     FormList::Characters},
    {"utilityBillSeparator2",
     gUtility,
     "2º separador",
     K::Character,
     wholeByte(utilityBillSeparator2),
     C::comboBox_concSep2,
     {},
     FormList::Characters},
    {"reservedByte1Bit4", gReserved, "Byte 1, bit 4", K::Reserved, {1, 0x10}},
    {"reservedByte18Bits2to7", gReserved, "Byte 18, bits 2 a 7", K::Reserved, {18, 0xFC}},
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
    const int position = formListPosition(list, value);
    if (position < 0)
        return outOfList(value);
    return QString::fromUtf8(itemsOf(list).items[position]);
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

// A name shows as text when reading the text back gives its 8 bytes: shown
// characters only, no space at either end, zeros after the end and nowhere
// before it.
bool nameIsText(const uint8_t name[CONFIG_NAME_SIZE])
{
    size_t length = 0;
    while (length < CONFIG_NAME_SIZE && name[length] != 0)
        ++length;
    for (size_t i = length; i < CONFIG_NAME_SIZE; ++i)
        if (name[i] != 0)
            return false;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t c = name[i];
        const bool shown = (c > 0x20 && c < 0x7F) || (c > 0xA0 && c != 0xAD);
        if (!shown && !(c == 0x20 && i > 0 && i + 1 < length))
            return false;
    }
    return true;
}

QString bytesValue(const QString &hex)
{
    return QStringLiteral("(bytes %1)").arg(hex);
}

QString rereadsValue(uint8_t stored)
{
    if (stored < REREADS_MIN + 1 || stored > REREADS_MAX + 1)
        return QStringLiteral("%1 (fora da faixa)").arg(hexValue(stored));
    return QString::number(stored - 1);
}

DecodedField decode(const FormField &entry, const ConfigRecord &record)
{
    DecodedField field{QString::fromLatin1(entry.key),
                       QString::fromUtf8(entry.group),
                       QString::fromUtf8(entry.label),
                       {},
                       {}};
    const unsigned value = record.get(entry.bits);
    field.raw = QString::number(value);
    switch (entry.kind) {
    case FieldKind::Name:
        field.raw = hexBytes(record.profileName, CONFIG_NAME_SIZE);
        field.value = nameIsText(record.profileName) ? record.displayName() : bytesValue(field.raw);
        break;
    case FieldKind::Flag:
        field.value = value != 0 ? QStringLiteral("sim") : QString::fromUtf8("não");
        break;
    case FieldKind::Pair:
        field.value = QString::fromUtf8(value != 0 ? entry.whenSet : entry.whenClear);
        break;
    case FieldKind::List:
        field.value = listValue(entry.list, value);
        break;
    case FieldKind::Character:
        field.value = characterValue(static_cast<uint8_t>(value));
        break;
    case FieldKind::Rereads:
        field.value = rereadsValue(static_cast<uint8_t>(value));
        break;
    case FieldKind::HexByte:
        field.value = hexListItem(static_cast<int>(value));
        break;
    case FieldKind::Protocol:
        field.value = protocolValue(record);
        field.raw = hexBytes(record.settings + headerByte1, 4);
        break;
    case FieldKind::Reserved:
        field.value = field.raw;
        break;
    }
    return field;
}

// --- Reading values back: the inverse of decode ---

unsigned largestValue(BitField bits)
{
    return bits.mask == 0 ? 0U : unsigned(bits.mask) >> std::countr_zero(bits.mask);
}

// An item of the list, the exact text first, then any letter case when
// only one item matches that way; -1 for none. Single characters count
// exactly only: 'a' is not 'A'.
int itemPosition(const QStringList &items, const QString &text)
{
    if (const auto exact = items.indexOf(text); exact >= 0)
        return int(exact);
    int found = -1;
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].size() > 1 && items[i].compare(text, Qt::CaseInsensitive) == 0) {
            if (found >= 0)
                return -1;
            found = int(i);
        }
    return found;
}

bool decimalNumber(const QString &text, unsigned *value)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *value = text.toUInt();
    return true;
}

// "0x1F", as the raw values show, with or without the note after it.
bool hexNumber(const QString &text, unsigned *value)
{
    static const QRegularExpression raw(
        QStringLiteral("^0[xX]([0-9A-Fa-f]{1,2})(?: \\(fora da (?:lista|faixa)\\))?$"));
    const auto match = raw.match(text);
    if (!match.hasMatch())
        return false;
    *value = match.captured(1).toUInt(nullptr, 16);
    return true;
}

bool rawNumber(const QString &text, unsigned largest, unsigned *value)
{
    unsigned n = 0;
    if (!hexNumber(text, &n) && !decimalNumber(text, &n))
        return false;
    *value = n;
    return n <= largest;
}

// n bytes in hex, "02 00 03 00", or within "(bytes ...)".
bool hexByteList(const QString &text, size_t n, uint8_t *out)
{
    QString list = text;
    if (list.startsWith(QLatin1String("(bytes ")) && list.endsWith(QLatin1Char(')')))
        list = list.mid(7).chopped(1);
    const QStringList parts = list.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (size_t(parts.size()) != n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        bool ok = false;
        const unsigned byte = parts[qsizetype(i)].toUInt(&ok, 16);
        if (!ok || parts[qsizetype(i)].size() != 2)
            return false;
        out[i] = static_cast<uint8_t>(byte);
    }
    return true;
}

bool parseName(const QString &text, FieldValue *out)
{
    if (hexByteList(text, CONFIG_NAME_SIZE, out->bytes))
        return true;
    if (size_t(text.size()) > CONFIG_NAME_SIZE)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c > 0xFF)
            return false;
        out->bytes[i] = static_cast<uint8_t>(c);
    }
    return true;
}

// "STX-D-ETX", or "STX-D-ETX (bytes 02 00 03 01)" for bytes that stand for
// that choice without being its row, or the four bytes alone.
bool parseProtocol(const QString &text, FieldValue *out)
{
    const QStringList items = formListItems(FormList::Protocol);
    const qsizetype open = text.indexOf(QLatin1String(" (bytes "));
    const int choice = itemPosition(items, open < 0 ? text : text.left(open));
    ConfigRecord record{};
    if (choice >= 0)
        storeProtocol(record, choice);
    else if (!hexByteList(text, 4, record.settings + headerByte1))
        return false;
    if (choice >= 0 && open >= 0 &&
        (!hexByteList(text.mid(open + 1), 4, record.settings + headerByte1) ||
         protocolOf(record) != choice))
        return false;
    memcpy(out->bytes, record.settings + headerByte1, 4);
    ConfigRecord canonical = record;
    storeProtocol(canonical, protocolOf(record));
    out->offered = memcmp(canonical.settings + headerByte1, out->bytes, 4) == 0;
    return true;
}

bool parseCharacter(const QString &text, FieldValue *out)
{
    const int position = itemPosition(formListItems(FormList::Characters), text);
    if (position >= 0) {
        out->value = listIndexToChar(position);
        return true;
    }
    if (!hexNumber(text, &out->value))
        return false;
    const int shown = charToListIndex(static_cast<uint8_t>(out->value));
    out->offered =
        shown >= 0 && shown < CHARACTER_LIST_SIZE && listIndexToChar(shown) == out->value;
    return true;
}

// A list's item, or a raw number in the field's bits.
bool parseListValue(const FormField &field, const QStringList &items, const QString &text,
                    FieldValue *out)
{
    if (const int position = itemPosition(items, text); position >= 0) {
        out->value = field.kind == FieldKind::List ? formListValue(field.list, position)
                                                   : unsigned(position);
        return true;
    }
    if (!rawNumber(text, largestValue(field.bits), &out->value))
        return false;
    out->offered = field.kind == FieldKind::List ? formListPosition(field.list, out->value) >= 0
                                                 : out->value < unsigned(items.size());
    return true;
}

bool parseRereads(const QString &text, FieldValue *out)
{
    unsigned n = 0;
    if (decimalNumber(text, &n) && n <= unsigned(REREADS_MAX)) {
        out->value = n + 1;
        return true;
    }
    if (!hexNumber(text, &out->value))
        return false;
    out->offered = out->value >= REREADS_MIN + 1 && out->value <= REREADS_MAX + 1;
    return true;
}

bool parseHexByte(const QString &text, FieldValue *out)
{
    static const QRegularExpression item(QStringLiteral("^[0-9A-Fa-f]{2}$"));
    if (item.match(text).hasMatch()) {
        out->value = text.toUInt(nullptr, 16);
        return true;
    }
    return hexNumber(text, &out->value);
}

// The table's words decoded once: a profile looks each of its lines up in them.
struct FieldWords
{
    QString group;
    QString label;
};

const FieldWords &wordsOf(const FormField &field)
{
    static const std::vector<FieldWords> words = [] {
        std::vector<FieldWords> all;
        for (const FormField &each : fields)
            all.push_back({QString::fromUtf8(each.group), QString::fromUtf8(each.label)});
        return all;
    }();
    return words[size_t(&field - fields)];
}

bool sameWords(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

QStringList formListItems(FormList list)
{
    const ListItems items = itemsOf(list);
    QStringList texts;
    for (int i = 0; i < items.count; ++i)
        texts << (list == FormList::Characters  ? characterListItem(i)
                  : list == FormList::HexValues ? hexListItem(i)
                                                : QString::fromUtf8(items.items[i]));
    return texts;
}

int formListCount(FormList list)
{
    return itemsOf(list).count;
}

unsigned formListValue(FormList list, int position)
{
    const ListItems items = itemsOf(list);
    if (list == FormList::Characters)
        return listIndexToChar(position);
    if (list == FormList::HexValues) // the position itself, to 8 bits
        return static_cast<uint8_t>(position);
    if (position < 0 || position >= items.count)
        return items.whenNone;
    return items.values ? items.values[position] : static_cast<unsigned>(position);
}

int formListPosition(FormList list, unsigned value)
{
    const ListItems items = itemsOf(list);
    if (list == FormList::Characters)
        return charToListIndex(static_cast<uint8_t>(value));
    for (int position = 0; position < items.count; ++position)
        if ((items.values ? items.values[position] : static_cast<unsigned>(position)) == value)
            return position;
    return -1;
}

int32_t baudRateOfCode(unsigned code)
{
    const int position = formListPosition(FormList::BaudRate, code);
    return position < 0 ? 0 : QString::fromLatin1(baudItems[position]).toInt();
}

std::span<const FormField> formFields()
{
    return fields;
}

const FormField *fieldEditedBy(Control control)
{
    for (const FormField &field : fields)
        if (field.kind != FieldKind::Reserved &&
            (field.input == control ||
             (field.kind == FieldKind::Pair && field.inputWhenClear == control)))
            return &field;
    return nullptr;
}

QList<DecodedField> decodeConfig(const ConfigRecord &record)
{
    QList<DecodedField> decoded;
    for (const FormField &entry : fields)
        decoded << decode(entry, record);
    return decoded;
}

bool parseFieldValue(const FormField &field, const QString &given, FieldValue *value)
{
    const QString text = given.trimmed();
    FieldValue read;
    bool ok = false;
    switch (field.kind) {
    case FieldKind::Name:
        ok = parseName(text, &read);
        break;
    case FieldKind::Flag:
        ok = parseListValue(field, {QString::fromUtf8("não"), QStringLiteral("sim")},
                            text == QLatin1String("nao") ? QString::fromUtf8("não") : text, &read);
        break;
    case FieldKind::Pair:
        ok = parseListValue(field,
                            {QString::fromUtf8(field.whenClear), QString::fromUtf8(field.whenSet)},
                            text, &read);
        break;
    case FieldKind::List:
        ok = parseListValue(field, formListItems(field.list), text, &read);
        break;
    case FieldKind::Character:
        ok = parseCharacter(text, &read);
        break;
    case FieldKind::Rereads:
        ok = parseRereads(text, &read);
        break;
    case FieldKind::HexByte:
        ok = parseHexByte(text, &read);
        break;
    case FieldKind::Protocol:
        ok = parseProtocol(text, &read);
        break;
    case FieldKind::Reserved:
        ok = rawNumber(text, largestValue(field.bits), &read.value);
        read.offered = false;
        break;
    }
    if (ok)
        *value = read;
    return ok;
}

QString acceptedValues(const FormField &field)
{
    const QString either = QString::fromUtf8("%1 ou %2");
    switch (field.kind) {
    case FieldKind::Name:
        return QString::fromUtf8(
            "até 8 caracteres, ou os 8 bytes: (bytes 46 41 42 52 49 43 41 00)");
    case FieldKind::Flag:
        return QString::fromUtf8("sim ou não");
    case FieldKind::Pair:
        return either.arg(QString::fromUtf8(field.whenSet), QString::fromUtf8(field.whenClear));
    case FieldKind::List:
    case FieldKind::Protocol:
        return formListItems(field.list).join(QStringLiteral(", "));
    case FieldKind::Character:
        return QString::fromUtf8("NULL, TAB, ENTER, SPACE, BCKSPC ou um caractere de ! a ~");
    case FieldKind::Rereads:
        return QStringLiteral("%1 a %2").arg(REREADS_MIN).arg(REREADS_MAX);
    case FieldKind::HexByte:
        return QStringLiteral("00 a FF");
    case FieldKind::Reserved:
        return QStringLiteral("0 a %1").arg(largestValue(field.bits));
    }
    return {};
}

void storeFieldValue(ConfigRecord &record, const FormField &field, const FieldValue &value)
{
    if (field.kind == FieldKind::Name)
        memcpy(record.profileName, value.bytes, CONFIG_NAME_SIZE);
    else if (field.kind == FieldKind::Protocol)
        memcpy(record.settings + headerByte1, value.bytes, 4);
    else
        record.set(field.bits, value.value);
}

bool fieldHolds(const ConfigRecord &record, const FormField &field, const FieldValue &value)
{
    ConfigRecord stored = record;
    storeFieldValue(stored, field, value);
    return memcmp(&stored, &record, sizeof record) == 0;
}

QString fieldTitle(const FormField &field)
{
    return QString::fromUtf8(field.group) + QLatin1Char('/') + QString::fromUtf8(field.label);
}

const FormField *fieldNamed(const QString &given, QStringList *ambiguous)
{
    const QString name = given.trimmed();
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    const QString group = slash > 0 ? name.left(slash).trimmed() : QString();
    const QString label = name.mid(slash + 1).trimmed();
    for (const FormField &field : fields)
        if (name.compare(QLatin1String(field.key), Qt::CaseInsensitive) == 0 ||
            (slash > 0 && sameWords(group, wordsOf(field).group) &&
             sameWords(label, wordsOf(field).label)))
            return &field;
    QList<const FormField *> labelled;
    for (const FormField &field : fields)
        if (sameWords(name, wordsOf(field).label))
            labelled << &field;
    if (labelled.size() == 1)
        return labelled.first();
    if (ambiguous)
        for (const FormField *field : labelled)
            *ambiguous << fieldTitle(*field);
    return nullptr;
}

const FormField *fieldInGroup(const QString &group, const QString &label)
{
    for (const FormField &field : fields)
        if (group == wordsOf(field).group && sameWords(label, wordsOf(field).label))
            return &field;
    return nullptr;
}

bool isFormGroup(const QString &title)
{
    for (const FormField &field : fields)
        if (title == wordsOf(field).group)
            return true;
    return false;
}
