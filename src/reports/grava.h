#pragma once
// One entry saved through the published interface, as grava does it after
// the rules of a save (reports/validacao.h) let it through.

#include <cstdint>
#include <string>

#include "reports/leitura.h"
#include "reports/sessao.h"

namespace qx {

// Sets the complement (Windows-1252) and the split lines with their
// quantities (missing ones become 0), then saves the entry at *indlan (0: a
// new one); *indlan is where it was saved. A failed call throws FalhaServico.
void GravaLancamento(SessaoLancamento& servico, RegDados* dados, const std::string& complemento,
                     RegistrosRateio* rateio, int32_t* indlan);

}  // namespace qx
