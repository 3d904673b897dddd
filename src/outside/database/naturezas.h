// The nature of the accounts of a company's accounting chart: what each
// account is in the statements (asset, liability, equity, result, memorandum),
// kept as rules by classification. A rule names a classification and a
// nature; an account takes the nature of the rule of the longest
// classification at or above its own level. A new company starts with one
// rule per first level (1 asset, 2 liability, 3 revenue, 4 expense), which
// the admin changes and adds to ("2.3" equity, "3.2" deductions, "4.1" costs).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "outside/database/suite_database.h"

namespace qx {

enum class Natureza : uint8_t {
  kNenhuma,      // no rule reaches the account
  kAtivo,        // asset
  kPassivo,      // liability
  kPatrimonio,   // equity
  kReceita,      // result: revenue
  kDeducao,      // result: deduction from revenue
  kCusto,        // result: cost
  kDespesa,      // result: expense
  kCompensacao,  // memorandum
};

struct NomeDeNatureza {
  Natureza natureza;
  const char* nome;       // as stored and as people type it: "patrimonio"
  const char* descricao;  // for people: "patrimônio líquido" (UTF-8)
};

// Every nature but kNenhuma, in the order above.
std::span<const NomeDeNatureza> NomesDeNatureza();
// "ativo" ...; "" for kNenhuma.
const char* NomeNatureza(Natureza natureza);
// "patrimônio líquido" ...; "sem natureza" for kNenhuma.
const char* DescricaoNatureza(Natureza natureza);
std::optional<Natureza> NaturezaDoNome(std::string_view nome);
// Revenue, deduction, cost or expense: closed into equity at the year's end.
bool EhResultado(Natureza natureza);

struct RegraNatureza {
  std::string classificacao;  // Windows-1252
  Natureza natureza = Natureza::kNenhuma;
  bool operator==(const RegraNatureza&) const = default;
};

// In classification order.
HRESULT ListaNaturezas(SuiteDatabase& db, std::vector<RegraNatureza>* regras);
// Adds the rule or changes the nature of its classification; an empty
// classification or kNenhuma gives E_INVALIDARG.
HRESULT DefineNatureza(SuiteDatabase& db, const RegraNatureza& regra);
// Removes the rule of that classification; E_QXDF_REGISTRO_NAO_ENCONTRADO
// when there is none.
HRESULT RemoveNatureza(SuiteDatabase& db, const std::string& classificacao);

}  // namespace qx
