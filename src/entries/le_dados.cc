// Reading one stored entry into an entry data record, with or without its
// complement text; the entry also becomes the current entry.
#include <cstring>

#include "entries/entry_messages.h"
#include "entries/lancamento_base.h"

namespace {

void Preenche(const qx::LancamentoAtual& atual, RegDados* dados) {
  std::memset(dados, 0, sizeof *dados);
  dados->Documento = atual.Documento;
  dados->Complemento = static_cast<int32_t>(atual.ulComplemento);
  dados->Gerencial = static_cast<int32_t>(atual.ulGerencial);
  dados->DataLancamento = atual.Data.Value();
  dados->wChaveOrigem.lChaveModulo = static_cast<int32_t>(atual.lChaveModulo);
  dados->wChaveOrigem.iData = atual.iData;
  dados->Valor = atual.Valor;
  dados->ValorMoeda = atual.ValorMoeda;
  dados->Debito = atual.Debito;
  dados->Credito = atual.Credito;
  dados->Secao = static_cast<int32_t>(atual.Secao);
  dados->CodHis = static_cast<int16_t>(atual.CodHis);
  dados->Filial = static_cast<int16_t>(atual.Filial);
  dados->cGravarZero = static_cast<unsigned char>(atual.cGravarZero);
  dados->cConferido = atual.cConferido;
  dados->cStatusIFRS = atual.cStatusIFRS;
}

}  // namespace

HRESULT CLancamentoBase::LeDados(int32_t Indlan, uint16_t MesAno, RegDados* Dados) {
  if (Dados == nullptr) return E_POINTER;
  if (Indlan == 0 || MesAno == 0) return qx::HrMensagem(qx::kMensagemLancamentoInexistente);
  // Every result of Le, the deleted entry's message included, in the failure form.
  if (const HRESULT r = Le(Indlan, MesAno)) {
    return static_cast<HRESULT>(0x80040000u | static_cast<uint32_t>(r));
  }
  Preenche(m_lancamento, Dados);
  return S_OK;
}

HRESULT CLancamentoBase::LeDadosComplemento(int32_t Indlan, uint16_t MesAno,
                                            RegDadosComplemento* Dados) {
  if (Dados == nullptr) return E_POINTER;
  std::memset(Dados->cComplemento, 0, sizeof Dados->cComplemento);
  if (const HRESULT hr = LeDados(Indlan, MesAno, &Dados->RegLan)) return hr;
  return LeComplemento(m_lancamento.Data, m_lancamento.ulComplemento, Dados->cComplemento);
}
