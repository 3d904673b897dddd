// Who a client for people is to the entry service: the company, the user and
// the session it initialises the service with, from the options every such
// tool takes.
#pragma once

#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "reports/sessao.h"

namespace qx::cli {

// --empresa, --usuario, --sessao.
std::vector<Opcao> OpcoesIdentidade();
// --empresa, else QX_EMPRESA, else the user's choice (qxcn empresa usar);
// no company when none of them names one (the installation's first then).
Identidade LeIdentidade(const Argumentos& argumentos);

}  // namespace qx::cli
