// The search of one account's entries in a date range, in date order:
// BuscaQtdLancamentosConta appends their keys to the object's result list.
#include <algorithm>
#include <tuple>

#include "lancamento/buscas/busca_comum.h"
#include "lancamento/lancamento_base.h"
#include "storage/month_name.h"

namespace {

constexpr char kFuncao[] = "CLancamentoBase::BuscaQtdLancamentosConta";

}  // namespace

HRESULT CLancamentoBase::BuscaQtdLancamentosConta(REGLAN_CONTAPS RegLanConta,
                                                  int32_t* lQuantidade) {
  if (lQuantidade == nullptr) return E_POINTER;
  *lQuantidade = 0;
  const CQXMesAno primeiro = qx::MesDoLimite(RegLanConta.iDataInicial);
  const CQXMesAno ultimo = qx::MesDoLimite(RegLanConta.iDataFinal);
  if (const HRESULT hr = qx::VerificaMesesBusca(*this, kFuncao, primeiro, ultimo, primeiro);
      FAILED(hr)) {
    return hr;
  }
  const qx::Meses meses(primeiro, ultimo);
  // Without a branch the user's active branches are admitted; with one, that
  // branch and whatever the (then unloaded) set reports active.
  CQXDadosDF_FiliaisAtivas filiais;
  if (RegLanConta.lFilial == 0) {
    const HRESULT hr = qx::CarregaFiliaisAtivas(*this, kFuncao, &filiais);
    if (hr != S_OK) return hr;
  }
  std::vector<REGSORT_CONTA>& tomados = m_busca.ordenacaoConta;
  tomados.clear();
  for (CQXMesAno mes : meses) {
    CQXarq arquivo;
    if (int status = qx::AbreArquivoMes(arquivo, m_strPastaEmpresa, qx::kPrefixoLancamentos,
                                        mes.Value(), 'L', qx::kEntryRecordSize)) {
      tomados.clear();
      return status;
    }
    const int leitura = qx::PercorreRegistros(arquivo, [&](uint32_t posicao,
                                                           const qx::EntryRecord& registro) {
      if (registro.cStatus == qx::kEntryDeleted) return true;
      if (registro.Filial != RegLanConta.lFilial && filiais.EhFilialAtiva(registro.Filial) == 0) {
        return true;
      }
      const CQXData data = qx::DataDoLancamento(mes.Value(), registro.cDia);
      if (data.Value() < RegLanConta.iDataInicial || data.Value() > RegLanConta.iDataFinal) {
        return true;
      }
      if (registro.Debito == RegLanConta.iConta || registro.Credito == RegLanConta.iConta) {
        tomados.push_back({data, posicao});
      }
      return true;
    });
    const int fechamento = arquivo.Fecha();
    if (const int status = leitura != ARQ_OK ? leitura : fechamento; status > 0) {
      tomados.clear();
      return status;
    }
  }
  std::sort(tomados.begin(), tomados.end(), [](const REGSORT_CONTA& a, const REGSORT_CONTA& b) {
    return std::tie(a.Data, a.Posicao) < std::tie(b.Data, b.Posicao);
  });
  for (const REGSORT_CONTA& tomado : tomados) {
    m_busca.resultado.push_back(qx::ChaveBusca(tomado.Data.MesAno(), primeiro, tomado.Posicao));
  }
  *lQuantidade = static_cast<int32_t>(tomados.size());
  tomados.clear();
  return S_OK;
}
