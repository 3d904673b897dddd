// Undoing a save that failed after it began to write. The steps run in the
// reverse order of the save, so that a stop at any of them leaves what an
// interrupted save leaves: zeroed lines of a live entry, orphan lines, a
// total that lacks the amount of the one entry record stored.
#include "diagnostics/error_log.h"
#include "entries/arquivo_mes.h"
#include "entries/cadeia_gerencial.h"
#include "entries/gravacao.h"
#include "entries/lancamento_base.h"

namespace qx {
namespace {

constexpr char kUnidade[] = "LancamentoBase";

}  // namespace

// The files are those the save opened, opened again (never made) when they
// were closed already.
bool Gravacao::Desfaz() {
  if (!linhasNovas_.empty() || !linhasZeradas_.empty()) {
    CQXarq* gerencial = nullptr;
    if (Arquivo(ArquivoMes::kGerencial, &gerencial, false) != ARQ_OK ||
        ZeraLinhasGerenciais(*gerencial, linhasNovas_) != ARQ_OK) {
      return false;
    }
    for (auto [posicao, linha] : linhasZeradas_) {
      if (gerencial->Grava(&linha, &posicao, kSplitRecordSize) != ARQ_OK) return false;
    }
  }
  if (novaSomada_ && DiferencaNova(-1) != ARQ_OK) return false;
  if (moedaAnteriorLida_) {
    CQXarq* moeda = nullptr;
    uint32_t posicao = posicao_;
    if (Arquivo(ArquivoMes::kMoeda, &moeda, false) != ARQ_OK ||
        moeda->Grava(&moedaAnterior_, &posicao, kCurrencyRecordSize) != ARQ_OK) {
      return false;
    }
  }
  if (posicao_ != 0) {
    // A new entry keeps its position as a deleted record: positions never move.
    EntryRecord volta = anterior_;
    if (!alteracao_) {
      volta = registro_;
      volta.cStatus = kEntryDeleted;
    }
    uint32_t posicao = posicao_;
    CQXarq* lancamentos = nullptr;
    if (Arquivo(ArquivoMes::kLancamentos, &lancamentos, false) != ARQ_OK ||
        lancamentos->Grava(&volta, &posicao, kEntryRecordSize) != ARQ_OK) {
      return false;
    }
  }
  if (anteriorRetirado_ && DiferencaAnterior(+1) != ARQ_OK) return false;
  if (gedNotificado_ != 0) {
    // The stored record is the old one again; document management hears so.
    if (const HRESULT hr = NotificaGed(gedNotificado_, anterior_, registro_); FAILED(hr)) {
      QXGravaLogHresult(&c_.objeto, "CLancamentoBase::Grava", kUnidade, __LINE__, "hr",
                        "m_integGed.OnAlteracaoReg(lChaveComposta, regAnterior, regNovo)", hr);
    }
  }
  // The change log hears what it hears of a save whose record write fails.
  if (logDoRegistro_ != SIZE_MAX) log_.Descarta(logDoRegistro_, logFim_);
  return true;
}

}  // namespace qx
