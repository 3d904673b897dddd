#include "reports/natureza.h"

#include "reports/niveis.h"

namespace qx {

Natureza NaturezaDaClassificacao(const std::vector<RegraNatureza>& regras,
                                 std::string_view classificacao) {
  const RegraNatureza* melhor = nullptr;
  for (const RegraNatureza& regra : regras) {
    if (NoNivelOuAbaixo(classificacao, regra.classificacao) &&
        (melhor == nullptr || regra.classificacao.size() > melhor->classificacao.size())) {
      melhor = &regra;
    }
  }
  return melhor != nullptr ? melhor->natureza : Natureza::kNenhuma;
}

int32_t ContaDoRateio(const RegDados& dados, Natureza debito, Natureza credito) {
  if (dados.Debito != 0 && EhResultado(debito)) return dados.Debito;
  if (dados.Credito != 0 && EhResultado(credito)) return dados.Credito;
  return dados.Debito != 0 ? dados.Debito : dados.Credito;
}

}  // namespace qx
