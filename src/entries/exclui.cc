// Removal of one entry: its record keeps its position with status 1, its
// split lines become zero records, and the difference list, document
// management and the change log are told.
#include <vector>

#include "diagnostics/error_log.h"
#include "entries/arquivo_mes.h"
#include "entries/cadeia_gerencial.h"
#include "entries/entry_messages.h"
#include "entries/gravacao.h"
#include "entries/lancamento_base.h"
#include "entries/periodo_chamada.h"
#include "entries/registro_log.h"
#include "storage/qx_arq_ex.h"
#include "values/entry_key.h"

namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr int kMarcaLancamentos = 7;

struct Remocao {
  int status = ARQ_OK;
  bool excluidoAgora = false;  // this call wrote the record as deleted
};

// The file work of a removal, under the mark. The record read comes back in
// *registro. The entry's totals are taken off first and its record is written
// before its split lines are cleared: a removal that stops leaves at most the
// amount of a live entry missing from the totals, or a deleted entry whose
// lines are still whole, never a live entry with part of its split.
Remocao ExcluiNosArquivos(CLancamentoBase& objeto, int32_t indlan, uint16_t mesAno,
                          qx::EntryRecord* registro) {
  const std::string& pasta = objeto.GetPastaEmpresa();
  CQXarq lancamentos, gerencial;
  if (int status = qx::AbreArquivoMes(lancamentos, pasta, qx::kPrefixoLancamentos, mesAno, 'G',
                                      qx::kEntryRecordSize)) {
    return {status};
  }
  if (int status = qx::AbreArquivoMes(gerencial, pasta, qx::kPrefixoGerencial, mesAno, 'G',
                                      qx::kSplitRecordSize)) {
    return {status};
  }
  uint32_t posicao = static_cast<uint32_t>(indlan);
  int status = lancamentos.Le(posicao, registro);
  if (status == ARQ_FIM_DE_ARQUIVO) return {qx::kMensagemLancamentoInexistente};
  if (status != ARQ_OK || registro->cStatus == qx::kEntryDeleted) return {status};
  const CQXData data = qx::DataDoLancamento(mesAno, registro->cDia);
  if (const HRESULT hr = qx::RecusaPeriodoFechado(objeto, data)) return {hr};

  std::vector<uint32_t> linhas;
  if (registro->Gerencial > 0) {
    status = qx::LeCadeiaGerencial(gerencial, static_cast<uint32_t>(registro->Gerencial), &linhas);
    if (status != ARQ_OK) return {status};
  }
  // Takes back what the entry added when it was saved (sign -1); a removal
  // whose totals cannot be updated does not happen.
  const auto diferenca = [&](int sinal) {
    return objeto.AtualizaDiferencaLancamento(registro->Debito, registro->Credito, registro->Valor,
                                              data, registro->Filial, objeto.GetUsuario(), sinal);
  };
  if ((status = diferenca(-1))) return {status};
  registro->cStatus = qx::kEntryDeleted;
  if ((status = lancamentos.Grava(registro, &posicao, qx::kEntryRecordSize))) {
    diferenca(+1);
    return {status};
  }
  return {qx::ZeraLinhasGerenciais(gerencial, linhas), true};
}

}  // namespace

HRESULT CLancamentoBase::Exclui(int32_t Indlan, uint16_t MesAno) {
  // Position 0 is the month's zero record, never an entry.
  if (Indlan <= 0) return qx::HrMensagem(qx::kMensagemLancamentoInexistente);
  if (const int status = qx::AceitaGravacao(*this)) return status;
  CQXArqEx marca;
  if (int status = marca.Marca(m_strPastaEmpresa.c_str(), kMarcaLancamentos, GetUsuario())) {
    return status;
  }
  qx::EntryRecord registro{};
  const Remocao remocao = ExcluiNosArquivos(*this, Indlan, MesAno, &registro);
  marca.Desmarca();
  if (remocao.status == qx::kMensagemLancamentoInexistente) return qx::HrMensagem(remocao.status);
  // Failed before the record was written, or deleted already.
  if (!remocao.excluidoAgora) return remocao.status;

  if (CGDIntegracaoSrv* ged = GetIntegracaoGed()) {
    const int32_t lChaveComposta = qx::MakeChaveComposta(Indlan, CQXMesAno(MesAno));
    const HRESULT hr = ged->OnExclusaoReg(lChaveComposta);
    if (hr != S_OK && hr != static_cast<HRESULT>(0xFFFFFFFFu)) {
      QXGravaLogHresult(this, "CLancamentoBase::Exclui", kUnidade, __LINE__, "hr",
                        "m_integGed.OnExclusaoReg(lChaveComposta)", hr);
      return hr;
    }
  }
  GravaLog(Indlan, qx::kLogExclusao, registro, m_lancamento.szComplemento,
           qx::DataDoLancamento(MesAno, registro.cDia));
  // A split line left over by a failing clear belongs to a deleted entry; the
  // failure is still reported.
  return remocao.status;
}
