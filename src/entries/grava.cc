// The interface's saves of the current entry: Grava, and GravaDados, which
// fills the current entry from an entry data record first.
#include "entries/gravacao.h"
#include "entries/lancamento_base.h"

HRESULT CLancamentoBase::Grava(int32_t* Indlan) {
  if (Indlan == nullptr) return E_POINTER;
  qx::Gravacao gravacao({*this, m_lancamento, m_gerencial, {*this, m_historico, m_planoContabil}});
  return qx::ResultadoGrava(gravacao.Executa(Indlan));
}

HRESULT CLancamentoBase::GravaDados(RegDados* Dados, int32_t* Indlan) {
  if (Dados == nullptr || Indlan == nullptr) return E_POINTER;
  qx::LancamentoAtual& atual = m_lancamento;
  atual.Documento = Dados->Documento;
  atual.Valor = Dados->Valor;
  atual.ValorMoeda = Dados->ValorMoeda;
  atual.Debito = Dados->Debito;
  atual.Credito = Dados->Credito;
  atual.CodHis = static_cast<uint16_t>(Dados->CodHis);
  atual.Filial = static_cast<uint16_t>(Dados->Filial);
  atual.Data = CQXData(Dados->DataLancamento);
  atual.lChaveModulo = static_cast<uint32_t>(Dados->wChaveOrigem.lChaveModulo);
  atual.iData = Dados->wChaveOrigem.iData;
  atual.cGravarZero = static_cast<char>(Dados->cGravarZero);
  atual.cStatusIFRS = Dados->cStatusIFRS;

  int32_t posicao = *Indlan;
  const HRESULT hr = Grava(&posicao);
  if (hr > 0) return static_cast<HRESULT>(0x80040000u | static_cast<uint32_t>(hr));
  if (hr == S_OK) *Indlan = posicao;
  return hr;
}
