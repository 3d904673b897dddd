// The managerial split of a save: the old chain of an updated entry becomes
// zero lines, the current split list is appended with its quantities, and
// each line is reported to the change log.
#include "entries/gravacao.h"
#include "entries/lancamento_base.h"
#include "entries/registro_log.h"

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
    linhasZeradas_.emplace_back(p, linha);
  }
}

int Gravacao::GravaGerencial(uint32_t indlan) {
  const std::vector<REGLAN_GER>& linhas = c_.gerencial.linhas;
  if (linhas.empty()) return ARQ_OK;
  CQXarq* gerencial = nullptr;
  CQXarq* quantidades = nullptr;
  if (int status = Arquivo(ArquivoMes::kGerencial, &gerencial)) return status;
  if (c_.objeto.GetUsaQuantidadeGerencial()) {
    if (int status = Arquivo(ArquivoMes::kQuantidades, &quantidades)) return status;
  }
  uint32_t primeira = 0;
  for (size_t i = 0; i < linhas.size(); ++i) {
    REGLAN_GER linha = linhas[i];
    linha.Indlan |= indlan;
    uint32_t posicao = 0;
    if (int status = gerencial->Grava(&linha, &posicao, kSplitRecordSize)) return status;
    linhasNovas_.push_back(posicao);
    if (i == 0) primeira = posicao;
    // The line is written: it is reported even when its quantity fails.
    const int quantidade =
        quantidades != nullptr ? GravaQuantidade(*quantidades, posicao, i) : ARQ_OK;
    log_.Gerencial(static_cast<int32_t>(posicao), servico_, linha,
                   quantidades != nullptr
                       ? std::optional<int64_t>(QuantidadeDaLinha(i).Quantidade.int64)
                       : std::nullopt,
                   kFuncao, __LINE__, kLinhaNova);
    if (quantidade != ARQ_OK) return quantidade;
  }
  registro_.Gerencial = static_cast<int32_t>(primeira);
  uint32_t posicao = indlan;
  if (int status = lancamentos_->Grava(&registro_, &posicao, kEntryRecordSize)) return status;
  c_.atual.ulGerencial = primeira;
  c_.atual.ulGerencialAnterior = primeira;
  return ARQ_OK;
}

int Gravacao::GravaQuantidade(CQXarq& quantidades, uint32_t posicao, size_t linha) {
  uint32_t tamanho = 0;
  if (int status = quantidades.Posiciona('F', 0, &tamanho)) return status;
  // Lines before this one that have no quantity get zero records.
  const REGQTD_GER zero{};
  for (uint32_t n = tamanho / kQuantityRecordSize; n < posicao; ++n) {
    uint32_t anexo = 0;
    if (int status = quantidades.Grava(&zero, &anexo, kQuantityRecordSize)) return status;
  }
  const REGQTD_GER quantidade = QuantidadeDaLinha(linha);
  return quantidades.Grava(&quantidade, &posicao, kQuantityRecordSize);
}

REGQTD_GER Gravacao::QuantidadeDaLinha(size_t linha) const {
  const std::vector<REGQTD_GER>& lista = c_.gerencial.quantidades;
  return linha < lista.size() ? lista[linha] : REGQTD_GER{};
}

}  // namespace qx
