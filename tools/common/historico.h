// The history of entries as the tools show it: one row for each field an
// event changed, under the columns "momento", "usuario", "sessao", "tipo",
// "mes", "pos", "lote", "campo", "antes", "depois".
#pragma once

#include <string>
#include <vector>

#include "common/tabela.h"
#include "reports/historico.h"

namespace qx::cli {

// The events of the company's history that the filter admits; a failure
// throws FalhaServico.
std::vector<EventoHistorico> LeHistoricoDaEmpresa(const std::string& empresa,
                                                  const FiltroEventos& filtro);

// For people (`pessoas`) moments read 15/03/2026 10:00:00, amounts 1.234,56,
// and an event's own cells stand once, above its changes; otherwise every
// row carries them, in the forms of CSV and JSON.
Tabela TabelaHistorico(const std::vector<EventoHistorico>& eventos, bool pessoas);

}  // namespace qx::cli
