// GeraArquivoQuantidadeGerencial: gives every split line of the configured
// period its quantity record, so that CNLQ runs parallel to CNLG.
#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"
#include "values/qx_mes_ano.h"

namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr char kFuncao[] = "CLancamentoBase::GeraArquivoQuantidadeGerencial";

}  // namespace

HRESULT CLancamentoBase::GeraArquivoQuantidadeGerencial() {
  // A period without one of its days names no months: nothing is made (the
  // loop would otherwise run from month-year 0 over centuries of months).
  if (m_dtInicialPeriodo.IsEmpty() || m_dtFinalPeriodo.IsEmpty()) return S_OK;
  int primeiraFalha = ARQ_OK;
  const CQXMesAno ultimo = m_dtFinalPeriodo.MesAno();
  for (CQXMesAno mes = m_dtInicialPeriodo.MesAno(); !mes.IsEmpty() && mes <= ultimo;
       mes = mes.Add(1)) {
    CQXarq gerencial;
    if (gerencial.Abre(
            qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoGerencial, mes.Value()).c_str(), 'L',
            qx::kSplitRecordSize, true) != ARQ_OK) {
      continue;
    }
    CQXarq quantidades;
    if (quantidades.Abre(
            qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoQuantidades, mes.Value()).c_str(),
            'G', qx::kQuantityRecordSize, true) != ARQ_OK) {
      continue;
    }
    REGLAN_GER linha;
    REGQTD_GER quantidade;
    for (uint32_t p = 1; gerencial.Le(p, &linha) == ARQ_OK; ++p) {
      if (quantidades.Le(p, &quantidade) == ARQ_OK) continue;
      // Written at the line's own position: a torn last record is
      // overwritten instead of pushing the following ones out of step.
      const REGQTD_GER zero{};
      uint32_t posicao = p;
      const int status = quantidades.Grava(&zero, &posicao, qx::kQuantityRecordSize);
      if (status != ARQ_OK) {
        QXGravaLogStatus(this, kFuncao, kUnidade, __LINE__, "iRetorno = arqQtd.Grava()", "iRetorno",
                         status, QXHresultDoStatus(status));
        if (primeiraFalha == ARQ_OK) primeiraFalha = status;
        break;
      }
    }
    quantidades.Fecha();
    gerencial.Fecha();
  }
  return primeiraFalha;
}
