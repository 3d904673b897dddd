// The raw listing of one month: one element per record position, deleted
// entries included, never more elements than the caller made room for.
#include "contract/busca_codigos.h"
#include "lancamento/buscas/busca_comum.h"
#include "lancamento/lancamento_base.h"
#include "storage/month_name.h"

namespace {

void CopiaRegistro(const qx::EntryRecord& registro, CQXMesAno mes, REG_DADOS_LANCAMENTOS* dados) {
  dados->wChaveOrigem = _QX_DMCPS{registro.lChaveModulo, registro.iData, {}};
  dados->Valor = registro.Valor;
  dados->ValorMoeda = CURRENCY{};
  dados->Documento = registro.Documento;
  dados->Complemento = registro.Complemento;
  dados->Debito = registro.Debito;
  dados->Credito = registro.Credito;
  dados->DataLancamento = qx::DataDoLancamento(mes.Value(), registro.cDia).Value();
  dados->bExcluido = registro.cStatus == qx::kEntryDeleted ? 1 : 0;
  dados->CodHis = static_cast<int16_t>(registro.CodHis);
  dados->Filial = static_cast<int16_t>(registro.Filial);
  dados->Secao = static_cast<uint16_t>(registro.Secao);
  dados->cStatusIFRS = registro.cStatusIFRS;
}

}  // namespace

HRESULT CLancamentoBase::LeLancamentosMes(uint16_t MesAno, int iQtdLanc,
                                          REG_DADOS_LANCAMENTOS* DadosLanc) {
  if (DadosLanc == nullptr && iQtdLanc > 0) return E_POINTER;
  CQXDadosDF_FiliaisAtivas filiais;
  HRESULT hr = qx::CarregaFiliaisAtivas(*this, "CLancamentoBase::LeLancamentosMes", &filiais);
  if (hr != S_OK) return hr;
  const CQXMesAno mes(MesAno);
  CQXarq arquivo;
  if (int status = qx::AbreArquivoMes(arquivo, m_strPastaEmpresa, qx::kPrefixoLancamentos,
                                      mes.Value(), 'L', qx::kEntryRecordSize)) {
    return status;
  }
  // Element k is position k + 1; a record beyond the caller's count ends the
  // listing before anything is written for it. A read that fails before the
  // end is returned: the listing would look like a shorter month.
  int k = 0;
  const int leitura = qx::PercorreRegistros(arquivo, [&](uint32_t, const qx::EntryRecord& registro) {
    if (k >= iQtdLanc) {
      hr = qx::kHrMaisRegistrosQueEspaco;
      return false;
    }
    if (filiais.EhFilialAtiva(registro.Filial) != 0) CopiaRegistro(registro, mes, &DadosLanc[k]);
    ++k;
    return true;
  });
  arquivo.Fecha();
  return leitura != ARQ_OK ? leitura : hr;
}
