// One entry: its fields and complement, its foreign-currency amount, its
// change history, its cost-centre split with the quantities and its
// explanatory note.
#include <string>

#include "common/historico.h"
#include "common/lancamentos.h"
#include "html.h"
#include "paginas.h"
#include "values/br_text.h"

namespace qxweb {

void PaginaLancamento(Pedido& pedido, Documento& documento) {
  const Argumentos& a = pedido.argumentos();
  const CQXMesAno mes = a.LeMesAno(pedido.Parte(2), "mes");
  const auto posicao = static_cast<int32_t>(a.LeInteiro(pedido.Parte(3), "posição", 1, 0xFFFFFF));
  qx::SessaoLancamento& servico = pedido.Servico();
  const qx::LancamentoLido lido = qx::LeUm(servico, mes, posicao);

  documento.Titulo("Lançamento " + std::to_string(posicao) + " de " + qx::MesAnoText(mes) +
                   (lido.excluido ? " (excluído)" : ""));
  TrilhaEmpresa(pedido, documento);
  NomeiaContas(pedido, documento, true);
  documento.Trilha("Lançamentos de " + qx::MesAnoText(mes),
                   Url(EnderecoEmpresa(pedido.empresa()) + "/lancamentos",
                       {{"mes", mes.Text(10, '-')}}));
  documento.Mostra("lancamento", "Lançamento", qx::cli::TabelaLancamento(lido));
  qx::FiltroEventos filtro;
  filtro.mes = static_cast<uint16_t>(mes.Value());
  filtro.posicao = posicao;
  documento.Mostra("historico", "Histórico de alterações",
                   qx::cli::TabelaHistorico(qx::cli::LeHistoricoDaEmpresa(pedido.empresa(), filtro),
                                            pedido.ParaPessoas()));
  if (lido.excluido) return;
  documento.Mostra("gerencial", "Rateio gerencial",
                   qx::cli::TabelaRateio(qx::RateioDoLido(servico)));
  Tabela nota({"chave", "posicao", "texto"});
  if (const int32_t indice = qx::PosicaoDaNota(servico, mes, posicao); indice != 0) {
    nota.Linha({int64_t{posicao}, int64_t{indice},
                qx::cli::TextoCp1252(qx::TextoDaNota(servico, indice))});
  }
  documento.Mostra("nota", "Nota explicativa", std::move(nota));
}

}  // namespace qxweb
