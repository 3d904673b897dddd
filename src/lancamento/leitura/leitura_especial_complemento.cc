// Keyed reading of a list of keys from the open month with the entries'
// complement texts, read from the month of each entry's date. The month's
// entry file, foreign-currency file and complement heap stay open for the
// whole call, so keys that come in order are served from the buffers that
// their files already hold; each key still reloads its entry as Le does.
#include <cstddef>
#include <cstring>
#include <vector>

#include "contract/chave_busca.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/meses/arquivos_leitura.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

HRESULT CLancamentoBase::LeEspecialChavesComplemento(int32_t Quantidade, Lancamentos* Chaves,
                                                     RegDadosComplemento* Dados) {
  if (Quantidade < 1) return S_OK;
  if (Chaves == nullptr || Dados == nullptr) return E_POINTER;
  qx::ArquivosLeitura arquivos(m_strPastaEmpresa);
  std::vector<RegDados> lidos(static_cast<size_t>(Quantidade));
  if (HRESULT hr = LeChavesDoMes(arquivos, Quantidade, Chaves, lidos.data())) return hr;
  for (size_t k = 0; k < lidos.size(); ++k) {
    std::memcpy(&Dados[k].RegLan, &lidos[k], offsetof(RegDados, cFiller));
    char* texto = Dados[k].cComplemento;
    std::memset(texto, 0, sizeof Dados[k].cComplemento);
    // An element without a date (a key of 0 or less, a deleted entry) has
    // no complement.
    const CQXMesAno mes = CQXData(lidos[k].DataLancamento).MesAno();
    if (mes.IsEmpty()) continue;
    // Loading the entry again makes it the current one, as a complement
    // read of a stored entry does.
    if (HRESULT hr = LeDoMes(arquivos, qx::PosicaoDaChave(Chaves[k].Indlan), mes.Value()))
      return hr;
    if (int status =
            LeComplemento(arquivos, m_lancamento.Data, m_lancamento.ulComplemento, texto)) {
      return status;
    }
  }
  return S_OK;
}
