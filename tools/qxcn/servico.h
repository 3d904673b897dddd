#pragma once
// The entry service as qxcn reaches it: the session of the reports layer,
// initialised for the identity of --empresa / --usuario / --sessao.

#include "common/identidade.h"
#include "reports/sessao.h"

namespace qxcn {

using Identidade = qx::Identidade;
using Servico = qx::SessaoLancamento;
using qx::EmpresaDoUsuario;
using qx::GuardaEmpresaDoUsuario;
using qx::cli::LeIdentidade;
using qx::cli::OpcoesIdentidade;

}  // namespace qxcn
