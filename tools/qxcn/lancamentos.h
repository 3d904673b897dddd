#pragma once
// Entries and reports as qxcn shows them: the columns and cells the tools
// share, and the reading of the entries, shared with the other clients for
// people.

#include "comandos.h"
#include "common/lancamentos.h"
#include "common/periodo.h"
#include "common/relatorios.h"
#include "reports/leitura.h"

namespace qxcn {

using qx::LancamentoLido;
using qx::cli::CelulasLancamento;
using qx::cli::ColunasLancamento;
using qx::cli::Origem;
using qx::cli::TabelaDiferencas;
using qx::cli::TabelaLancamento;
using qx::cli::TabelaRateio;

using qx::ChavesDaBusca;
using qx::Complemento;
using qx::LeChaves;
using qx::LeUm;

}  // namespace qxcn
