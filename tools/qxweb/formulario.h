#pragma once
// The filter forms of the pages, written from the same option tables that
// read them: a text field for an option with a value, a check box for a flag,
// each labelled with the option's help. The form sends what qxcn would take
// as --name value.

#include <string>
#include <vector>

#include "common/programa.h"
#include "endereco.h"

namespace qxweb {

// The form for `opcoes`, filled with the values of `endereco`; those of
// `principais` first, the others under "mais filtros"; `ocultos` travel
// unchanged.
std::string Formulario(const Endereco& endereco, const std::vector<qx::cli::Opcao>& opcoes,
                       const std::vector<std::string>& principais,
                       const std::vector<std::string>& ocultos = {});

}  // namespace qxweb
