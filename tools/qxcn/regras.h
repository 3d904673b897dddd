#pragma once
// The rules of a save as qxcn applies them (reports/validacao.h): the options
// that bend them, the refusal that ends a run with exit status 2, and the
// warnings people are shown.

#include <string>
#include <vector>

#include "comandos.h"
#include "reports/validacao.h"

namespace qxcn {

// --sem-validar and --substituir.
std::vector<Opcao> OpcoesRegras();
qx::Liberacoes LeLiberacoes(const Argumentos& argumentos);

// The failure of refused data: `linhas`, and what to do about the kinds of
// rules `recusas` broke.
FalhaRecusa Recusa(const std::string& mensagem, std::vector<std::string> linhas,
                   const std::vector<qx::Apontamento>& recusas, const std::string& empresa);

}  // namespace qxcn
