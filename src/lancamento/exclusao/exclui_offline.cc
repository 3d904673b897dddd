// Removal of every entry of a month that came from one origin.
#include "lancamento/lancamento_base.h"
#include "lancamento/meses/arquivo_mes.h"
#include "lancamento/periodo_chamada.h"
#include "values/qx_dmcps.h"

namespace {

// Entries of this origin module belong to one origin month-year each.
constexpr uint32_t kModuloPorMes = 24;

bool DaOrigem(const qx::EntryRecord& registro, int32_t chaveOrigem, uint16_t iData) {
  return registro.lChaveModulo == chaveOrigem &&
         (qx::OriginModule(registro.lChaveModulo) != kModuloPorMes || registro.iData == iData);
}

}  // namespace

HRESULT CLancamentoBase::ExcluiOffLine(uint16_t iMesAno, int32_t lChaveOrigem, uint16_t iData) {
  const auto abre = [&](CQXarq& arq) {
    return qx::AbreArquivoMes(arq, m_strPastaEmpresa, qx::kPrefixoLancamentos, iMesAno, 'L',
                              qx::kEntryRecordSize);
  };
  const qx::PeriodoDaChamada periodo(*this);
  CQXarq lancamentos;
  if (int status = abre(lancamentos)) return status;
  qx::EntryRecord registro;
  int leitura = ARQ_OK;
  // An entry of the closed period refuses the removal before any goes.
  for (uint32_t p = 1; (leitura = lancamentos.Le(p, &registro)) == ARQ_OK; ++p) {
    if (!DaOrigem(registro, lChaveOrigem, iData) || registro.cStatus == qx::kEntryDeleted) continue;
    const CQXData data = qx::DataDoLancamento(iMesAno, registro.cDia);
    if (const HRESULT hr = qx::RecusaPeriodoFechado(*this, data)) return hr;
  }
  for (uint32_t p = 1; (leitura = lancamentos.Le(p, &registro)) == ARQ_OK; ++p) {
    if (!DaOrigem(registro, lChaveOrigem, iData)) continue;
    // The removal takes the mark and opens the month for writing itself.
    lancamentos.Fecha();
    if (const HRESULT hr = Exclui(static_cast<int32_t>(p), iMesAno)) return hr;
    if (int status = abre(lancamentos)) return status;
  }
  // A read that fails before the end may hide entries of the origin.
  return leitura == ARQ_FIM_DE_ARQUIVO ? S_OK : leitura;
}
