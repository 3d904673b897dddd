#pragma once
// Entries as qxcn shows them.

#include <cstdint>
#include <string>
#include <vector>

#include "comandos.h"
#include "reports/leitura.h"
#include "reports/periodo.h"
#include "reports/plano.h"
#include "values/qx_mes_ano.h"

namespace qxcn {

using qx::LancamentoLido;

// An origin key as "module:key" ("21:4711"); "" for none.
std::string Origem(int32_t lChaveModulo);

// The columns of an entry listing; `extra` columns are appended after them.
std::vector<std::string> ColunasLancamento(std::vector<std::string> extra = {});
// The cells of one entry, in the order of ColunasLancamento.
std::vector<Celula> CelulasLancamento(const LancamentoLido& lancamento);

// An account as the reports show it: "conta", "classificacao", "nome".
std::vector<std::string> ColunasConta();
std::vector<Celula> CelulasConta(const qx::Conta& conta);
// "5 1.1.01.002 Bancos conta movimento", as people read it.
std::string NomeConta(const qx::Conta& conta);
// "de 01/03/2026 a 31/03/2026", and the branch when there is one.
std::string TextoPeriodo(CQXData de, CQXData ate, uint16_t filial);

// The reading of the entries, shared with the other clients for people.
using qx::ChavesDaBusca;
using qx::Complemento;
using qx::LeChaves;
using qx::LeUm;

}  // namespace qxcn
