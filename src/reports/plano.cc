#include "reports/plano.h"

#include <algorithm>

#include "diagnostics/profiler_identity.h"
#include "outside/conexao_plano.h"
#include "reports/falha.h"

namespace qx {

PlanoDeContas::PlanoDeContas(std::vector<Conta> contas) : contas_(std::move(contas)) {
  std::sort(contas_.begin(), contas_.end(), [](const Conta& a, const Conta& b) {
    return std::tie(a.classificacao, a.numero) < std::tie(b.classificacao, b.numero);
  });
  for (size_t i = 0; i < contas_.size(); ++i) porNumero_.emplace_back(contas_[i].numero, i);
  std::sort(porNumero_.begin(), porNumero_.end());
}

size_t PlanoDeContas::Ordem(int32_t numero) const {
  const auto it =
      std::lower_bound(porNumero_.begin(), porNumero_.end(), std::make_pair(numero, size_t{0}));
  return it != porNumero_.end() && it->first == numero ? it->second : contas_.size();
}

Conta PlanoDeContas::Busca(int32_t numero) const {
  const size_t i = Ordem(numero);
  if (i < contas_.size()) return contas_[i];
  Conta desconhecida;
  desconhecida.numero = numero;
  return desconhecida;
}

bool PlanoDeContas::Tem(int32_t numero) const { return Ordem(numero) < contas_.size(); }

size_t PlanoDeContas::FimDoGrupo(size_t i) const {
  const std::string& raiz = contas_[i].classificacao;
  size_t fim = i + 1;
  while (fim < contas_.size() && contas_[fim].classificacao.starts_with(raiz)) ++fim;
  return fim;
}

std::vector<int32_t> PlanoDeContas::Grupo(int32_t numero) const {
  const size_t i = Ordem(numero);
  if (i == contas_.size() || !contas_[i].total) return {numero};
  std::vector<int32_t> grupo;
  for (size_t j = i, fim = FimDoGrupo(i); j < fim; ++j) grupo.push_back(contas_[j].numero);
  return grupo;
}

PlanoDeContas LePlano(const SessaoLancamento& servico, char plano) {
  const Identidade& quem = servico.identidade();
  CConexaoPlanoContabil contabil;
  CConexaoPlanoGerencial gerencial;
  CConexaoPlano& conexao = plano == 'G' ? static_cast<CConexaoPlano&>(gerencial) : contabil;
  Verifica(conexao.Inicializa(quem.empresa.c_str(), static_cast<uint16_t>(quem.usuario),
                              quem.sessao, '0', '0'),
           "CConexaoPlano::Inicializa");
  std::vector<_RegContaPS> registros;
  Verifica(conexao.Lista(&registros), "CConexaoPlano::Lista");
  std::vector<Conta> contas;
  for (const _RegContaPS& r : registros) {
    contas.push_back({r.lConta, FieldText(r.szClassificacao), FieldText(r.szNome), r.usNivel,
                      r.cTipo == kContaSintetica});
  }
  return PlanoDeContas(std::move(contas));
}

}  // namespace qx
