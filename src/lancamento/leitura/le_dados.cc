// Reading one stored entry into an entry data record, with or without its
// complement text; the entry also becomes the current entry.
#include <cstring>

#include "contract/entry_messages.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/regdados.h"

HRESULT CLancamentoBase::LeDados(int32_t Indlan, uint16_t MesAno, RegDados* Dados) {
  if (Dados == nullptr) return E_POINTER;
  if (Indlan == 0 || MesAno == 0) return qx::HrMensagem(qx::kMensagemLancamentoInexistente);
  // Every result of Le, the deleted entry's message included, in the failure form.
  if (const HRESULT r = Le(Indlan, MesAno)) {
    return static_cast<HRESULT>(0x80040000u | static_cast<uint32_t>(r));
  }
  std::memset(Dados, 0, sizeof *Dados);
  qx::CopiaRegDados(qx::DadosDoLancamento(m_lancamento), Dados);
  return S_OK;
}

HRESULT CLancamentoBase::LeDadosComplemento(int32_t Indlan, uint16_t MesAno,
                                            RegDadosComplemento* Dados) {
  if (Dados == nullptr) return E_POINTER;
  std::memset(Dados->cComplemento, 0, sizeof Dados->cComplemento);
  if (const HRESULT hr = LeDados(Indlan, MesAno, &Dados->RegLan)) return hr;
  return LeComplemento(m_lancamento.Data, m_lancamento.ulComplemento, Dados->cComplemento);
}
