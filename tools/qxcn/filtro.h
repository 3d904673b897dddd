#pragma once
// The filter options of busca, applied to the service with the filter setters.

#include <string>
#include <vector>

#include "cli.h"
#include "servico.h"

namespace qxcn {

// The option names the filter reads.
const std::vector<std::string>& OpcoesFiltro();
const std::vector<std::string>& MarcasFiltro();
// The names --origem accepts, comma-separated.
std::string NomesOrigem();

// LimpaFiltro, then one setter per option given; a bad value throws ErroUso.
void AplicaFiltro(const Argumentos& argumentos, Servico& servico);

}  // namespace qxcn
