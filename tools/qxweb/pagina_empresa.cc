// A company: the months of a year with their counts, debits and credits,
// charted, and the way to its other pages.
#include <string>
#include <vector>

#include "graficos.h"
#include "html.h"
#include "paginas.h"
#include "reports/falha.h"
#include "reports/leitura_mes.h"
#include "values/br_text.h"
#include "values/total.h"

namespace qxweb {
namespace {

struct Mes {
  CQXMesAno mes;
  int32_t lancamentos = 0, excluidos = 0, gerenciais = 0, importados = 0;
  qx::Total debitos, creditos;
};

// The month's counts, and its live entries' debits and credits.
Mes LeMes(qx::SessaoLancamento& servico, CQXMesAno mesAno) {
  Mes mes;
  mes.mes = mesAno;
  qx::Verifica(servico->PegaQuantidadeRegistros(static_cast<uint16_t>(mesAno.Value()),
                                                &mes.lancamentos, &mes.excluidos,
                                                &mes.gerenciais, &mes.importados),
               "PegaQuantidadeRegistros");
  if (mes.lancamentos == 0) return mes;
  qx::PercorreLancamentosDoMes(servico, mesAno, false, [&](const auto& pagina) {
    for (const qx::LancamentoDoMes& l : pagina) {
      if (l.Excluido()) continue;
      if (l.dados.Debito != 0) mes.debitos.Soma(l.dados.Valor);
      if (l.dados.Credito != 0) mes.creditos.Soma(l.dados.Valor);
    }
  });
  return mes;
}

std::string Menu(const std::string& empresa, int ano) {
  const std::string base = EnderecoEmpresa(empresa);
  const std::string anos = std::to_string(ano);
  const Parametros doAno = {{"de", "01/01/" + anos}, {"ate", "31/12/" + anos}};
  return "<ul class=\"menu\">"
         "<li>" +
         Link(Url(base + "/lancamentos", doAno), "Procurar lançamentos de " + anos) +
         "</li><li>" + Link(Url(base + "/balancete", doAno), "Balancete de " + anos) +
         "</li><li>" + Link(Url(base + "/razao", doAno), "Razão de " + anos) +
         "</li><li>" + Link(Url(base + "/centros", doAno), "Centros de custo de " + anos) +
         "</li><li>" + Link(Url(base + "/balanco", {{"em", "31/12/" + anos}}),
                            "Balanço em 31/12/" + anos) +
         "</li><li>" + Link(Url(base + "/dre", doAno), "Demonstração do resultado de " + anos) +
         "</li><li>" + Link(base + "/diferencas", "Diferenças entre débitos e créditos") +
         "</li><li>" + Link(base + "/historico", "Histórico dos lançamentos") +
         "</li><li>" + Link(base + "/verificacao", "Verificação da pasta (qxcheck)") +
         "</li></ul>\n<p>" + Link(Url(base, {{"ano", std::to_string(ano - 1)}}), "‹ " +
         std::to_string(ano - 1)) + " · " +
         Link(Url(base, {{"ano", std::to_string(ano + 1)}}), std::to_string(ano + 1) + " ›") +
         "</p>";
}

}  // namespace

void PaginaEmpresa(Pedido& pedido, Documento& documento) {
  const int ano = static_cast<int>(
      pedido.argumentos().Inteiro("ano", 1901, 2100).value_or(CQXMesAno::Current().Year()));
  qx::SessaoLancamento& servico = pedido.Servico();
  Tabela tabela({"mes", "lancamentos", "excluidos", "gerenciais", "importados", "debitos",
                 "creditos"});
  std::vector<std::string> rotulos;
  Serie debitos{"Débitos", "#2a6f97", {}}, creditos{"Créditos", "#c8553d", {}};
  bool estouro = false;
  for (int m = 1; m <= 12; ++m) {
    const Mes mes = LeMes(servico, CQXMesAno::Make(m, ano));
    tabela.Linha({mes.mes, int64_t{mes.lancamentos}, int64_t{mes.excluidos},
                  int64_t{mes.gerenciais}, int64_t{mes.importados}, mes.debitos,
                  mes.creditos});
    rotulos.push_back(qx::MesAnoText(mes.mes).substr(0, 2));
    debitos.valores.push_back(mes.debitos.Valor());
    creditos.valores.push_back(mes.creditos.Valor());
    estouro = estouro || mes.debitos.Estourou() || mes.creditos.Estourou();
  }
  documento.Titulo("Empresa " + pedido.empresa() + " — " + std::to_string(ano));
  documento.Trilha("Início", "/");
  documento.Html(Menu(pedido.empresa(), ano));
  documento.Html(GraficoBarras("Débitos e créditos por mês de " + std::to_string(ano), rotulos,
                               {debitos, creditos}));
  const std::string empresa = pedido.empresa();
  documento.Mostra("meses", "Meses de " + std::to_string(ano), std::move(tabela),
                   [empresa](const std::vector<Celula>& linha, size_t coluna) {
                     if (coluna != 0) return std::string();
                     return Url(EnderecoEmpresa(empresa) + "/lancamentos",
                                {{"mes", linha[0].ParaCsv()}});
                   });
  AvisaEstouro(estouro, documento);
}

}  // namespace qxweb
