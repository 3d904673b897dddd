#include "reports/grava.h"

#include "platform/bstr.h"
#include "reports/falha.h"

namespace qx {

void GravaLancamento(SessaoLancamento& servico, RegDados* dados, const std::string& complemento,
                     RegistrosRateio* rateio, int32_t* indlan) {
  const UniqueBstr texto(BstrFromCp1252(complemento));
  Verifica(servico->SetComplemento(texto.get()), "SetComplemento");
  Verifica(servico->ZeraLancamentoGerencial(), "ZeraLancamentoGerencial");
  Verifica(servico->ZeraQuantidadeGerencial(), "ZeraQuantidadeGerencial");
  if (!rateio->linhas.empty()) {
    Verifica(servico->SetLancamentoGerencial(static_cast<uint16_t>(rateio->linhas.size()),
                                             rateio->linhas.data()),
             "SetLancamentoGerencial");
    rateio->quantidades.resize(rateio->linhas.size());
    Verifica(servico->SetQuantidadeGerencial(static_cast<uint16_t>(rateio->quantidades.size()),
                                             rateio->quantidades.data()),
             "SetQuantidadeGerencial");
  }
  Verifica(servico->GravaDados(dados, indlan), "GravaDados");
}

}  // namespace qx
