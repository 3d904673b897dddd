#include "lancamento/buscas/filtro_conta_contabil.h"

#include <algorithm>

namespace qx {
namespace {

std::string Classificacao(const _RegContaPS& registro) {
  const char* texto = registro.szClassificacao;
  return std::string(texto, std::find(texto, texto + sizeof(registro.szClassificacao), '\0'));
}

}  // namespace

FiltroContaContabil::FiltroContaContabil(CConexaoPlano& plano, int32_t conta)
    : m_plano(plano), m_conta(conta) {
  if (conta == 0) return;
  _RegContaPS registro{};
  static_cast<void>(m_plano.Le(conta, &registro));
  m_porClassificacao = registro.cTipo == kContaSintetica;
  m_classificacao = Classificacao(registro);
}

bool FiltroContaContabil::Aceita(int32_t conta) {
  if (m_conta == 0) return true;
  if (!m_porClassificacao) return conta == m_conta;
  auto achada = m_respostas.find(conta);
  if (achada != m_respostas.end()) return achada->second;
  _RegContaPS registro{};
  static_cast<void>(m_plano.Le(conta, &registro));
  const bool aceita = Classificacao(registro).starts_with(m_classificacao);
  m_respostas.emplace(conta, aceita);
  return aceita;
}

}  // namespace qx
