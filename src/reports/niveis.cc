#include "reports/niveis.h"

#include <map>

namespace qx {
namespace {

std::vector<std::string_view> Partes(std::string_view classificacao) {
  std::vector<std::string_view> partes;
  for (size_t inicio = 0;;) {
    const size_t fim = classificacao.find(kSeparadorNivel, inicio);
    partes.push_back(classificacao.substr(inicio, fim - inicio));
    if (fim == std::string_view::npos) return partes;
    inicio = fim + 1;
  }
}

}  // namespace

bool NoNivelOuAbaixo(std::string_view classificacao, std::string_view raiz) {
  return classificacao.starts_with(raiz) &&
         (classificacao.size() == raiz.size() || classificacao[raiz.size()] == kSeparadorNivel);
}

std::optional<LarguraDiferente> ConfereLarguras(const std::vector<std::string>& classificacoes,
                                                std::string_view classificacao) {
  // Per level: how many classifications use each width, and one of them.
  std::vector<std::map<size_t, std::pair<size_t, std::string_view>>> larguras;
  for (const std::string& outra : classificacoes) {
    const std::vector<std::string_view> partes = Partes(outra);
    if (larguras.size() < partes.size()) larguras.resize(partes.size());
    for (size_t n = 0; n < partes.size(); ++n) {
      auto& [quantas, exemplo] = larguras[n][partes[n].size()];
      if (quantas++ == 0) exemplo = outra;
    }
  }
  const std::vector<std::string_view> partes = Partes(classificacao);
  for (size_t n = 0; n < partes.size() && n < larguras.size(); ++n) {
    auto maisUsada = larguras[n].begin();
    for (auto it = larguras[n].begin(); it != larguras[n].end(); ++it) {
      if (it->second.first > maisUsada->second.first) maisUsada = it;
    }
    if (maisUsada->first != partes[n].size()) {
      return LarguraDiferente{n + 1, partes[n].size(), maisUsada->first,
                              std::string(maisUsada->second.second)};
    }
  }
  return std::nullopt;
}

}  // namespace qx
