// The checked mark of a stored entry, set in place: no mark, no change
// record. The entries' history is told of the check.
#include "contract/entry_messages.h"
#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/meses/arquivo_mes.h"
#include "lancamento/periodo_chamada.h"

namespace {

constexpr char kFuncao[] = "CLancamentoBase::GravaConferido";
constexpr char kUnidade[] = "LancamentoBase";

}  // namespace

HRESULT CLancamentoBase::GravaConferido(uint16_t MesAno, int32_t Indlan, unsigned char cConferido) {
  // Position 0 is the file's zero record, not an entry.
  if (Indlan <= 0) return qx::HrMensagem(qx::kMensagemLancamentoInexistente);
  // Without the company's folder the month file would land in the current one.
  if (m_strPastaEmpresa.empty()) return ARQ_CAMINHO_INVALIDO;
  CQXarq arq;
  if (int status = qx::AbreArquivoMes(arq, m_strPastaEmpresa, qx::kPrefixoLancamentos, MesAno, 'G',
                                      qx::kEntryRecordSize)) {
    return status;
  }
  qx::EntryRecord registro;
  uint32_t posicao = static_cast<uint32_t>(Indlan);
  int status = arq.Le(posicao, &registro);
  if (status == ARQ_OK) {
    status = qx::RecusaPeriodoFechado(*this, qx::DataDoLancamento(MesAno, registro.cDia));
  }
  uint8_t anterior = 0;
  if (status == ARQ_OK) {
    anterior = registro.cConferido;
    registro.cConferido = cConferido;
    status = arq.Grava(&registro, &posicao, qx::kEntryRecordSize);
  }
  const int fechamento = arq.Fecha();
  if (status != ARQ_OK) return status;
  if (fechamento == ARQ_OK) {
    InformaConferencia(MesAno, Indlan, registro.lChaveModulo, anterior, cConferido);
  }
  return fechamento;
}

void CLancamentoBase::InformaConferencia(uint16_t mesAno, int32_t indlan, int32_t lChaveModulo,
                                         uint8_t anterior, uint8_t conferido) {
  // As with the change log, a failure only reaches the error log; a code of
  // -1 has already been reported by the service that gave it.
  const auto falha = [this](int linha, const char* passo, HRESULT hr) {
    if (hr != static_cast<HRESULT>(0xFFFFFFFFu)) {
      QXGravaLogHresult(this, kFuncao, kUnidade, linha, "hr", passo, hr);
    }
  };
  CQXComPtr<IQXDF_Log> pILog;
  HRESULT hr = GetAcessoEmpresarial()->GetIDFLog(pILog);
  if (FAILED(hr) || !pILog) {
    return falha(__LINE__, "GetAcessoEmpresarial()->GetIDFLog(pILog)", FAILED(hr) ? hr : E_POINTER);
  }
  hr =
      pILog->GravaConferencia(GetNumeroSessao(), mesAno, indlan, lChaveModulo, anterior, conferido);
  if (FAILED(hr)) {
    falha(__LINE__, "pILog->GravaConferencia(GetNumeroSessao(),MesAno,Indlan,cConferido)", hr);
  }
}
