// empresas, empresa atual, empresa usar: the companies of the installation
// and the one qxcn works on when --empresa is not given.
#include <vector>

#include "comandos.h"

namespace qxcn {
namespace {

void Empresas(const Argumentos&, Servico& servico, Saida& saida) {
  Tabela tabela({"empresa"});
  for (const std::string& empresa : qx::Empresas(servico)) tabela.Linha({Texto{empresa}});
  saida.Mostra("empresas", "", tabela);
}

void Mostra(Saida& saida, const Identidade& identidade) {
  Tabela tabela({"empresa", "origem"});
  tabela.Linha({identidade.empresa, identidade.origem});
  saida.Resumo("empresa", tabela, "Empresa " + identidade.empresa + " (" + identidade.origem + ")");
}

// The service initialised for that company is the proof that it exists.
void Atual(const Argumentos&, Servico& servico, Saida& saida) {
  Mostra(saida, servico.identidade());
}

void Usar(const Argumentos& a, Saida& saida) {
  Identidade identidade = LeIdentidade(a);
  identidade.empresa = a.Posicionais()[0];
  identidade.origem = "qxcn empresa usar";
  const Servico servico(identidade);
  GuardaEmpresaDoUsuario(identidade.empresa);
  Mostra(saida, identidade);
}

}  // namespace

std::vector<Comando> ComandosEmpresa() {
  return {
      {"empresas", "", "as empresas da instalação", {}, ComServico(Empresas)},
      {"empresa atual", "", "a empresa em uso e de onde ela vem", {}, ComServico(Atual)},
      {"empresa usar",
       "CODIGO",
       "a empresa dos próximos comandos sem --empresa (se QX_EMPRESA não disser outra)",
       {},
       Usar},
  };
}

}  // namespace qxcn
