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

// Opens a month file again for the undoing when the save closed it already.
int Reabre(CQXarq& arq, const std::string& pasta, const char* prefixo, uint16_t mesAno,
           uint32_t tamanhoRegistro) {
  if (arq.IsOpen()) return ARQ_OK;
  return AbreArquivoMes(arq, pasta, prefixo, mesAno, 'G', tamanhoRegistro, false);
}

}  // namespace

bool Gravacao::Desfaz() {
  const std::string& pasta = c_.objeto.GetPastaEmpresa();
  const uint16_t mes = mesAno_.Value();
  if (!linhasNovas_.empty() || !linhasZeradas_.empty()) {
    if (Reabre(gerencial_, pasta, kPrefixoGerencial, mes, kSplitRecordSize) != ARQ_OK ||
        ZeraLinhasGerenciais(gerencial_, linhasNovas_) != ARQ_OK) {
      return false;
    }
    for (auto [posicao, linha] : linhasZeradas_) {
      if (gerencial_.Grava(&linha, &posicao, kSplitRecordSize) != ARQ_OK) return false;
    }
  }
  if (novaSomada_ && DiferencaNova(-1) != ARQ_OK) return false;
  if (moedaAnteriorLida_) {
    CQXarq moeda;
    uint32_t posicao = posicao_;
    if (AbreArquivoMes(moeda, pasta, kPrefixoMoeda, mes, 'G', kCurrencyRecordSize, false) !=
            ARQ_OK ||
        moeda.Grava(&moedaAnterior_, &posicao, kCurrencyRecordSize) != ARQ_OK ||
        moeda.Fecha() != ARQ_OK) {
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
    if (Reabre(lancamentos_, pasta, kPrefixoLancamentos, mes, kEntryRecordSize) != ARQ_OK ||
        lancamentos_.Grava(&volta, &posicao, kEntryRecordSize) != ARQ_OK) {
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
  return true;
}

}  // namespace qx
