#include "commands/message_catalogue.h"

#include <iterator>

namespace {
const CatalogueMessage catalogue[] = {
    {MessageKind::Critical, "Erro", "Dispositivo não encontrado", true},
    {MessageKind::Warning, "Aviso", "Dispositivo tipo Teclado detectado", true},
    {MessageKind::Warning, "Aviso", "Dispositivo tipo CDC detectado", true},
    {MessageKind::Critical, "Erro", "Erro de comunicação", true},
    {MessageKind::None, "", "", false},
    {MessageKind::Warning, "Aviso!", "Número de série deve possuir 6 digitos", true},
    {MessageKind::Warning, "Aviso!", "Somente caracteres numéricos(0-9) são permitidos", true},
    {MessageKind::Critical, "Erro!", "Não foi possível abrir arquivo especificado", true},
    {MessageKind::Critical, "Erro!", "Arquivo hid_usb.dll não enconrado", false},
    {MessageKind::Critical, "Erro!", "Falha no carregamento do componente hid_usb.dll", false},
};
static_assert(std::size(catalogue) == MESSAGE_LAST - MESSAGE_FIRST + 1);
} // namespace

const CatalogueMessage *catalogueMessage(int n)
{
    if (n < MESSAGE_FIRST || n > MESSAGE_LAST)
        return nullptr;
    return &catalogue[n - MESSAGE_FIRST];
}

int failureMessage(CommandFailure failure)
{
    switch (failure) {
    case COMMAND_OK:
        return 0;
    case READER_NOT_FOUND:
        return MESSAGE_NOT_FOUND;
    case CDC_READER_ON_HID:
        return MESSAGE_CDC_DETECTED;
    case COMMUNICATION_ERROR:
        return MESSAGE_COMMUNICATION;
    case CLOSE_FAILED:
        return MESSAGE_CLOSE_FAILED;
    case SERIAL_NUMBER_LENGTH:
        return MESSAGE_SERIAL_LENGTH;
    }
    return 0;
}
