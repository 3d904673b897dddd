// The debit/credit differences by date, branch and user, with their total.
#include "common/lancamentos.h"
#include "common/periodo.h"
#include "common/total.h"
#include "paginas.h"

namespace qxweb {

void PaginaDiferencas(Pedido& pedido, Documento& documento) {
  const Argumentos& a = pedido.argumentos();
  qx::Total total;
  Tabela tabela = qx::cli::TabelaDiferencas(qx::LeDiferencas(pedido.Servico()), a.Data("de"),
                                            a.Data("ate"), total);
  documento.Titulo("Diferenças entre débitos e créditos");
  TrilhaEmpresa(pedido, documento);
  if (tabela.Vazia()) documento.Html("<p>Nenhuma diferença entre débitos e créditos.</p>");
  documento.Mostra("diferencas", "Diferenças por data, filial e usuário", std::move(tabela));
  documento.Resumo("total", qx::cli::TabelaTotal(total),
                   "Total " + qx::cli::TotalParaPessoas(total));
}

}  // namespace qxweb
