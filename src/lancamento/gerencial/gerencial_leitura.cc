#include "lancamento/gerencial/gerencial_leitura.h"

#include <limits>

#include "storage/month_name.h"

namespace qx {

std::vector<REGLAN_GER> LeLinhasDaCadeia(CQXarq& gerencial, uint32_t primeira, std::size_t limite) {
  std::vector<REGLAN_GER> linhas;
  REGLAN_GER linha;
  if (gerencial.Le(primeira, &linha) != ARQ_OK) return linhas;
  const uint32_t dono = linha.Indlan & kSplitOwnerMask;
  for (uint32_t p = primeira; linhas.size() < limite && gerencial.Le(p, &linha) == ARQ_OK &&
                              (linha.Indlan & kSplitOwnerMask) == dono;
       ++p) {
    linhas.push_back(linha);
  }
  return linhas;
}

int LeGerencialDoMes(const std::string& pasta, uint16_t mesAno, uint32_t primeira, bool quantidades,
                     GerencialAtual* lista, uint16_t* qtd) {
  CQXarq gerencial;
  int status = gerencial.Abre(NomeArquivoMes(pasta, kPrefixoGerencial, mesAno).c_str(), 'L',
                              kSplitRecordSize, true);
  if (status != ARQ_OK) return status;
  CQXarq arquivoQuantidades;
  if (quantidades) {
    status = arquivoQuantidades.Abre(NomeArquivoMes(pasta, kPrefixoQuantidades, mesAno).c_str(),
                                     'L', kQuantityRecordSize, true);
    if (status != ARQ_OK) return status;
  }
  lista->linhas = LeLinhasDaCadeia(gerencial, primeira, std::numeric_limits<uint16_t>::max());
  lista->quantidades.clear();
  if (quantidades) {
    for (uint32_t i = 0; i < lista->linhas.size(); ++i) {
      REGQTD_GER quantidade{};
      if (arquivoQuantidades.Le(primeira + i, &quantidade) != ARQ_OK) quantidade = REGQTD_GER{};
      lista->quantidades.push_back(quantidade);
    }
  }
  *qtd = static_cast<uint16_t>(lista->linhas.size());
  const int fechamento = gerencial.Fecha();
  const int fechamentoQuantidades = quantidades ? arquivoQuantidades.Fecha() : ARQ_OK;
  return fechamento != ARQ_OK ? fechamento : fechamentoQuantidades;
}

}  // namespace qx
