// Reading one stored entry: into the current entry (Le), or as it is stored,
// deleted or not, into an entry data record (LeLancamentoExcluido).
#include <cstring>

#include "contract/entry_messages.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/leitura/carrega_lancamento.h"
#include "lancamento/meses/arquivo_mes.h"
#include "lancamento/meses/arquivos_leitura.h"

namespace {

// Reads the record at `indlan` of the month's CNLC.
int LeRegistro(const std::string& pasta, uint16_t mesAno, int32_t indlan,
               qx::EntryRecord* registro) {
  CQXarq arq;
  if (int status = qx::AbreArquivoMes(arq, pasta, qx::kPrefixoLancamentos, mesAno, 'L',
                                      qx::kEntryRecordSize)) {
    return status;
  }
  const int status = arq.Le(static_cast<uint32_t>(indlan), registro);
  arq.Fecha();
  return status;
}

}  // namespace

HRESULT CLancamentoBase::Le(int32_t Indlan, uint16_t MesAno) {
  qx::ArquivosLeitura arquivos(m_strPastaEmpresa);
  return LeDoMes(arquivos, Indlan, MesAno);
}

HRESULT CLancamentoBase::LeDoMes(qx::ArquivosLeitura& arquivos, int32_t Indlan, uint16_t MesAno) {
  m_lancamento.cGravarZero = 0;
  CQXarq* arq = nullptr;
  if (int status = arquivos.Lancamentos(MesAno, &arq)) return status;
  qx::EntryRecord registro;
  if (int status = arq->Le(static_cast<uint32_t>(Indlan), &registro)) return status;
  if (registro.cStatus == qx::kEntryDeleted) return qx::HrMensagem(qx::kMensagemLancamentoExcluido);

  qx::CarregaLancamento(registro, MesAno, static_cast<uint32_t>(Indlan), &m_lancamento);
  m_lancamento.ulGerencialAnterior = m_lancamento.ulGerencial;
  std::memset(m_lancamento.szComplemento, 0, sizeof m_lancamento.szComplemento);
  if (m_ulMoedaEstrangeira != 0 && registro.cStatus == qx::kEntryLiveWithCurrency) {
    CQXarq* moeda = nullptr;
    if (int status = arquivos.Moeda(MesAno, &moeda)) return status;
    return qx::CarregaValorMoeda(*moeda, static_cast<uint32_t>(Indlan), &m_lancamento);
  }
  return S_OK;
}

HRESULT CLancamentoBase::LeLancamentoExcluido(int32_t Indlan, uint16_t MesAno, RegDados* Dados) {
  if (Dados == nullptr) return E_POINTER;
  std::memset(Dados, 0, sizeof *Dados);
  qx::EntryRecord registro;
  if (int status = LeRegistro(m_strPastaEmpresa, MesAno, Indlan, &registro)) return status;
  Dados->CodHis = static_cast<int16_t>(registro.CodHis);
  Dados->Credito = registro.Credito;
  Dados->DataLancamento = qx::DataDoLancamento(MesAno, registro.cDia).Value();
  Dados->Debito = registro.Debito;
  Dados->Documento = registro.Documento;
  Dados->Filial = static_cast<int16_t>(registro.Filial);
  Dados->Valor = registro.Valor;
  Dados->wChaveOrigem.lChaveModulo = registro.lChaveModulo;
  Dados->wChaveOrigem.iData = registro.iData;
  Dados->Complemento = registro.Complemento;
  Dados->Gerencial = registro.Gerencial;
  Dados->Secao = registro.Secao;
  return registro.cStatus == qx::kEntryDeleted ? qx::HrMensagem(qx::kMensagemLancamentoExcluido)
                                               : S_OK;
}
