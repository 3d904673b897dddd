// The JSON forms of cells, tables and failures (nlohmann-json), for the
// output model and the error objects.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "common/celula.h"
#include "common/falhas.h"
#include "common/tabela.h"

namespace qx::cli {

nlohmann::ordered_json ParaJson(const Celula& celula);
// The rows as an array of objects keyed by the column names.
nlohmann::ordered_json LinhasJson(const Tabela& tabela);
// The object of a failure, with the same keys in every tool: "codigo" and
// "simbolo" (null for a failure without a code), "mensagem", and when there
// is one "descricao", "dica", "recusas" and "uso".
nlohmann::ordered_json FalhaJson(const Relato& relato, const std::vector<std::string>& recusas,
                                 const std::string& uso);
// The text of a JSON value, indented; a text that is not UTF-8 has its bad
// bytes replaced.
std::string Escreve(const nlohmann::ordered_json& valor);

}  // namespace qx::cli
