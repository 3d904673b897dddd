// Keyed reading of a list of keys from the open month. Nothing is handed out
// unless every read succeeds; a key of 0 or less gives a zero element. The
// month's foreign-currency file stays open for the whole call.
#include <cstddef>
#include <vector>

#include "lancamento/lancamento_base.h"
#include "lancamento/meses/arquivos_leitura.h"
#include "lancamento/regdados.h"
#include "storage/arq_status.h"

HRESULT CLancamentoBase::LeEspecialChaves(int32_t Quantidade, Lancamentos* Chaves,
                                          RegDados* Dados) {
  qx::ArquivosLeitura arquivos(m_strPastaEmpresa);
  return LeChavesDoMes(arquivos, Quantidade, Chaves, Dados);
}

HRESULT CLancamentoBase::LeChavesDoMes(qx::ArquivosLeitura& arquivos, int32_t Quantidade,
                                       const Lancamentos* Chaves, RegDados* Dados) {
  if (Quantidade < 1) return S_OK;
  if (Chaves == nullptr || Dados == nullptr) return E_POINTER;
  std::vector<REGDADOS> lidos(static_cast<size_t>(Quantidade));
  for (size_t k = 0; k < lidos.size(); ++k) {
    if (Chaves[k].Indlan <= 0) continue;
    if (int status = LeEspecialDoMes(arquivos, Chaves[k].Indlan)) {
      return QXHresultDoStatus(status);
    }
    lidos[k] = qx::DadosDoLancamento(m_lancamento);
  }
  for (size_t k = 0; k < lidos.size(); ++k) qx::CopiaRegDados(lidos[k], &Dados[k]);
  return S_OK;
}
