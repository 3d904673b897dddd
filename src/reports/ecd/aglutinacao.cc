#include "reports/ecd/aglutinacao.h"

namespace qx::ecd {

bool NasDemonstracoes(const Conta& conta) {
  return conta.analitica && conta.natureza >= Natureza::kAtivo &&
         conta.natureza <= Natureza::kResultado;
}

std::unordered_map<std::string, std::string> CodigosDeAglutinacao(const Livro& livro) {
  std::unordered_map<std::string, const Conta*> contas;
  for (const Conta& c : livro.contas) contas.emplace(c.codigo, &c);
  std::unordered_map<std::string, std::string> dadas;
  for (const Aglutinacao& a : livro.aglutinacoes) dadas.emplace(a.conta, a.codigo);
  std::unordered_map<std::string, std::string> codigos;
  for (const Conta& c : livro.contas) {
    if (!NasDemonstracoes(c)) continue;
    std::string codigo = c.codigo;
    // Up the chart; a parent the chart lacks ends the climb (the checker names it).
    for (const Conta* acima = &c; acima != nullptr;) {
      if (const auto dada = dadas.find(acima->codigo); dada != dadas.end()) {
        codigo = dada->second;
        break;
      }
      const auto pai = contas.find(acima->superior);
      acima = pai == contas.end() || acima->superior.empty() ? nullptr : pai->second;
    }
    codigos.emplace(c.codigo, std::move(codigo));
  }
  return codigos;
}

}  // namespace qx::ecd
