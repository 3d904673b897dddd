#pragma once
// The closing of a year's result accounts into equity, as data. A closing
// entry is dated the year's last day and takes, in its branch, one result
// account's balance of the year to the equity account named, so that the
// result account ends the year at zero and equity holds the year's result.
//
// Closing entries carry an origin key of their own: module
// kModuloEncerramento, the year as the key, the month of their date as the
// origin period; their complement says "Encerramento do exercício AAAA".
// Whoever reads the books (the income statement, which leaves them out, the
// tax file, which flags them) tells them from ordinary entries by that key.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "contract/iqxcn_lancamento.h"
#include "reports/plano.h"
#include "reports/saldos.h"
#include "values/qx_data.h"

namespace qx {

// The origin module of closing entries: one no other module of the suite
// uses, which no origin flag of the search filter admits.
inline constexpr uint32_t kModuloEncerramento = 33;

// Whether the entry is a closing entry, of any year or of `ano`.
bool EhEncerramento(const RegDados& dados);
bool EhEncerramentoDe(const RegDados& dados, int ano);

// The year `ano` as it is closed: 1 January to 31 December.
struct Exercicio {
  int ano = 0;
  CQXData inicio;
  CQXData fim;  // the date of its closing entries
};
Exercicio ExercicioDoAno(int ano);

// "Encerramento do exercício AAAA" (Windows-1252).
std::string ComplementoDeEncerramento(int ano);

// The closing entries of the year from its balances by branch: for each
// branch and each account of a result nature (reports/natureza.h) with a
// balance, one entry of that balance between the account and `patrimonio`,
// in branch and chart order. The balances are those of the year's entries;
// one that overflowed throws FalhaLocal.
std::vector<RegDados> LancamentosDeEncerramento(const PlanoDeContas& plano,
                                                const std::map<uint16_t, Saldos>& porFilial,
                                                int32_t patrimonio, const Exercicio& exercicio);

}  // namespace qx
