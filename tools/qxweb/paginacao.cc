#include "paginacao.h"

#include <algorithm>

#include "html.h"

namespace qxweb {

std::vector<qx::cli::Opcao> OpcoesPagina() {
  return {{"pagina", "N", "a página"},
          {"tamanho", "N", "linhas por página (até " + std::to_string(kMaiorPagina) + ")"}};
}

Pagina LePagina(const qx::cli::Argumentos& a, int64_t quantidade) {
  return {a.Inteiro("pagina", 1, INT32_MAX).value_or(1),
          a.Inteiro("tamanho", 1, kMaiorPagina).value_or(kPaginaPadrao), quantidade};
}

qx::cli::Tabela TabelaPagina(const Pagina& pagina) {
  qx::cli::Tabela tabela({"pagina", "paginas", "tamanho", "quantidade"});
  tabela.Linha({pagina.numero, pagina.Paginas(), pagina.tamanho, pagina.quantidade});
  return tabela;
}

qx::cli::Tabela Recorta(const qx::cli::Tabela& tabela, const Pagina& pagina) {
  qx::cli::Tabela recorte(tabela.Colunas());
  const auto& linhas = tabela.Linhas();
  const auto inicio = std::min<size_t>(linhas.size(), static_cast<size_t>(pagina.Primeira() - 1));
  const auto fim = std::min<size_t>(linhas.size(), inicio + static_cast<size_t>(pagina.tamanho));
  for (size_t i = inicio; i < fim; ++i) recorte.Linha(linhas[i]);
  return recorte;
}

std::string Navegacao(const Endereco& endereco, const Pagina& pagina) {
  std::string html = "<p class=\"paginas\">";
  if (pagina.numero > 1) {
    html += Link(endereco.Com("pagina", std::to_string(pagina.numero - 1)).Texto(), "‹ anterior") +
            " · ";
  }
  html += "página " + std::to_string(pagina.numero) + " de " + std::to_string(pagina.Paginas());
  if (pagina.numero < pagina.Paginas()) {
    html += " · " +
            Link(endereco.Com("pagina", std::to_string(pagina.numero + 1)).Texto(), "próxima ›");
  }
  return html + "</p>";
}

}  // namespace qxweb
