#include "lancamento/gerencial/redistribuicao.h"

#include <algorithm>
#include <limits>

#include "values/qx_currency.h"

namespace qx {

std::vector<CURRENCY> PartesDoValor(CURRENCY valor, std::span<const REG_REDISTR_GERENCIAL> contas) {
  std::vector<CURRENCY> partes;
  if (contas.empty()) return partes;
  const CQXCurrency base(valor, 2);
  __int128 soma = 0;
  for (std::size_t k = 0; k + 1 < contas.size(); ++k) {
    const CURRENCY parte = ((base * contas[k].vPercentual) / 100).Value();
    soma += parte.int64;
    partes.push_back(parte);
  }
  const __int128 resto = __int128{valor.int64} - soma;
  const bool cabe =
      resto >= std::numeric_limits<int64_t>::min() && resto <= std::numeric_limits<int64_t>::max();
  partes.push_back(CURRENCY{cabe ? static_cast<int64_t>(resto) : 0});
  return partes;
}

ResultadoCadeia RedistribuiCadeia(const std::vector<REGLAN_GER>& antiga,
                                  const std::function<bool(const REGLAN_GER&)>& redistribui,
                                  std::span<const REG_REDISTR_GERENCIAL> contas,
                                  std::vector<REGLAN_GER>* nova) {
  nova->clear();
  if (std::none_of(antiga.begin(), antiga.end(), redistribui)) return ResultadoCadeia::kSemMudanca;
  auto acrescenta = [nova](const REGLAN_GER& linha) {
    if (nova->size() == kLinhasAreaRedistribuicao) return false;
    nova->push_back(linha);
    return true;
  };
  for (const REGLAN_GER& linha : antiga) {
    if (!redistribui(linha)) {
      if (!acrescenta(linha)) return ResultadoCadeia::kAreaCheia;
      continue;
    }
    const std::vector<CURRENCY> partes = PartesDoValor(linha.Valor, contas);
    for (std::size_t k = 0; k < partes.size(); ++k) {
      if (partes[k].int64 == 0) continue;
      REGLAN_GER copia = linha;
      copia.ContaGerencial = contas[k].iContaGerencial;
      copia.Valor = partes[k];
      if (!acrescenta(copia)) return ResultadoCadeia::kAreaCheia;
    }
  }
  return ResultadoCadeia::kRedistribuida;
}

}  // namespace qx
