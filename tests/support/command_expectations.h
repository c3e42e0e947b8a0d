#pragma once
// The message boxes of the reader commands' failures.
#include "modal_responder.h"

inline const ShownBox notFound{"critical", "Erro", QString::fromUtf8("Dispositivo não encontrado")};
inline const ShownBox cdcOnHid{"warning", "Aviso",
                               QStringLiteral("Dispositivo tipo CDC detectado")};
inline const ShownBox communicationError{"critical", "Erro",
                                         QString::fromUtf8("Erro de comunicação")};
inline const ShownBox serialLength{"warning", "Aviso!",
                                   QString::fromUtf8("Número de série deve possuir 6 digitos")};
