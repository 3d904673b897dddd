// busca and extrato: the filtered search and one account's statement.
#include <vector>

#include "comandos.h"
#include "filtro.h"
#include "lancamentos.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

// The search range: --de / --ate, the current year by default.
struct Periodo {
  CQXData de;
  CQXData ate;
};

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
  CURRENCY total{};
  for (const LancamentoLido& lido :
       LeChaves(servico, periodo.de.MesAno(), ChavesDaBusca(servico, quantidade))) {
    tabela.Linha(CelulasLancamento(lido));
    total.int64 += lido.dados.Valor.int64;
  }
  saida.Mostra("lancamentos", "", tabela);
  saida.Aviso(std::to_string(tabela.Tamanho()) + " lançamento(s), total " + qx::AmountText(total));
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
  CURRENCY saldo{}, debitos{}, creditos{};
  for (const LancamentoLido& l :
       LeChaves(servico, periodo.de.MesAno(), ChavesDaBusca(servico, quantidade))) {
    const RegDados& d = l.dados;
    const CURRENCY debito = d.Debito == pedido.iConta ? d.Valor : CURRENCY{};
    const CURRENCY credito = d.Credito == pedido.iConta ? d.Valor : CURRENCY{};
    saldo.int64 += debito.int64 - credito.int64;
    debitos.int64 += debito.int64;
    creditos.int64 += credito.int64;
    const int32_t contrapartida = d.Debito == pedido.iConta ? d.Credito : d.Debito;
    tabela.Linha({CQXData(d.DataLancamento), Texto{qx::MesAnoText(l.mes)}, int64_t{l.posicao},
                  int64_t{d.Documento}, int64_t{static_cast<uint16_t>(d.CodHis)},
                  int64_t{contrapartida}, debito, credito, saldo, Texto{l.complemento}});
  }
  saida.Mostra("extrato", "Extrato da conta " + std::to_string(pedido.iConta) + " de " +
                              qx::DateText(periodo.de) + " a " + qx::DateText(periodo.ate),
               tabela);
  saida.Aviso("Débitos " + qx::AmountText(debitos) + "  Créditos " + qx::AmountText(creditos) +
              "  Saldo do período " + qx::AmountText(saldo));
}

std::vector<std::string> Junta(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

std::vector<Comando> ComandosBusca() {
  return {
      {"busca",
       "busca [--de DD/MM/AAAA] [--ate DD/MM/AAAA] [--conta C] [--historico H] [--contem TEXTO]\n"
       "      [--documento-de N --documento-ate N] [--valor-de V --valor-ate V]\n"
       "      [--mes-de MM/AAAA] [--mes-ate MM/AAAA] [--pos-de N] [--pos-ate N]\n"
       "      [--data-de D] [--data-ate D] [--do-usuario U] [--da-sessao S] [--conta-gerencial G]\n"
       "      [--origem LISTA] [--lote N] [--chave-origem N] [--mes-origem MM/AAAA] [--filial F]\n"
       "      [--conferidos | --nao-conferidos] [--ifrs]",
       "lista os lançamentos que passam no filtro (o ano corrente por omissão)",
       Junta({"de", "ate"}, OpcoesFiltro()), MarcasFiltro(), Busca},
      {"extrato", "extrato --conta C [--de DD/MM/AAAA] [--ate DD/MM/AAAA] [--filial F]",
       "os lançamentos de uma conta em ordem de data, com o saldo acumulado",
       {"conta", "de", "ate", "filial"}, {}, Extrato},
  };
}

}  // namespace qxcn
