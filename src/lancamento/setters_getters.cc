// The setters and getters of the current entry. They touch no file and check
// nothing: the save does the checks.
#include "lancamento/lancamento_base.h"

namespace {

// Copies the field into the caller's value.
template <class T>
HRESULT Entrega(T* destino, const T& campo) {
  if (destino == nullptr) return E_POINTER;
  *destino = campo;
  return S_OK;
}

}  // namespace

HRESULT CLancamentoBase::SetDebito(int32_t ContaDebito) {
  m_lancamento.Debito = ContaDebito;
  return S_OK;
}

HRESULT CLancamentoBase::SetCredito(int32_t ContaCredito) {
  m_lancamento.Credito = ContaCredito;
  return S_OK;
}

HRESULT CLancamentoBase::SetDocumento(int32_t Documento) {
  m_lancamento.Documento = Documento;
  return S_OK;
}

HRESULT CLancamentoBase::SetValor(CURRENCY Valor) {
  m_lancamento.Valor = Valor;
  return S_OK;
}

HRESULT CLancamentoBase::SetFilial(uint16_t Filial) {
  m_lancamento.Filial = Filial;
  return S_OK;
}

HRESULT CLancamentoBase::SetHistorico(uint16_t CodHis) {
  m_lancamento.CodHis = CodHis;
  return S_OK;
}

HRESULT CLancamentoBase::SetData(ULONG Data) {
  m_lancamento.Data = CQXData(Data);
  return S_OK;
}

HRESULT CLancamentoBase::GetDebito(int32_t* ContaDebito) {
  return Entrega(ContaDebito, m_lancamento.Debito);
}

HRESULT CLancamentoBase::GetCredito(int32_t* ContaCredito) {
  return Entrega(ContaCredito, m_lancamento.Credito);
}

HRESULT CLancamentoBase::GetDocumento(int32_t* Documento) {
  return Entrega(Documento, m_lancamento.Documento);
}

HRESULT CLancamentoBase::GetValor(CURRENCY* Valor) { return Entrega(Valor, m_lancamento.Valor); }

HRESULT CLancamentoBase::GetFilial(uint16_t* Filial) {
  return Entrega(Filial, m_lancamento.Filial);
}

HRESULT CLancamentoBase::GetHistorico(uint16_t* CodHis) {
  return Entrega(CodHis, m_lancamento.CodHis);
}

HRESULT CLancamentoBase::GetData(ULONG* Data) {
  return Entrega(Data, static_cast<ULONG>(m_lancamento.Data.Value()));
}
