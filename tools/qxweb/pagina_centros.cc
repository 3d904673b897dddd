// The cost centres: what the split lines of the period allot to each
// centre, by accounting account, with each centre's total and the grand
// total.
#include "common/periodo.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "formulario.h"
#include "paginas.h"

namespace qxweb {

void PaginaCentros(Pedido& pedido, Documento& documento) {
  const qx::PedidoCentros p = qx::cli::LePedidoCentros(pedido.argumentos());
  LimitaMeses(p.de, p.ate);
  qx::SessaoLancamento& servico = pedido.Servico();
  const qx::Centros c =
      qx::MontaCentros(servico, qx::LePlano(servico, 'C'), qx::LePlano(servico, 'G'), p);

  documento.Titulo("Centros de custo " + qx::cli::TextoPeriodo(p.de, p.ate, p.filial));
  TrilhaEmpresa(pedido, documento);
  documento.Html(Formulario(pedido.endereco(), qx::cli::OpcoesCentros(),
                            {"de", "ate", "filial", "conta-gerencial"}));
  // People read each centre's total after its lines; the twins get them apart.
  documento.Mostra("centros", "Rateado por centro e conta",
                   qx::cli::TabelaCentros(c, pedido.ParaPessoas()));
  if (!pedido.ParaPessoas()) {
    documento.Mostra("totais_centros", "Totais por centro", qx::cli::TabelaTotaisCentros(c));
  }
  documento.Resumo("totais", qx::cli::TabelaTotalCentros(c),
                   "Total rateado " + qx::cli::TotalParaPessoas(c.total.valor) + ", quantidade " +
                       qx::cli::TotalParaPessoas(c.total.quantidade));
  AvisaEstouro(c.Estourou(), documento);
}

}  // namespace qxweb
