// The filters of the entries' history, as qxcn historico and qxadmin log list
// take them: --de/--ate (the moment of the change: a day, or a day and its
// hour), --mes/--pos (one entry), --usuario, --sessao, --tipo and --lote (an
// import and its removal).
#pragma once

#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "outside/change_log/change_log_query.h"

namespace qx::cli {

// The options; without `usuarioESessao` the tool has --usuario and --sessao
// already (qxcn's identity), which the history then reads as filters.
std::vector<Opcao> OpcoesFiltroHistorico(bool usuarioESessao);
FiltroEventos LeFiltroHistorico(const Argumentos& argumentos);

// The kind of an event as people read it ("novo", "alterado", "excluído",
// "conferido").
std::string NomeTipoEvento(char tipo);

}  // namespace qx::cli
