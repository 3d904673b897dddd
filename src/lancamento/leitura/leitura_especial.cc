// Keyed reading: one month opened for reading, its entries loaded into the
// current entry by position, as a search's keys name them.
#include <string>

#include "contract/entry_messages.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/leitura/carrega_lancamento.h"
#include "lancamento/meses/arquivos_leitura.h"
#include "lancamento/regdados.h"
#include "storage/arq_status.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"

HRESULT CLancamentoBase::AbreEspecial(uint16_t MesAno) {
  qx::LeituraEspecial& especial = m_consulta.especial;
  especial.mesAno = MesAno;
  const std::string lancamentos =
      qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoLancamentos, MesAno);
  return especial.lancamentos.Abre(lancamentos.c_str(), 'L', qx::kEntryRecordSize, true);
}

HRESULT CLancamentoBase::FechaEspecial() { return m_consulta.especial.lancamentos.Fecha(); }

HRESULT CLancamentoBase::LeEspecial(int32_t Indlan) {
  qx::ArquivosLeitura arquivos(m_strPastaEmpresa);
  return LeEspecialDoMes(arquivos, Indlan);
}

HRESULT CLancamentoBase::LeEspecialDoMes(qx::ArquivosLeitura& arquivos, int32_t Indlan) {
  qx::LeituraEspecial& especial = m_consulta.especial;
  m_lancamento.cGravarZero = 0;
  // A negative position lies past the end of every file.
  const auto posicao = static_cast<uint32_t>(Indlan);
  qx::EntryRecord registro;
  if (int status = especial.lancamentos.Le(posicao, &registro)) return status;
  // The split operations that follow work on this month's entry.
  qx::CarregaLancamento(registro, especial.mesAno, posicao, &m_lancamento);
  if (registro.cStatus == qx::kEntryDeleted) {
    m_lancamento.Data = CQXData();
    m_lancamento.Debito = 0;
    m_lancamento.Credito = 0;
    m_lancamento.ulGerencial = 0;
  }
  if (GetMoedaEstrangeira() != 0 && registro.cStatus == qx::kEntryLiveWithCurrency) {
    CQXarq* moeda = nullptr;
    if (int status = arquivos.Moeda(especial.mesAno, &moeda)) return status;
    return qx::CarregaValorMoeda(*moeda, posicao, &m_lancamento);
  }
  return S_OK;
}

HRESULT CLancamentoBase::LeEspecialDados(int32_t Indlan, RegDados* Dados) {
  if (Dados == nullptr) return E_POINTER;
  if (Indlan == 0) return qx::HrMensagem(qx::kMensagemLancamentoInexistente);
  if (int status = LeEspecial(Indlan)) return QXHresultDoStatus(status);
  qx::CopiaRegDados(qx::DadosDoLancamento(m_lancamento), Dados);
  return S_OK;
}
