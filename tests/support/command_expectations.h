#pragma once
// The message boxes of the reader commands' failures.
#include "modal_responder.h"

inline const ShownBox notFound{"critical", "Erro", "Dispositivo não encontrado"};
inline const ShownBox cdcOnHid{"warning", "Aviso", "Dispositivo tipo CDC detectado"};
inline const ShownBox communicationError{"critical", "Erro", "Erro de comunicação"};
inline const ShownBox serialLength{"warning", "Aviso!", "Número de série deve possuir 6 digitos"};
