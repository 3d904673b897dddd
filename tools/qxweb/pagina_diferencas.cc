// The debit/credit differences by date, branch and user.
#include "common/lancamentos.h"
#include "paginas.h"

namespace qxweb {

void PaginaDiferencas(Pedido& pedido, Documento& documento) {
  Tabela tabela = qx::cli::TabelaDiferencas(qx::LeDiferencas(pedido.Servico()));
  documento.Titulo("Diferenças entre débitos e créditos");
  TrilhaEmpresa(pedido, documento);
  if (tabela.Vazia()) documento.Html("<p>Nenhuma diferença entre débitos e créditos.</p>");
  documento.Mostra("diferencas", "Diferenças por data, filial e usuário", std::move(tabela));
}

}  // namespace qxweb
