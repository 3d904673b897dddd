#pragma once
// The entry service as qxcn reaches it: the session of the reports layer,
// initialised for the identity of --empresa / --usuario / --sessao.

#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "reports/sessao.h"

namespace qxcn {

using Identidade = qx::Identidade;
using Servico = qx::SessaoLancamento;
using qx::EmpresaDoUsuario;
using qx::GuardaEmpresaDoUsuario;

// The identity options every subcommand takes.
std::vector<qx::cli::Opcao> OpcoesIdentidade();
// --empresa, else QX_EMPRESA, else the user's choice (qxcn empresa usar);
// no company when none of them names one (the installation's first then).
Identidade LeIdentidade(const qx::cli::Argumentos& argumentos);

}  // namespace qxcn
