// Keyed reading: one month opened for reading, its entries loaded into the
// current entry by position, as a search's keys name them.
#include <cstring>

#include "entries/lancamento_base.h"
#include "queries/regdados.h"
#include "storage/arq_status.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "values/qx_mes_ano.h"

namespace {

// LeEspecialDados at position 0: no entry there.
constexpr HRESULT kHrSemLancamento = static_cast<HRESULT>(0x000405F8u);

// Loads a record of the month into the current entry; the complement text
// stays as it is.
void CarregaRegistro(const qx::EntryRecord& r, uint16_t mesAno, qx::LancamentoAtual* atual) {
  atual->CodHis = r.CodHis;
  atual->Credito = r.Credito;
  atual->Data = CQXData::FromMesAno(CQXMesAno(mesAno), r.cDia);
  atual->Debito = r.Debito;
  atual->Documento = r.Documento;
  atual->Filial = r.Filial;
  atual->Valor.int64 = r.Valor.int64;
  atual->ValorMoeda = CURRENCY{};
  atual->lChaveModulo = static_cast<uint32_t>(r.lChaveModulo);
  atual->iData = r.iData;
  atual->ulComplemento = static_cast<uint32_t>(r.Complemento);
  atual->ulGerencial = static_cast<uint32_t>(r.Gerencial);
  atual->Secao = static_cast<uint32_t>(r.Secao);
  atual->cConferido = r.cConferido;
  atual->cStatusIFRS = r.cStatusIFRS;
  atual->usMesAnoLido = mesAno;
  if (r.cStatus == qx::kEntryDeleted) {
    atual->Data = CQXData();
    atual->Debito = 0;
    atual->Credito = 0;
    atual->ulGerencial = 0;
  }
}

// The foreign-currency amount of entry `indlan` from the month's CNLM.
int LeValorMoeda(const std::string& caminho, uint32_t indlan, qx::LancamentoAtual* atual) {
  CQXarq moeda;
  int status = moeda.Abre(caminho.c_str(), 'L', qx::kCurrencyRecordSize, true);
  if (status != ARQ_OK) return status;
  qx::CurrencyRecord registro;
  status = moeda.Le(indlan, &registro);
  if (status == ARQ_OK) {
    atual->ValorMoeda.int64 = registro.ValorMoeda.int64;
    if (registro.ValorMoeda.int64 == 0) atual->cGravarZero = 'S';
  }
  moeda.Fecha();
  return status;
}

}  // namespace

HRESULT CLancamentoBase::AbreEspecial(uint16_t MesAno) {
  qx::LeituraEspecial& especial = m_consulta.especial;
  especial.mesAno = MesAno;
  especial.nomeGerencial = qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoGerencial, MesAno);
  especial.nomeMoeda = qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoMoeda, MesAno);
  const std::string lancamentos =
      qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoLancamentos, MesAno);
  return especial.lancamentos.Abre(lancamentos.c_str(), 'L', qx::kEntryRecordSize, true);
}

HRESULT CLancamentoBase::FechaEspecial() { return m_consulta.especial.lancamentos.Fecha(); }

HRESULT CLancamentoBase::LeEspecial(int32_t Indlan) {
  qx::LeituraEspecial& especial = m_consulta.especial;
  m_lancamento.cGravarZero = 0;
  // A negative position lies past the end of every file.
  const auto posicao = static_cast<uint32_t>(Indlan);
  qx::EntryRecord registro;
  if (int status = especial.lancamentos.Le(posicao, &registro)) return status;
  CarregaRegistro(registro, especial.mesAno, &m_lancamento);
  if (GetMoedaEstrangeira() != 0 && registro.cStatus == qx::kEntryLiveWithCurrency) {
    return LeValorMoeda(especial.nomeMoeda, posicao, &m_lancamento);
  }
  return S_OK;
}

HRESULT CLancamentoBase::LeEspecialDados(int32_t Indlan, RegDados* Dados) {
  if (Dados == nullptr) return E_POINTER;
  if (Indlan == 0) return kHrSemLancamento;
  if (int status = LeEspecial(Indlan)) return QXHresultDoStatus(status);
  qx::CopiaRegDados(qx::DadosDoLancamento(m_lancamento), Dados);
  return S_OK;
}
