// LeGerencial: loads the split lines (and quantities) of the entry last
// loaded by Le from the files of the month it was loaded from.
#include "lancamento/gerencial/gerencial_leitura.h"
#include "lancamento/lancamento_base.h"

HRESULT CLancamentoBase::LeGerencial(uint16_t* QtdGer) {
  if (QtdGer == nullptr) return E_POINTER;
  // An entry without split leaves the lists and the count as they are.
  if (m_lancamento.ulGerencial == 0) return S_OK;
  return qx::LeGerencialDoMes(m_strPastaEmpresa, m_lancamento.usMesAnoLido,
                              m_lancamento.ulGerencial, m_bUsaQuantidadeGerencial, &m_gerencial,
                              QtdGer);
}
