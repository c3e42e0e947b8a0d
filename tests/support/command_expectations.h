#pragma once
// What the reader-command tests expect to see: the message boxes of the
// commands' failures, and request payloads written as text.
#include "modal_responder.h"

#include <cstdint>
#include <cstring>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline Bytes bytes(const char *text)
{
    return Bytes(text, text + strlen(text));
}

inline const ShownBox notFound{"critical", "Erro", QString::fromUtf8("Dispositivo não encontrado")};
inline const ShownBox cdcOnHid{"warning", "Aviso",
                               QStringLiteral("Dispositivo tipo CDC detectado")};
inline const ShownBox communicationError{"critical", "Erro",
                                         QString::fromUtf8("Erro de comunicação")};
inline const ShownBox serialLength{"warning", "Aviso!",
                                   QString::fromUtf8("Número de série deve possuir 6 digitos")};
