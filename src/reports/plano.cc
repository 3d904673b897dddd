#include "reports/plano.h"

#include <algorithm>

#include "contract/profiler_identity.h"
#include "outside/database/conexao_plano.h"
#include "reports/banco_empresa.h"
#include "reports/falha.h"
#include "reports/natureza.h"
#include "reports/niveis.h"

namespace qx {

PlanoDeContas::PlanoDeContas(std::vector<Conta> contas) : contas_(std::move(contas)) {
  std::sort(contas_.begin(), contas_.end(), [](const Conta& a, const Conta& b) {
    return std::tie(a.classificacao, a.numero) < std::tie(b.classificacao, b.numero);
  });
  for (size_t i = 0; i < contas_.size(); ++i) porNumero_.emplace_back(contas_[i].numero, i);
  std::sort(porNumero_.begin(), porNumero_.end());
}

PlanoDeContas::PlanoDeContas(std::vector<Conta> contas,
                             const std::vector<RegraNatureza>& naturezas)
    : PlanoDeContas(std::move(contas)) {
  for (Conta& conta : contas_) conta.natureza = NaturezaDaClassificacao(naturezas, conta.classificacao);
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

std::vector<size_t> PlanoDeContas::Abaixo(size_t i) const {
  // In classification order, the accounts of the same classification lie
  // together, and so do those whose classification begins with it and the
  // separator: from that text up to the text with the next character.
  const std::string& raiz = contas_[i].classificacao;
  const auto primeira = [&](const std::string& texto) {
    return static_cast<size_t>(
        std::partition_point(contas_.begin(), contas_.end(),
                             [&](const Conta& c) { return c.classificacao < texto; }) -
        contas_.begin());
  };
  std::vector<size_t> abaixo;
  const std::string separada = raiz + kSeparadorNivel;
  const std::string depois = raiz + static_cast<char>(kSeparadorNivel + 1);
  for (const auto& [de, ate] : {std::pair{primeira(raiz), primeira(separada)},
                                {primeira(separada), primeira(depois)}}) {
    for (size_t j = de; j < ate; ++j) {
      if (NoNivelOuAbaixo(contas_[j].classificacao, raiz)) abaixo.push_back(j);
    }
  }
  return abaixo;
}

std::vector<int32_t> PlanoDeContas::Grupo(int32_t numero) const {
  const size_t i = Ordem(numero);
  if (i == contas_.size() || !contas_[i].total) return {numero};
  std::vector<int32_t> grupo;
  for (const size_t j : Abaixo(i)) grupo.push_back(contas_[j].numero);
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
  if (plano == 'G') return PlanoDeContas(std::move(contas));
  return PlanoDeContas(std::move(contas), LeNaturezas(quem.empresa));
}

std::vector<RegraNatureza> LeNaturezas(const std::string& empresa) {
  constexpr char kLeitura[] = "a leitura das naturezas das contas";
  const std::shared_ptr<SuiteDatabase> db = AbreBancoDaEmpresa(empresa, kLeitura);
  std::vector<RegraNatureza> regras;
  ConfirmaLeitura(ListaNaturezas(*db, &regras), *db, kLeitura);
  return regras;
}

}  // namespace qx
