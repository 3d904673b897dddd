// Entries as the tools for people show them: the columns of an entry listing
// (the JSON keys and CSV headings that qxcn and qxweb share) and the cells of
// one entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/celula.h"
#include "common/tabela.h"
#include "reports/leitura.h"

namespace qx::cli {

// An origin key as "module:key" ("21:4711"); "" for none.
std::string Origem(int32_t lChaveModulo);

// The columns of an entry listing; `extra` columns are appended after them.
std::vector<std::string> ColunasLancamento(std::vector<std::string> extra = {});
// The cells of one entry, in the order of ColunasLancamento.
std::vector<Celula> CelulasLancamento(const LancamentoLido& lancamento);

// One entry as qxcn le shows it: the listing's columns and its
// foreign-currency amount, "moeda".
Tabela TabelaLancamento(const LancamentoLido& lancamento);
// A split: "gerencial", "contabil", "valor", "quantidade".
Tabela TabelaRateio(const RegistrosRateio& rateio);
// The debit/credit differences dated from `de` to `ate` (either may be
// absent): "data", "filial", "usuario", "diferenca"; `total` sums them.
Tabela TabelaDiferencas(const std::vector<Reg_Dif>& diferencas, std::optional<CQXData> de,
                        std::optional<CQXData> ate, Total& total);
// Their total: "total".
Tabela TabelaTotal(const Total& total);

}  // namespace qx::cli
