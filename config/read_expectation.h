#pragma once
// What a record leads one to expect when the reader reads a document, and
// where a read departs from it. A read is laid out as the reader lays it out:
//
//   cheque     the CMC-7 line's three fields (8, 10 and 12 characters),
//              the CMC-7 "Separador" between them when "Enviar separador"
//              is on;
//   bank slip  the 44 characters of the barcode and the "1º separador";
//              with "Enviar valor" the 10 characters of the amount and the
//              "2º separador" after them;
//
// then, as a keyboard, the "Caractere antes de CR" and ENTER when "Enviar CR
// após os dados" is on; over the serial interface the protocol's header
// before everything and its trailer after it, and the block check (BCC,
// from "Valor inicial" over every byte after the STX) when "Enviar BCC" is
// on and the header is STX. A NULL character is no key: as a keyboard it is
// not typed. The digits themselves are the document's; only their count and
// what surrounds them are checked.
#include "config/byte_names.h"
#include "config/config_record.h"

#include <QByteArray>
#include <QList>
#include <QString>

enum class DocumentKind
{
    Cheque,
    BankSlip,
};

constexpr int CMC7_FIELD_LENGTHS[] = {8, 10, 12};
constexpr int BANK_SLIP_BARCODE_LENGTH = 44;
constexpr int BANK_SLIP_AMOUNT_LENGTH = 10;

// "cheque", "boleto bancário".
QString documentName(DocumentKind kind);

struct ExpectedPart
{
    enum Kind
    {
        Byte,       // this byte
        Data,       // length printable characters of the document
        BlockCheck, // the XOR of blockCheckStart and every byte since the first
    };
    Kind kind = Byte;
    uint8_t byte = 0; // Byte: the byte; BlockCheck: the initial value
    int length = 1;   // Data: how many characters
};

struct ReadExpectation
{
    DocumentKind kind = DocumentKind::Cheque;
    ByteNaming naming = ByteNaming::Serial;
    QList<ExpectedPart> parts;
};

ReadExpectation expectedRead(const ConfigRecord &record, DocumentKind kind, ByteNaming naming);

// "<STX>[8]<CR>[10]<CR>[12]<ETX>[BCC]": the data as its length in brackets.
QString expectationText(const ReadExpectation &expectation);

struct ReadCheck
{
    bool matches = false;
    qsizetype position = 0; // where the read departs from the expectation
    // "confere", or "esperado TAB, recebido ENTER": what the expectation has
    // at that position and what the read has.
    QString mark;
};

ReadCheck checkRead(const ReadExpectation &expectation, const QByteArray &read);

// The document whose expectation the read follows furthest (a cheque when
// both fit as far), with its check.
struct ReadVerdict
{
    ReadExpectation expectation;
    ReadCheck check;
};
ReadVerdict judgeRead(const ConfigRecord &record, ByteNaming naming, const QByteArray &read);
