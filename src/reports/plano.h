#pragma once
// A chart of accounts as the reports read it: every account with its
// classification, name, depth and type, in the order of the classifications.
// A total account (type 'T') sums the accounts at or below its level
// (reports/niveis.h); in that order they follow it.

#include <cstdint>
#include <string>
#include <vector>

#include "outside/database/naturezas.h"
#include "reports/sessao.h"

namespace qx {

struct Conta {
  int32_t numero = 0;
  std::string classificacao;  // Windows-1252; "" for an account the chart does not have
  std::string nome;           // Windows-1252
  uint16_t nivel = 0;         // depth, 1 at the top; 0 for an account the chart does not have
  bool total = false;         // type 'T'
  Natureza natureza = Natureza::kNenhuma;
};

class PlanoDeContas {
 public:
  explicit PlanoDeContas(std::vector<Conta> contas);
  // Each account with the nature the rules give its classification.
  PlanoDeContas(std::vector<Conta> contas, const std::vector<RegraNatureza>& naturezas);

  const std::vector<Conta>& Contas() const { return contas_; }
  // The account of that number; one with only its number when the chart
  // does not have it.
  Conta Busca(int32_t numero) const;
  bool Tem(int32_t numero) const;
  // The place of that number in Contas(); Contas().size() when the chart
  // does not have it.
  size_t Ordem(int32_t numero) const;
  // The places of Contas()[i] and of the accounts at or below its level, in
  // the chart's order.
  std::vector<size_t> Abaixo(size_t i) const;
  // The numbers of a total account and of every account under it; of the
  // account alone for any other.
  std::vector<int32_t> Grupo(int32_t numero) const;

 private:
  std::vector<Conta> contas_;
  std::vector<std::pair<int32_t, size_t>> porNumero_;  // sorted by number
};

// The session's company's accounting chart ('C', with the natures of its
// accounts) or managerial chart ('G'), read through the chart connection and
// the company's rules of nature; a failure throws FalhaServico.
PlanoDeContas LePlano(const SessaoLancamento& servico, char plano);

// The company's rules of nature (outside/database/naturezas.h); a failure throws
// FalhaServico.
std::vector<RegraNatureza> LeNaturezas(const std::string& empresa);

}  // namespace qx
