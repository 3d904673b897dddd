// The interface's saves of the current entry: Grava, and GravaDados, which
// fills the current entry from an entry data record first.
#include "lancamento/entrada_cliente.h"
#include "lancamento/gravacao/gravacao.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/periodo_chamada.h"

HRESULT CLancamentoBase::Grava(int32_t* Indlan) {
  if (Indlan == nullptr) return E_POINTER;
  const qx::PeriodoDaChamada periodo(*this);
  return qx::ResultadoGrava(qx::GravaLancamento(
      {*this, m_lancamento, m_gerencial, {*this, m_historico, m_planoContabil}}, Indlan));
}

HRESULT CLancamentoBase::GravaDados(RegDados* Dados, int32_t* Indlan) {
  if (Dados == nullptr || Indlan == nullptr) return E_POINTER;
  qx::CopiaDadosParaAtual(*Dados, &m_lancamento);
  int32_t posicao = *Indlan;
  const HRESULT hr = qx::ResultadoGravaDados(Grava(&posicao));
  if (hr == S_OK) *Indlan = posicao;
  return hr;
}
