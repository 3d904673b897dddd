// Removal of one entry: its record keeps its position with status 1, its
// split lines become zero records, and the difference list, the change log
// and document management are told. The file work and the change log are one
// operation (operacao.h): a removal that stops is taken back whole.
#include <cstring>
#include <vector>

#include "contract/entry_messages.h"
#include "diagnostics/error_log.h"
#include "lancamento/exclusao/exclusao.h"
#include "lancamento/gerencial/cadeia_gerencial.h"
#include "lancamento/gravacao/registro_log.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/meses/arquivo_mes.h"
#include "lancamento/periodo_chamada.h"
#include "outside/change_log/reg_lan_atual.h"
#include "values/entry_key.h"

namespace qx {
namespace {

constexpr char kUnidade[] = "LancamentoBase";

}  // namespace

Remocao ExcluiNaOperacao(CLancamentoBase& objeto, int32_t indlan, uint16_t mesAno, LoteLog& log) {
  const std::string& pasta = objeto.GetPastaEmpresa();
  CQXarq lancamentos, gerencial;
  if (int status = AbreArquivoMes(lancamentos, pasta, kPrefixoLancamentos, mesAno, 'G',
                                  kEntryRecordSize)) {
    return {status};
  }
  if (int status =
          AbreArquivoMes(gerencial, pasta, kPrefixoGerencial, mesAno, 'G', kSplitRecordSize)) {
    return {status};
  }
  uint32_t posicao = static_cast<uint32_t>(indlan);
  EntryRecord registro;
  int status = lancamentos.Le(posicao, &registro);
  if (status == ARQ_FIM_DE_ARQUIVO) return {kMensagemLancamentoInexistente};
  if (status != ARQ_OK || registro.cStatus == kEntryDeleted) return {status};
  const CQXData data = DataDoLancamento(mesAno, registro.cDia);
  if (const HRESULT hr = RecusaPeriodoFechado(objeto, data)) return {hr};

  std::vector<uint32_t> linhas;
  if (registro.Gerencial > 0) {
    status = LeCadeiaGerencial(gerencial, static_cast<uint32_t>(registro.Gerencial), &linhas);
    if (status != ARQ_OK) return {status};
  }
  // Takes back what the entry added when it was saved; a removal whose
  // totals cannot be updated does not happen.
  status = objeto.AtualizaDiferencaLancamento(registro.Debito, registro.Credito, registro.Valor,
                                              data, registro.Filial, objeto.GetUsuario(), -1);
  if (status != ARQ_OK) return {status};
  registro.cStatus = kEntryDeleted;
  if ((status = lancamentos.Grava(&registro, &posicao, kEntryRecordSize))) return {status};
  if ((status = ZeraLinhasGerenciais(gerencial, linhas))) return {status};
  if ((status = lancamentos.Fecha()) || (status = gerencial.Fecha())) return {status};
  log.Lancamento(indlan, kLogExclusao, registro, objeto.ComplementoAtual(), data, std::nullopt);
  return {ARQ_OK, true};
}

Espaco EspacoDaExclusao(const char* complemento) {
  // The old record, a chain of split lines and two totals in the intent; the
  // image and the complement text in the change log.
  constexpr uint64_t kIntencao = 512;
  constexpr uint64_t kPorRegistro = 64;
  return {kIntencao, sizeof(RegLanAtual) + std::strlen(complemento) + 2 * kPorRegistro, false};
}

HRESULT InformaExclusaoGed(CLancamentoBase& objeto, int32_t indlan, uint16_t mesAno) {
  CGDIntegracaoSrv* ged = objeto.GetIntegracaoGed();
  if (ged == nullptr) return S_OK;
  const HRESULT hr = ged->OnExclusaoReg(MakeChaveComposta(indlan, CQXMesAno(mesAno)));
  if (hr == S_OK || hr == static_cast<HRESULT>(0xFFFFFFFFu)) return S_OK;
  QXGravaLogHresult(&objeto, "CLancamentoBase::Exclui", kUnidade, __LINE__, "hr",
                    "m_integGed.OnExclusaoReg(lChaveComposta)", hr);
  return hr;
}

}  // namespace qx

HRESULT CLancamentoBase::Exclui(int32_t Indlan, uint16_t MesAno) {
  // Position 0 is the month's zero record, never an entry.
  if (Indlan <= 0) return qx::HrMensagem(qx::kMensagemLancamentoInexistente);
  if (const int status =
          qx::AceitaGravacao(*this, qx::EspacoDaExclusao(m_lancamento.szComplemento))) {
    return status;
  }
  qx::Operacao operacao(*this, qx::kOperacaoExclusao);
  if (const int status = operacao.Inicia()) return status;
  const qx::Remocao remocao = qx::ExcluiNaOperacao(*this, Indlan, MesAno, operacao.log());
  HRESULT hr = remocao.excluidoAgora ? operacao.Conclui() : remocao.status;
  if (hr != S_OK && !operacao.Desfaz()) return qx::kHrOperacaoInterrompida;
  if (hr == qx::kMensagemLancamentoInexistente) return qx::HrMensagem(hr);
  // Failed and taken back, or deleted already.
  if (hr != S_OK || !remocao.excluidoAgora) return hr;
  // The change log has the entry deleted, whatever document management says.
  return qx::InformaExclusaoGed(*this, Indlan, MesAno);
}
