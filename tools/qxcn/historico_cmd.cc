// historico: who changed the entries, when, and from what to what, read from
// the company's change log through the reports layer. It opens no session
// of the entry service, so reading the history changes nothing.
#include <vector>

#include "comandos.h"
#include "common/filtro_historico.h"
#include "common/historico.h"

namespace qxcn {
namespace {

void Historico(const Argumentos& a, Saida& saida) {
  const qx::FiltroEventos filtro = LeFiltroHistorico(a);
  const std::string empresa = qx::EmpresaNomeada(LeIdentidade(a));
  saida.Mostra("historico", "",
               TabelaHistorico(LeHistoricoDaEmpresa(empresa, filtro), saida.ParaPessoas()));
}

}  // namespace

std::vector<Comando> ComandosHistorico() {
  return {{"historico", "",
           "quem alterou os lançamentos, quando e de quê para quê (--usuario e --sessao filtram)",
           OpcoesFiltroHistorico(false), Historico}};
}

}  // namespace qxcn
