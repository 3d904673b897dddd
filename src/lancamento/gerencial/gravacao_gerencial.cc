// The managerial split of a save: the old chain of an updated entry becomes
// zero lines, the current split list is appended with its quantities, and
// each line is reported to the change log.
#include "lancamento/gravacao/gravacao.h"
#include "lancamento/gravacao/registro_log.h"
#include "lancamento/lancamento_base.h"

namespace qx {
namespace {

constexpr char kFuncao[] = "CLancamentoBase::Grava";
constexpr char kLinhaAntiga[] =
    "pILog->Grava(GetNumeroSessao(),ind,27,'a',sizeof(RegLanGer),RegTmpGer)";
constexpr char kLinhaNova[] =
    "pILog->Grava(GetNumeroSessao(), l, 27, servico, sizeof(RegLanGer), RegTmpGer)";

}  // namespace

int Gravacao::RemoveGerencialAnterior() {
  if (gerencialAnterior_ == 0) return ARQ_OK;
  CQXarq* gerencial = nullptr;
  if (int status = Arquivo(ArquivoMes::kGerencial, &gerencial)) return status;
  REGLAN_GER linha;
  if (int status = gerencial->Le(gerencialAnterior_, &linha)) return status;
  log_.Gerencial(static_cast<int32_t>(gerencialAnterior_), kLogAntes, linha, std::nullopt, kFuncao,
                 __LINE__, kLinhaAntiga);
  const uint32_t dono = linha.Indlan & kSplitOwnerMask;
  const REGLAN_GER zero{};
  for (uint32_t p = gerencialAnterior_;; ++p) {
    // The end of the file ends the chain; a read that fails otherwise would
    // leave the rest of it in place.
    const int leitura = gerencial->Le(p, &linha);
    if (leitura == ARQ_FIM_DE_ARQUIVO) return ARQ_OK;
    if (leitura != ARQ_OK) return leitura;
    if ((linha.Indlan & kSplitOwnerMask) != dono) return ARQ_OK;
    uint32_t posicao = p;
    if (int status = gerencial->Grava(&zero, &posicao, kSplitRecordSize)) return status;
  }
}

// The lines go in one append, their quantities in another: the same records
// as line by line, in two writes.
int Gravacao::GravaGerencial(uint32_t indlan) {
  const std::vector<REGLAN_GER>& linhas = c_.gerencial.linhas;
  if (linhas.empty()) return ARQ_OK;
  CQXarq* gerencial = nullptr;
  CQXarq* quantidades = nullptr;
  if (int status = Arquivo(ArquivoMes::kGerencial, &gerencial)) return status;
  if (c_.objeto.GetUsaQuantidadeGerencial()) {
    if (int status = Arquivo(ArquivoMes::kQuantidades, &quantidades)) return status;
  }
  std::vector<REGLAN_GER> novas = linhas;
  for (REGLAN_GER& linha : novas) linha.Indlan |= indlan;
  const auto quantas = static_cast<uint32_t>(novas.size());
  uint32_t primeira = 0;
  if (int status = gerencial->Anexa(novas.data(), quantas, &primeira)) return status;
  // The lines are written: they are reported even when their quantities fail.
  const int quantidade =
      quantidades != nullptr ? GravaQuantidades(*quantidades, primeira, quantas) : ARQ_OK;
  for (uint32_t i = 0; i < quantas; ++i) {
    log_.Gerencial(static_cast<int32_t>(primeira + i), servico_, novas[i],
                   quantidades != nullptr
                       ? std::optional<int64_t>(QuantidadeDaLinha(i).Quantidade.int64)
                       : std::nullopt,
                   kFuncao, __LINE__, kLinhaNova);
  }
  if (quantidade != ARQ_OK) return quantidade;
  registro_.Gerencial = static_cast<int32_t>(primeira);
  uint32_t posicao = indlan;
  if (int status = lancamentos_->Grava(&registro_, &posicao, kEntryRecordSize)) return status;
  c_.atual.ulGerencial = primeira;
  c_.atual.ulGerencialAnterior = primeira;
  return ARQ_OK;
}

// Quantity i goes to the position of line i; lines before them that have no
// quantity get zero records, as the quantity file must reach them.
int Gravacao::GravaQuantidades(CQXarq& quantidades, uint32_t primeira, uint32_t quantas) {
  uint32_t tamanho = 0;
  if (int status = quantidades.Posiciona('F', 0, &tamanho)) return status;
  const uint32_t registros = tamanho / kQuantityRecordSize;
  if (registros <= primeira) {
    std::vector<REGQTD_GER> bloco(primeira - registros + quantas);
    for (uint32_t i = 0; i < quantas; ++i) bloco[primeira - registros + i] = QuantidadeDaLinha(i);
    uint32_t inicio = 0;
    return quantidades.Anexa(bloco.data(), static_cast<uint32_t>(bloco.size()), &inicio);
  }
  // Some of these positions hold records already: each is written over, and
  // the rest are appended in turn.
  for (uint32_t i = 0; i < quantas; ++i) {
    const REGQTD_GER valor = QuantidadeDaLinha(i);
    uint32_t posicao = primeira + i;
    if (int status = quantidades.Grava(&valor, &posicao, kQuantityRecordSize)) return status;
  }
  return ARQ_OK;
}

REGQTD_GER Gravacao::QuantidadeDaLinha(size_t linha) const {
  const std::vector<REGQTD_GER>& lista = c_.gerencial.quantidades;
  return linha < lista.size() ? lista[linha] : REGQTD_GER{};
}

}  // namespace qx
