#pragma once
// The filter options of busca, applied to the service with the filter setters.

#include <string>
#include <vector>

#include "comandos.h"

namespace qxcn {

// The options the filter reads.
std::vector<Opcao> OpcoesFiltro();
// The names --origem accepts, comma-separated.
std::string NomesOrigem();

// LimpaFiltro, then one setter per option given; a bad value throws ErroUso.
void AplicaFiltro(const Argumentos& argumentos, Servico& servico);

}  // namespace qxcn
