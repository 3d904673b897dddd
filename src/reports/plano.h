#pragma once
// A chart of accounts as the reports read it: every account with its
// classification, name, depth and type, in the order of the classifications.
// A total account (type 'T') sums the accounts whose classification begins
// with its own; in that order they follow it, one after the other.

#include <cstdint>
#include <string>
#include <vector>

#include "reports/sessao.h"

namespace qx {

struct Conta {
  int32_t numero = 0;
  std::string classificacao;  // Windows-1252; "" for an account the chart does not have
  std::string nome;           // Windows-1252
  uint16_t nivel = 0;         // depth, 1 at the top; 0 for an account the chart does not have
  bool total = false;         // type 'T'
};

class PlanoDeContas {
 public:
  explicit PlanoDeContas(std::vector<Conta> contas);

  const std::vector<Conta>& Contas() const { return contas_; }
  // The account of that number; one with only its number when the chart
  // does not have it.
  Conta Busca(int32_t numero) const;
  bool Tem(int32_t numero) const;
  // The place of that number in Contas(); Contas().size() when the chart
  // does not have it.
  size_t Ordem(int32_t numero) const;
  // One past the last account under Contas()[i]: the accounts after it whose
  // classification begins with its own.
  size_t FimDoGrupo(size_t i) const;
  // The numbers of a total account and of every account under it; of the
  // account alone for any other.
  std::vector<int32_t> Grupo(int32_t numero) const;

 private:
  std::vector<Conta> contas_;
  std::vector<std::pair<int32_t, size_t>> porNumero_;  // sorted by number
};

// The session's company's accounting chart ('C') or managerial chart ('G'),
// read through the chart connection; a failure throws FalhaServico.
PlanoDeContas LePlano(const SessaoLancamento& servico, char plano);

}  // namespace qx
