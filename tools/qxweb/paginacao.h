#pragma once
// Long tables go out page by page, in every form: the page asked for, its
// size (up to kMaiorPagina rows) and the links to the pages beside it.

#include <cstdint>
#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "common/tabela.h"
#include "endereco.h"

namespace qxweb {

// The largest page a request may ask for, and the default one.
inline constexpr int64_t kMaiorPagina = 500;
inline constexpr int64_t kPaginaPadrao = 100;

struct Pagina {
  int64_t numero = 1;
  int64_t tamanho = kPaginaPadrao;
  int64_t quantidade = 0;  // of rows in all the pages

  int64_t Primeira() const { return (numero - 1) * tamanho + 1; }
  int64_t Paginas() const { return std::max<int64_t>((quantidade + tamanho - 1) / tamanho, 1); }
};

// "pagina" and "tamanho".
std::vector<qx::cli::Opcao> OpcoesPagina();
// The page asked for, of `quantidade` rows.
Pagina LePagina(const qx::cli::Argumentos& argumentos, int64_t quantidade = 0);

// "pagina", "paginas", "tamanho", "quantidade".
qx::cli::Tabela TabelaPagina(const Pagina& pagina);
// The rows of the page out of all the rows.
qx::cli::Tabela Recorta(const qx::cli::Tabela& tabela, const Pagina& pagina);
// "‹ anterior · página 2 de 5 · próxima ›".
std::string Navegacao(const Endereco& endereco, const Pagina& pagina);

}  // namespace qxweb
