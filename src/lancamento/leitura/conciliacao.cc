// The follow-up of a reconciliation key: when the entry at the key was
// deleted, the live entry written after it with the same data takes its
// place.
#include "lancamento/lancamento_base.h"
#include "storage/month_name.h"
#include "storage/qx_arq_ex.h"
#include "storage/records/entry_records.h"

namespace {

// A live record that repeats the deleted one's origin, accounts, day, branch
// and amount.
bool Substitui(const qx::EntryRecord& novo, const qx::EntryRecord& excluido) {
  return novo.cStatus == qx::kEntryLive && novo.iData == excluido.iData &&
         novo.lChaveModulo == excluido.lChaveModulo && novo.Debito == excluido.Debito &&
         novo.Credito == excluido.Credito && novo.cDia == excluido.cDia &&
         novo.Filial == excluido.Filial && novo.Valor.int64 == excluido.Valor.int64;
}

}  // namespace

HRESULT CLancamentoBase::ValidaChavesConciliacao(uint16_t iMesAno, int32_t lChaveEntrada,
                                                 int32_t* lChaveSaida) {
  if (lChaveSaida == nullptr) return E_POINTER;
  *lChaveSaida = lChaveEntrada;
  CQXArqEx arquivo;
  const std::string caminho =
      qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoLancamentos, iMesAno);
  if (int status = arquivo.Abre(caminho.c_str(), 'L', qx::kEntryRecordSize, true, true)) {
    return status;
  }
  qx::EntryRecord excluido;
  const auto entrada = static_cast<uint32_t>(lChaveEntrada);
  if (arquivo.Le(entrada, &excluido) == ARQ_OK && excluido.cStatus == qx::kEntryDeleted) {
    qx::EntryRecord registro;
    for (uint32_t posicao = entrada + 1; arquivo.Le(posicao, &registro) == ARQ_OK; ++posicao) {
      if (Substitui(registro, excluido)) {
        *lChaveSaida = static_cast<int32_t>(posicao);
        break;
      }
    }
  }
  arquivo.Fecha();
  return S_OK;
}
