// busca and extrato: the filtered search and one account's statement.
#include <vector>

#include "comandos.h"
#include "common/total.h"
#include "common/filtro_busca.h"
#include "lancamentos.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

// The search range: --de / --ate, the current year by default.
struct Periodo {
  CQXData de;
  CQXData ate;
};

using qx::cli::Total;

// A sum that overflowed is reported after the rows, which are right.
void VerificaTotais(std::initializer_list<const Total*> totais) {
  for (const Total* total : totais) {
    if (total->Estourou()) {
      throw FalhaLocal("a soma passa do maior valor que um montante guarda; as linhas estão certas",
                       "restrinja o período ou as contas da busca");
    }
  }
}

Periodo LePeriodo(const Argumentos& a) {
  const int ano = CQXMesAno::Current().Year();
  Periodo periodo{a.Data("de").value_or(CQXData::Make(1, 1, ano)),
                  a.Data("ate").value_or(CQXData::Make(31, 12, ano))};
  if (periodo.ate.Value() < periodo.de.Value()) throw ErroUso{"--ate antes de --de"};
  return periodo;
}

void Busca(const Argumentos& a, Servico& servico, Saida& saida) {
  const Periodo periodo = LePeriodo(a);
  AplicaFiltro(a, servico);
  int32_t quantidade = 0;
  Verifica(servico->BuscaQtdLancamentos(periodo.de.Value(), periodo.ate.Value(), &quantidade),
           "BuscaQtdLancamentos");
  Tabela tabela(ColunasLancamento());
  Total total;
  for (const LancamentoLido& lido :
       LeChaves(servico, periodo.de.MesAno(), ChavesDaBusca(servico, quantidade))) {
    tabela.Linha(CelulasLancamento(lido));
    total.Soma(lido.dados.Valor);
  }
  saida.Mostra("lancamentos", "", tabela);
  Tabela resumo({"quantidade", "total"});
  resumo.Linha({tabela.Tamanho(), total.ParaCelula()});
  saida.Resumo("total", resumo,
               std::to_string(tabela.Tamanho()) + " lançamento(s), total " + total.ParaPessoas());
  VerificaTotais({&total});
}

void Extrato(const Argumentos& a, Servico& servico, Saida& saida) {
  const Periodo periodo = LePeriodo(a);
  REGLAN_CONTAPS pedido{};
  pedido.iConta = static_cast<int32_t>(a.InteiroObrigatorio("conta", 1, INT32_MAX));
  pedido.iDataInicial = periodo.de.Value();
  pedido.iDataFinal = periodo.ate.Value();
  pedido.lFilial = static_cast<uint32_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(0));
  int32_t quantidade = 0;
  Verifica(servico->BuscaQtdLancamentosConta(pedido, &quantidade), "BuscaQtdLancamentosConta");

  Tabela tabela({"data", "mes", "pos", "documento", "historico", "contrapartida", "debito",
                 "credito", "saldo", "complemento"});
  Total saldo, debitos, creditos;
  for (const LancamentoLido& l :
       LeChaves(servico, periodo.de.MesAno(), ChavesDaBusca(servico, quantidade))) {
    const RegDados& d = l.dados;
    const CURRENCY debito = d.Debito == pedido.iConta ? d.Valor : CURRENCY{};
    const CURRENCY credito = d.Credito == pedido.iConta ? d.Valor : CURRENCY{};
    saldo.Soma(debito);
    saldo.Subtrai(credito);
    debitos.Soma(debito);
    creditos.Soma(credito);
    const int32_t contrapartida = d.Debito == pedido.iConta ? d.Credito : d.Debito;
    tabela.Linha({CQXData(d.DataLancamento), Texto{qx::MesAnoText(l.mes)}, int64_t{l.posicao},
                  int64_t{d.Documento}, int64_t{static_cast<uint16_t>(d.CodHis)},
                  int64_t{contrapartida}, debito, credito, saldo.ParaCelula(),
                  Texto{l.complemento}});
  }
  saida.Mostra("extrato",
               "Extrato da conta " + std::to_string(pedido.iConta) + " de " +
                   qx::DateText(periodo.de) + " a " + qx::DateText(periodo.ate),
               tabela);
  Tabela resumo({"debitos", "creditos", "saldo"});
  resumo.Linha({debitos.ParaCelula(), creditos.ParaCelula(), saldo.ParaCelula()});
  saida.Resumo("totais", resumo,
               "Débitos " + debitos.ParaPessoas() + "  Créditos " + creditos.ParaPessoas() +
                   "  Saldo do período " + saldo.ParaPessoas());
  VerificaTotais({&debitos, &creditos, &saldo});
}

}  // namespace

std::vector<Comando> ComandosBusca() {
  const Opcao de{"de", "DD/MM/AAAA", "o primeiro dia (1º de janeiro do ano corrente por omissão)"};
  const Opcao ate{"ate", "DD/MM/AAAA", "o último dia (31 de dezembro do ano corrente por omissão)"};
  std::vector<Opcao> busca = {de, ate};
  for (Opcao& opcao : OpcoesFiltro()) busca.push_back(std::move(opcao));
  return {
      {"busca", "", "lista os lançamentos que passam no filtro, com o total", busca,
       ComServico(Busca)},
      {"extrato",
       "",
       "os lançamentos de uma conta em ordem de data, com o saldo acumulado",
       {{"conta", "CONTA", "a conta"}, de, ate, {"filial", "N", "só os lançamentos da filial"}},
       ComServico(Extrato)},
  };
}

}  // namespace qxcn
