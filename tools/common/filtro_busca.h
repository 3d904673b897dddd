// The filter options of qxcn busca and of qxweb's entry pages, applied to the
// service with the filter setters.
#pragma once

#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "reports/sessao.h"

namespace qx::cli {

// The options the filter reads.
std::vector<Opcao> OpcoesFiltro();
// The names --origem accepts, comma-separated.
std::string NomesOrigem();

// LimpaFiltro, then one setter per option given; a bad value throws ErroUso.
void AplicaFiltro(const Argumentos& argumentos, SessaoLancamento& servico);

}  // namespace qx::cli
